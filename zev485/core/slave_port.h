// The slave port: a second serial line on which another master reads our
// controllers' values out of the cache (what it answers: slave_answers.h).
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include "controller_table.h"
#include "transport.h"
#include "value_cache.h"

namespace zev485 {

class SlavePort {
public:
    SlavePort(const ValueCache& cache, const ControllerTable& table);
    ~SlavePort();
    SlavePort(const SlavePort&) = delete;
    SlavePort& operator=(const SlavePort&) = delete;

    void open(std::unique_ptr<Transport> transport, int firstAddress);
    void close();
    bool isOpen() const;

private:
    void run(Transport& transport, int firstAddress);

    const ValueCache& cache_;
    const ControllerTable& table_;
    mutable std::mutex mutex_;
    std::unique_ptr<Transport> transport_;
    std::thread thread_;
};

}  // namespace zev485
