// Reading the parameter store from the controllers: the global parameters from
// the first master controller, the zone parameters through the zone commands'
// block reads (one telegram per controller and parameter, all channels at
// once), and the global grid's values of every master. Progress goes to the
// view's status line.
#pragma once

#include <vector>

namespace zev {

struct AppContext;
class CommandFeedback;

class ParameterReader {
public:
    ParameterReader(AppContext& ctx, CommandFeedback& feedback) : ctx_(ctx), feedback_(feedback) {}

    // ReceiveParameter: everything; the number of values that could not be read.
    // Refused (returns -1) while another read runs or without a driver.
    int ReceiveParameter();
    // Zone parameter p of every zone (0: all present parameters); the number of
    // parameters that could not be read for every zone.
    int ReceiveZonenParameter(int parameter);
    int ReceiveGlobalParameter();
    // Global parameter values of each master (one vector per master, in
    // GlobalParameters order; kNoValue where the reply was no number).
    std::vector<std::vector<int>> readGlobalGrid();
    bool busy() const { return busy_; }

private:
    void progress();

    AppContext& ctx_;
    CommandFeedback& feedback_;
    bool busy_ = false;
    int done_ = 0;
    int total_ = 1;
};

}  // namespace zev
