#include "temp_home.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace zev::test {

TempHome::TempHome() : dir_(QDir::tempPath() + QStringLiteral("/zev-test-XXXXXX")), path_(dir_.path()) {}

QString TempHome::file(const QString& relative) const {
    return path_ + u'/' + relative;
}

void TempHome::write(const QString& relative, const QByteArray& bytes) const {
    const QString name = file(relative);
    QDir().mkpath(QFileInfo(name).absolutePath());
    QFile f(name);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file " + name.toStdString());
}

QByteArray TempHome::read(const QString& relative) const {
    QFile f(file(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TempHome::exists(const QString& relative) const {
    return QFileInfo::exists(file(relative));
}

}  // namespace zev::test
