// The printer of the program: QPrinter, or a PDF file when there is none.
#pragma once

#include "support/printing.h"

namespace zev {

// QPrinter on the default printer, or a PDF file in pdfDirectory when the system
// has no printer. Layout and drawing: report_renderer.h.
class SystemPrinter final : public Printer {
public:
    explicit SystemPrinter(QString pdfDirectory) : pdfDirectory_(std::move(pdfDirectory)) {}
    bool print(const Report& report, QString* error, QString* pdfFile) override;
    // The report as a PDF file, whether a printer exists or not.
    static bool printToPdf(const Report& report, const QString& file, QString* error);

private:
    QString pdfDirectory_;
};

}  // namespace zev
