// A temporary program directory for a test: removed with everything in it when
// the test ends. Files are read and written as raw bytes, so that tests can
// state exactly what is on disk.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <cstddef>

namespace zev::test {

// A byte string literal that may hold NUL bytes: bytesOf("a\0b") has three bytes.
template <std::size_t N>
QByteArray bytesOf(const char (&literal)[N]) {
    return QByteArray(literal, static_cast<qsizetype>(N - 1));
}

class TempHome {
public:
    TempHome();
    // The directory; valid() is false when it could not be made.
    const QString& path() const { return path_; }
    bool valid() const { return dir_.isValid(); }
    // <path>/<relative>
    QString file(const QString& relative) const;
    // Writes bytes to <path>/<relative>, creating missing directories.
    void write(const QString& relative, const QByteArray& bytes) const;
    // The bytes of <path>/<relative>; empty when it is missing.
    QByteArray read(const QString& relative) const;
    bool exists(const QString& relative) const;

private:
    QTemporaryDir dir_;
    QString path_;
};

}  // namespace zev::test
