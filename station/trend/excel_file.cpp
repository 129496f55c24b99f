#include "trend/excel_file.h"

#include "base/profile_codepage.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace zev {

namespace {
constexpr int kBof = 0x0009, kEof = 0x000A, kInteger = 0x0002, kNumber = 0x0003, kLabel = 0x0004;
constexpr int kRow = 0x0008, kProtect = 0x0012, kHeader = 0x0014, kFooter = 0x0015, kPageBreaks = 0x001B;
constexpr int kFormat = 0x001E, kFormatCount = 0x001F, kColWidth = 0x0024, kDefRowHeight = 0x0025;
constexpr int kCodepage = 0x0042, kGridLines = 0x002B, kFont = 0x0031;
constexpr int kWorksheet = 0x0010;
constexpr int kWindows1252 = 1252;

void put16(QByteArray& b, int v) {
    b.append(static_cast<char>(v & 0xFF));
    b.append(static_cast<char>((v >> 8) & 0xFF));
}
void putDouble(QByteArray& b, double v) {
    quint64 bits;
    std::memcpy(&bits, &v, sizeof bits);
    for (int i = 0; i < 8; ++i) b.append(static_cast<char>((bits >> (8 * i)) & 0xFF));
}

// The default number formats, index 0..23, and our date-time with seconds.
const char* const kFormats[] = {
    "General", "0", "0.00", "#,##0", "#,##0.00",
    "#,##0\\ \"$\";\\-#,##0\\ \"$\"", "#,##0\\ \"$\";[Red]\\-#,##0\\ \"$\"",
    "#,##0.00\\ \"$\";\\-#,##0.00\\ \"$\"", "#,##0.00\\ \"$\";[Red]\\-#,##0.00\\ \"$\"",
    "0%", "0.00%", "0.00E+00", "dd/mm/yy", "dd/\\ mmm\\ yy", "dd/\\ mmm", "mmm\\ yy",
    "h:mm\\ AM/PM", "h:mm:ss\\ AM/PM", "hh:mm", "hh:mm:ss", "dd/mm/yy\\ hh:mm", "##0.0E+0", "mm:ss", "@",
    "dd/mm/yy\\ hh:mm:ss"};
constexpr int kFormatTotal = int(sizeof kFormats / sizeof kFormats[0]);
}  // namespace

ExcelFile::~ExcelFile() {
    if (file_.isOpen()) file_.close();
}

QByteArray ExcelFile::MKI(int value) {
    QByteArray b;
    put16(b, value);
    return b;
}

QByteArray ExcelFile::text8(const QString& text) {
    QByteArray bytes = profile::toWindows1252(text);
    if (bytes.size() > 255) bytes.truncate(255);
    bytes.prepend(static_cast<char>(bytes.size()));
    return bytes;
}

bool ExcelFile::fail(const QString& why) {
    if (!failed_) error_ = why;
    failed_ = true;
    return false;
}

bool ExcelFile::record(int number, const QByteArray& body) {
    if (failed_) return false;
    if (!file_.isOpen()) return fail(QStringLiteral("no file open"));
    QByteArray r;
    put16(r, number);
    put16(r, static_cast<int>(body.size()));
    r.append(body);
    if (file_.write(r) != r.size()) return fail(file_.errorString());
    return true;
}

bool ExcelFile::CreateFile(const QString& fileName) {
    if (file_.isOpen()) file_.close();
    failed_ = false;
    error_.clear();
    pageBreaks_.clear();
    file_.setFileName(fileName);
    if (QFile::exists(fileName) && !QFile::remove(fileName)) return fail(QStringLiteral("cannot replace ") + fileName);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) return fail(file_.errorString());
    QByteArray bof;
    put16(bof, 2);  // version
    put16(bof, kWorksheet);
    return record(kBof, bof) && record(kCodepage, MKI(kWindows1252)) && WriteDefaultFormats();
}

bool ExcelFile::WriteDefaultFormats() {
    if (!record(kFormatCount, MKI(kFormatTotal - 1))) return false;
    for (const char* f : kFormats)
        if (!record(kFormat, text8(QString::fromLatin1(f)))) return false;
    return true;
}

bool ExcelFile::CloseFile() {
    if (!file_.isOpen()) return false;
    if (!pageBreaks_.empty()) {
        std::sort(pageBreaks_.begin(), pageBreaks_.end());
        QByteArray body = MKI(static_cast<int>(pageBreaks_.size()));
        for (int row : pageBreaks_) body.append(MKI(row));
        record(kPageBreaks, body);
    }
    record(kEof, {});
    if (!failed_ && !file_.flush()) fail(file_.errorString());
    file_.close();
    if (!failed_ && file_.error() != QFileDevice::NoError) fail(file_.errorString());
    return !failed_;
}

