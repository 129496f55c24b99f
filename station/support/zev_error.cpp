#include "support/zev_error.h"

#include <new>

namespace zev {

PendingError currentError(std::exception_ptr e) {
    try {
        if (e) std::rethrow_exception(e);
    } catch (const ZevError& z) {
        return {z.number(), z.description()};
    } catch (const std::bad_alloc& b) {
        return {ErrNo::OutOfMemory, QString::fromLocal8Bit(b.what())};
    } catch (const std::out_of_range& r) {
        return {ErrNo::OutOfRange, QString::fromLocal8Bit(r.what())};
    } catch (const std::exception& x) {
        return {ErrNo::Internal, QString::fromLocal8Bit(x.what())};
    } catch (...) {
        return {ErrNo::Internal, QStringLiteral("unknown exception")};
    }
    return {};
}

}  // namespace zev
