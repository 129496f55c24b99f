// A printable report as data: title, header lines, then blocks of plain lines,
// tables and pictures, with page numbers at the foot. The logic builds it
// (QtCore only); the printer lays it out on pages and draws it.
#pragma once

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <variant>
#include <vector>

namespace zev {

// Lines printed as they stand, one per line (tabs expanded); the caller wraps them.
struct ReportLines {
    QStringList lines;
    bool fixedPitch = true;  // column-wrapped texts keep their columns
};

// A table: one width per column in millimetres on paper (scaled down together
// when they are wider than the page), an optional header row repeated at the
// top of every page the table runs onto, and rows whose cells wrap at word
// boundaries inside their column. A row never splits across pages.
struct ReportTable {
    QList<double> columnWidthsMm;
    QStringList header;
    QList<QStringList> rows;
};

// A picture, either an image file or pixels (width x height 32-bit values
// 0xAARRGGBB, row by row, in the machine's byte order). Printed widthMm wide
// (0: the width of the page), height by its aspect ratio, and made smaller
// when it would not fit on one page.
struct ReportPicture {
    QString file;
    QByteArray argb32;
    QSize size;
    double widthMm = 0;
};

using ReportBlock = std::variant<ReportLines, ReportTable, ReportPicture>;

struct Report {
    QString title;            // the job's name, and the heading of every page when printTitle
    bool printTitle = true;
    QStringList headerLines;  // below the title on the first page
    std::vector<ReportBlock> blocks;
    bool pageNumbers = true;  // pageLabel + "n / m" at the foot of every page
    QString pageLabel;        // from the text table ("Seite " / "Page ")

    Report& addLines(QStringList lines, bool fixedPitch = true);
    Report& addTable(QList<double> columnWidthsMm, QStringList header, QList<QStringList> rows);
    Report& addPictureFile(QString file, double widthMm = 0);
    Report& addPicturePixels(QByteArray argb32, QSize size, double widthMm = 0);

    // Empty when the report can be printed; else why not (a table row with more
    // cells than columns, a column without width, pixels that do not match
    // their size). Nothing of a faulty report is printed, so nothing is lost
    // silently.
    QString problem() const;
};

}  // namespace zev
