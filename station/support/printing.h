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

}  // namespace zev
