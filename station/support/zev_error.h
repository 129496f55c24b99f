// The exception that carries a run-time failure to the error dialog: a number and
// a technical detail (a file, a zone number, the database's own message). The
// operator reads the description of the number from the text tables, followed
// by the detail.
#pragma once

#include <QString>
#include <stdexcept>

namespace zev {

class ZevError : public std::runtime_error {
public:
    ZevError(int number, const QString& description)
        : std::runtime_error(description.toStdString()), number_(number), description_(description) {}
    int number() const { return number_; }
    const QString& description() const { return description_; }

private:
    int number_;
    QString description_;
};

// Failure numbers of our own (documented in docs/error-handling.md).
namespace ErrNo {
constexpr int Internal = 51;        // an unexpected internal failure (std::exception)
constexpr int OutOfMemory = 7;
constexpr int OutOfRange = 9;       // an index outside its table
constexpr int FileIo = 75;          // a file could not be read or written
constexpr int Database = 3146;      // the alarm database refused a statement
}  // namespace ErrNo

// Text number of the description of a failure number (docs/texts.md); any
// number of no other kind is an internal failure.
int descriptionTextOf(int number);

// Number and technical detail of the exception being handled (call inside a catch).
struct PendingError {
    int number = ErrNo::Internal;
    QString detail;
};
PendingError currentError(std::exception_ptr e);

}  // namespace zev