void ExcelFile::Abandon() {
    if (file_.isOpen()) file_.close();
    if (!file_.fileName().isEmpty()) QFile::remove(file_.fileName());
}

bool ExcelFile::cellHeader(QByteArray& body, int row, int column, int cellFontUsed, int alignment,
                           int hiddenLocked, int cellFormat) {
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
        return fail(QStringLiteral("cell %1,%2 outside the sheet").arg(row).arg(column));
    if (cellFontUsed < 0 || cellFontUsed > 3 || cellFormat < 0 || cellFormat >= kFormatTotal)
        return fail(QStringLiteral("font %1 or format %2 unknown").arg(cellFontUsed).arg(cellFormat));
    put16(body, row - 1);
    put16(body, column - 1);
    body.append(static_cast<char>(hiddenLocked & (kLocked | kHidden)));
    body.append(static_cast<char>((cellFontUsed << 6) | cellFormat));
    body.append(static_cast<char>(alignment & 0xFF));
    return true;
}

bool ExcelFile::WriteValue(int valueType, int cellFontUsed, int alignment, int hiddenLocked, int row, int column,
                           const QVariant& value, int cellFormat) {
    if (failed_) return false;
    if (valueType != Integer && valueType != Number && valueType != Text) return true;
    QByteArray body;
    if (!cellHeader(body, row, column, cellFontUsed, alignment, hiddenLocked, cellFormat)) return false;
    if (valueType == Text) {
        body.append(text8(value.toString()));
        return record(kLabel, body);
    }
    bool ok = false;
    const double v = value.toDouble(&ok);
    if (!ok) return fail(QStringLiteral("not a number: ") + value.toString());
    // Integer cells hold 0..65535 only; anything else keeps its value as a number.
    if (valueType == Integer && v >= 0 && v <= 65535 && v == static_cast<int>(v)) {
        put16(body, static_cast<int>(v));
        return record(kInteger, body);
    }
    putDouble(body, v);
    return record(kNumber, body);
}

bool ExcelFile::InsertHorizPageBreak(int row) {
    if (row < 1 || row > kMaxRows) return fail(QStringLiteral("page break row %1").arg(row));
    pageBreaks_.push_back(row - 1);
    return true;
}

bool ExcelFile::SetMargin(int margin, double inches) {
    if (margin < LeftMargin || margin > BottomMargin) return fail(QStringLiteral("margin %1").arg(margin));
    QByteArray body;
    putDouble(body, inches);
    return record(margin, body);
}

bool ExcelFile::SetColumnWidth(int firstColumn, int lastColumn, int widthValue) {
    if (firstColumn < 1 || lastColumn < firstColumn || lastColumn > kMaxColumns || widthValue < 0 ||
        widthValue > 255)
        return fail(QStringLiteral("column width %1..%2").arg(firstColumn).arg(lastColumn));
    QByteArray body;
    body.append(static_cast<char>(firstColumn - 1));
    body.append(static_cast<char>(lastColumn - 1));
    put16(body, widthValue * 256);
    return record(kColWidth, body);
}

bool ExcelFile::SetFont(const QString& fontName, int fontHeight, int fontFormat) {
    QByteArray body = MKI(fontHeight * 20);
    body.append(static_cast<char>(fontFormat & 0xFF));
    body.append('\0');
    body.append(text8(fontName));
    return record(kFont, body);
}

bool ExcelFile::SetHeader(const QString& headerText) { return record(kHeader, text8(headerText)); }
bool ExcelFile::SetFooter(const QString& footerText) { return record(kFooter, text8(footerText)); }
bool ExcelFile::SetFilePassword(const QString&) { return false; }
bool ExcelFile::PrintGridLines(bool flag) { return record(kGridLines, MKI(flag ? 1 : 0)); }
bool ExcelFile::ProtectSpreadsheet(bool flag) { return record(kProtect, MKI(flag ? 1 : 0)); }
bool ExcelFile::SetDefaultRowHeight(int height) { return record(kDefRowHeight, MKI(height * 20)); }

bool ExcelFile::SetRowHeight(int row, int height) {
    if (row < 1 || row > kMaxRows) return fail(QStringLiteral("row %1").arg(row));
    QByteArray body = MKI(row - 1);
    body.append(MKI(0));
    body.append(MKI(256));
    body.append(MKI(height * 20));
    body.append(QByteArray(8, '\0'));
    return record(kRow, body);
}

}  // namespace zev
