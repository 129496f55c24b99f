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
        return {ErrNo::Internal, QString()};
    }
    return {};
}

int descriptionTextOf(int number) {
    switch (number) {
    case ErrNo::OutOfMemory: return 562;
    case ErrNo::OutOfRange: return 563;
    case ErrNo::FileIo: return 565;
    case ErrNo::Database: return 566;
    default: return 564;
    }
}

}  // namespace zev
