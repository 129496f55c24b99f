// ExcelFile: a worksheet file in the record format of the oldest spreadsheet
// files (BIFF2), written for the trend export. Records go out in the order of
// the calls; only the page breaks wait for CloseFile.
//
// Our rules on top of the record layout:
// - the document type of BOF is 0x0010 (worksheet) and a CODEPAGE record
//   (Windows-1252) follows it, so readers decode the texts right;
// - texts are Windows-1252, "?" for what it cannot hold, at most 255 bytes;
// - cell attributes: first byte bit 6 locked, bit 7 hidden; second byte font
//   index in bits 6..7, format index in bits 0..5;
// - an integer cell outside 0..65535 is written as a number cell;
// - rows 1..16384 and columns 1..256 (counted from 1) are refused outside;
// - SetFilePassword writes nothing: the record would make the file unreadable
//   for every reader and hold the password in clear;
// - the first failure stops the file: every later call fails, and Abandon()
//   removes the partial file.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QVariant>
#include <vector>

namespace zev {

class ExcelFile {
public:
    enum ValueType { Integer = 0, Number = 1, Text = 2 };
    enum Margin { LeftMargin = 38, RightMargin = 39, TopMargin = 40, BottomMargin = 41 };
    // Attribute bits of the first cell attribute byte.
    static constexpr int kLocked = 0x40;
    static constexpr int kHidden = 0x80;
    static constexpr int kMaxRows = 16384;
    static constexpr int kMaxColumns = 256;
    // Our own format after the default list: date and time with seconds.
    static constexpr int kDateTimeFormat = 24;

    ExcelFile() = default;
    ~ExcelFile();
    ExcelFile(const ExcelFile&) = delete;
    ExcelFile& operator=(const ExcelFile&) = delete;

    bool CreateFile(const QString& fileName);
    // Writes the page breaks and EOF and closes; false when anything failed.
    bool CloseFile();
    // Closes without finishing and deletes the file.
    void Abandon();

    bool WriteValue(int valueType, int cellFontUsed, int alignment, int hiddenLocked, int row, int column,
                    const QVariant& value, int cellFormat);
    bool InsertHorizPageBreak(int row);
    bool SetMargin(int margin, double inches);
    bool SetColumnWidth(int firstColumn, int lastColumn, int widthValue);
    bool SetFont(const QString& fontName, int fontHeight, int fontFormat);
    bool SetHeader(const QString& headerText);
    bool SetFooter(const QString& footerText);
    // Never writes the password record; always false (see above).
    bool SetFilePassword(const QString& passwordText);
    bool PrintGridLines(bool flag);
    bool ProtectSpreadsheet(bool flag);
    bool SetDefaultRowHeight(int height);
    bool SetRowHeight(int row, int height);

    static QByteArray MKI(int value);

    bool isOpen() const { return file_.isOpen(); }
    bool failed() const { return failed_; }
    QString errorString() const { return error_; }

private:
    bool WriteDefaultFormats();
    bool record(int number, const QByteArray& body);
    bool fail(const QString& why);
    static QByteArray text8(const QString& text);
    bool cellHeader(QByteArray& body, int row, int column, int cellFontUsed, int alignment, int hiddenLocked,
                    int cellFormat);

    QFile file_;
    std::vector<int> pageBreaks_;
    bool failed_ = false;
    QString error_;
};

}  // namespace zev
