// A long command's progress shown nowhere: the benchmarks measure the command,
// not a window.
#pragma once

#include "parameters/command_batch.h"

namespace zev::bench {

class SilentFeedback final : public CommandFeedback {
public:
    void setStatus(const QString&) override {}
    void setProgress(int) override {}
    void setBusy(bool) override {}
};

}  // namespace zev::bench
