// Runs a piece of a test where the permissions forbid writing: the tests run
// as root on the build machines, and root writes into any read-only directory.
#pragma once

#include <QByteArray>
#include <functional>

namespace zev::test {

// Runs body in a child process that has dropped root (it becomes nobody) and
// returns what body returned; "child failed" when the child did not end well.
QByteArray runUnprivileged(const std::function<QByteArray()>& body);

}  // namespace zev::test
