#include "support/printing.h"

#include <QDateTime>
#include <QDir>
#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace zev {

namespace {
QString safeFileStem(QString title) {
    for (QChar& c : title)
        if (!c.isLetterOrNumber() && c != QLatin1Char('-')) c = QLatin1Char('_');
    return title.isEmpty() ? QStringLiteral("print") : title;
}
}  // namespace

bool SystemPrinter::printLines(const QString& jobTitle, const QStringList& lines, QString* error,
                               QString* pdfFile) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(jobTitle);
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        if (!QDir().mkpath(pdfDirectory_)) {
            if (error) *error = QStringLiteral("cannot create %1").arg(pdfDirectory_);
            return false;
        }
        const QString file = QDir(pdfDirectory_).filePath(
            safeFileStem(jobTitle) + QDateTime::currentDateTime().toString(QStringLiteral("_yyyyMMdd_HHmmss")) +
            QStringLiteral(".pdf"));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        if (pdfFile) *pdfFile = file;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (error) *error = QStringLiteral("the printer could not be started");
        return false;
    }
    // A fixed-pitch font keeps the column wrap of the callers meaningful.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(9);
    painter.setFont(font);
    const int lineHeight = painter.fontMetrics().lineSpacing();
    const QRect page = painter.viewport();
    int y = lineHeight;
    for (const QString& line : lines) {
        if (y > page.height() - lineHeight) {
            if (!printer.newPage()) {
                if (error) *error = QStringLiteral("the printer refused a new page");
                return false;
            }
            y = lineHeight;
        }
        painter.drawText(0, y, line);
        y += lineHeight;
    }
    return painter.end();
}

}  // namespace zev
