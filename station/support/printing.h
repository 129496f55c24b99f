// Printing of text documents (error protocol, diagnosis protocols, parameter
// tables). Without a printer the document goes into a PDF file.
#pragma once

#include <QString>
#include <QStringList>

namespace zev {

class Printer {
public:
    virtual ~Printer() = default;
    // Prints the lines as they stand (the caller wraps them). Returns false with a
    // reason on failure; *pdfFile names the file when no printer existed.
    virtual bool printLines(const QString& jobTitle, const QStringList& lines, QString* error,
                            QString* pdfFile) = 0;
};

// QPrinter on the default printer, or a PDF file in pdfDirectory when the system
// has no printer.
class SystemPrinter final : public Printer {
public:
    explicit SystemPrinter(QString pdfDirectory) : pdfDirectory_(std::move(pdfDirectory)) {}
    bool printLines(const QString& jobTitle, const QStringList& lines, QString* error,
                    QString* pdfFile) override;

private:
    QString pdfDirectory_;
};

}  // namespace zev
