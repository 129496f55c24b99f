// Lays a report out on the pages of a paint device (a printer, a PDF file) and
// draws it. Laying out comes first, so the page count of "n / m" is known and
// a report that cannot be printed (a picture that cannot be read) is refused
// before the first page goes out.
#pragma once

#include "support/report.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>

class QPagedPaintDevice;
class QPainter;
class QPaintDevice;

namespace zev {

// One thing drawn on a page, in device pixels: a single line of text, a rule
// (the line along the rectangle's top edge) or a picture.
struct ReportItem {
    enum class Kind { Text, Rule, Picture };
    Kind kind = Kind::Text;
    QRectF rect;
    QString text;
    QFont font;
    Qt::Alignment align = Qt::AlignLeft;
    QImage picture;
};

struct ReportPage {
    QList<ReportItem> items;
};

class ReportRenderer {
public:
    // The report's pages for the device's page size and resolution; empty with
    // *error when the report cannot be printed.
    static QList<ReportPage> layOut(const Report& report, QPaintDevice& device, QString* error);
    // Draws the pages with a painter already begun on the device.
    static bool paint(const QList<ReportPage>& pages, QPainter& painter, QPagedPaintDevice& device,
                      QString* error);
};

}  // namespace zev
