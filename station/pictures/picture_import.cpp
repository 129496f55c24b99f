#include "pictures/picture_import.h"

#include "base/app_context.h"
#include "base/profile_disk.h"
#include "pictures/picture_dir.h"
#include "pictures/picture_layout.h"
#include "pictures/picture_messages.h"
#include "support/operator.h"
#include "support/texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace zev {

namespace {
quint32 u32(const QByteArray& b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }
qint32 i32(const QByteArray& b, int at) { return qFromLittleEndian<qint32>(b.constData() + at); }
quint16 u16(const QByteArray& b, int at) { return qFromLittleEndian<quint16>(b.constData() + at); }
}  // namespace

QString bitmapFault(const QByteArray& b) {
    if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') return QStringLiteral("no bitmap header");
    const quint32 dataAt = u32(b, 10), header = u32(b, 14);
    qint64 width = 0, height = 0;
    int planes = 0, bits = 0;
    quint32 compression = 0;
    if (header == 12) {
        width = u16(b, 18);
        height = u16(b, 20);
        planes = u16(b, 22);
        bits = u16(b, 24);
    } else if (header >= 40 && header <= 124 && b.size() >= 54) {
        width = i32(b, 18);
        height = i32(b, 22);
        planes = u16(b, 26);
        bits = u16(b, 28);
        compression = u32(b, 30);
        if (height < 0) height = -height;
    } else {
        return QStringLiteral("unknown bitmap header");
    }
    if (width <= 0 || height <= 0 || width > 30000 || height > 30000) return QStringLiteral("no picture size");
    if (planes != 1) return QStringLiteral("wrong plane count");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return QStringLiteral("unknown colour depth");
    if (compression > 3) return QStringLiteral("unknown compression");
    if (dataAt < 14 + header || dataAt > static_cast<quint32>(b.size())) return QStringLiteral("no picture data");
    if (compression == 0 || compression == 3) {
        const qint64 row = ((width * bits + 31) / 32) * 4;
        if (dataAt + row * height > b.size()) return QStringLiteral("picture data cut short");
    }
    return {};
}

QString pictureNameOf(const QString& fileName) { return fileName.section(QLatin1Char('.'), 0, 0); }

ImportResult importPicture(AppContext& ctx, PictureDir& dir, const QString& source) {
    ImportResult r;
    QFile in(source);
    if (in.size() > kMaxBitmapBytes) {
        r.message = ctx.texts(kTextNoBitmap) + QDir::toNativeSeparators(source);
        return r;
    }
    if (!in.open(QIODevice::ReadOnly)) {
        r.message = ctx.texts(kTextCannotRead) + QDir::toNativeSeparators(source) + QStringLiteral("\r\n") + in.errorString();
        return r;
    }
    const QByteArray bytes = in.readAll();
    if (!bitmapFault(bytes).isEmpty()) {
        r.message = ctx.texts(kTextNoBitmap) + QDir::toNativeSeparators(source) + QStringLiteral("\r\n") + ctx.texts(kTextNothingChanged);
        return r;
    }
    const QString name = layoutName(pictureNameOf(QFileInfo(source).fileName()));
    if (const auto existing = dir.findByName(name)) {
        const int answer = ctx.op.notice(ctx.texts(1187) + name + ctx.texts(1190), ctx.texts(1188), ctx.texts(1189),
                                         QString(), kNoticeQuestion);
        if (answer != 1) {
            r.kind = ImportResult::Skipped;
            return r;
        }
        const QString target = dir.bmpPath(*existing);
        const profile::WriteResult w = profile::replaceFile(target, bytes);
        if (!w.ok) {
            r.message = pictureFailureText(ctx.texts, {PictureFailure::WriteFailed, target, {}, w.failure});
            return r;
        }
        r.kind = ImportResult::Replaced;
        r.number = *existing;
        return r;
    }
    const int number = dir.freeNumber();
    if (number < 0) {
        r.message = ctx.texts(kTextNoFreeNumber);
        return r;
    }
    const QString bmp = dir.bmpPath(number), ini = dir.iniPath(number);
    QString failed = bmp;
    profile::WriteResult w = profile::replaceFile(bmp, bytes);
    if (w.ok) {
        PictureLayout layout;
        layout.name = name;
        failed = ini;
        w = writeLayout(ini, layout);
        if (!w.ok) profile::deleteFile(bmp, nullptr);  // no picture without its layout
    }
    if (!w.ok) {
        r.message = pictureFailureText(ctx.texts, {PictureFailure::WriteFailed, failed, {}, w.failure});
        return r;
    }
    r.kind = ImportResult::Added;
    r.number = number;
    return r;
}

}  // namespace zev
