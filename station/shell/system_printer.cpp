#include "shell/system_printer.h"

#include "shell/report_renderer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
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

// Lays the report out for the printer's pages, then draws it: a report that
// cannot be laid out never starts a job.
bool printOn(QPrinter& printer, const Report& report, QString* error) {
    printer.setDocName(report.title);
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    const QList<ReportPage> pages = ReportRenderer::layOut(report, printer, error);
    if (pages.isEmpty()) return false;
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (error) *error = QStringLiteral("the printer could not be started");
        return false;
    }
    const bool drawn = ReportRenderer::paint(pages, painter, printer, error);
    if (!painter.end() && drawn) {
        if (error) *error = QStringLiteral("the printer did not finish the job");
        return false;
    }
    return drawn;
}

}  // namespace

bool SystemPrinter::printToPdf(const Report& report, const QString& file, QString* error) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    if (printOn(printer, report, error) && QFile::exists(file)) return true;
    if (error && error->isEmpty()) *error = QStringLiteral("cannot write %1").arg(file);
    return false;
}

bool SystemPrinter::print(const Report& report, QString* error, QString* pdfFile) {
    if (!QPrinterInfo::availablePrinters().isEmpty()) {
        QPrinter printer(QPrinter::HighResolution);
        return printOn(printer, report, error);
    }
    if (!QDir().mkpath(pdfDirectory_)) {
        if (error) *error = QStringLiteral("cannot create %1").arg(pdfDirectory_);
        return false;
    }
    const QString file = QDir(pdfDirectory_).filePath(
        safeFileStem(report.title) + QDateTime::currentDateTime().toString(QStringLiteral("_yyyyMMdd_HHmmss")) +
        QStringLiteral(".pdf"));
    if (!printToPdf(report, file, error)) return false;
    if (pdfFile) *pdfFile = file;
    return true;
}

}  // namespace zev
