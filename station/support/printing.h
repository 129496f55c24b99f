// Printing of reports (error protocol, diagnosis protocols, parameter tables).
// Without a printer the report goes into a PDF file.
#pragma once

#include "support/report.h"

#include <QString>

namespace zev {

class Printer {
public:
    virtual ~Printer() = default;
    // Prints the report on pages. Returns false with a reason on failure (nothing
    // of a faulty report is printed); *pdfFile names the file when no printer existed.
    virtual bool print(const Report& report, QString* error, QString* pdfFile) = 0;
};

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
