#include "shell/report_renderer.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace zev {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kBlockGapMm = 3;
constexpr double kCellPaddingMm = 1;
constexpr double kFooterGapMm = 3;

QFont sized(QFont font, double points, bool bold = false) {
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// Places the items page by page, from the top of the content area down.
class Composer {
public:
    Composer(const Report& report, QPaintDevice& device)
        : report_(report), device_(device), mm_(device.logicalDpiY() / kMmPerInch),
          body_(sized(QFont(), 9)), bold_(sized(QFont(), 9, true)),
          fixed_(sized(QFontDatabase::systemFont(QFontDatabase::FixedFont), 9)),
          titleFont_(sized(QFont(), 12, true)), footerFont_(sized(QFont(), 8)) {
        const double footer = report.pageNumbers ? lineHeight(footerFont_) + kFooterGapMm * mm_ : 0;
        area_ = QRectF(0, 0, device.width(), device.height() - footer);
    }

    QList<ReportPage> run(QString* error) {
        startPage();
        for (const QString& line : report_.headerLines) placeLine(line, body_);
        if (!report_.headerLines.isEmpty()) y_ += kBlockGapMm * mm_;
        int pictureNumber = 0;
        for (const ReportBlock& block : report_.blocks) {
            if (const auto* lines = std::get_if<ReportLines>(&block)) {
                for (const QString& line : lines->lines) placeLine(line, lines->fixedPitch ? fixed_ : body_);
            } else if (const auto* table = std::get_if<ReportTable>(&block)) {
                placeTable(*table);
            } else if (!placePicture(std::get<ReportPicture>(block), ++pictureNumber, error)) {
                return {};
            }
            y_ += kBlockGapMm * mm_;
        }
        if (report_.pageNumbers) numberPages();
        return pages_;
    }

private:
    double lineHeight(const QFont& font) const { return QFontMetricsF(font, &device_).lineSpacing(); }
    double textWidth(const QFont& font, const QString& text) const {
        return QFontMetricsF(font, &device_).horizontalAdvance(text);
    }

    void add(ReportItem item) { pages_.last().items.append(std::move(item)); }
    void addText(const QRectF& rect, const QString& text, const QFont& font, Qt::Alignment align = Qt::AlignLeft) {
        ReportItem item;
        item.rect = rect;
        item.text = text;
        item.font = font;
        item.align = align;
        add(std::move(item));
    }
    void addRule(double y) {
        ReportItem item;
        item.kind = ReportItem::Kind::Rule;
        item.rect = QRectF(area_.left(), y, area_.width(), 0);
        add(std::move(item));
    }

    void startPage() {
        pages_.append(ReportPage{});
        y_ = area_.top();
        if (report_.printTitle && !report_.title.isEmpty()) {
            const double h = lineHeight(titleFont_);
            addText(QRectF(area_.left(), y_, area_.width(), h), report_.title, titleFont_);
            y_ += h + 0.5 * mm_;
            addRule(y_);
            y_ += 2 * mm_;
        }
        pageTop_ = y_;
    }

    // Room for h more on this page; a new page otherwise. Something taller than
    // a whole page goes on a fresh page as it is.
    void makeRoom(double h) {
        if (y_ + h > area_.bottom() && y_ > pageTop_) startPage();
    }

    // One line as it stands; a line wider than the page is drawn smaller rather
    // than cut, so no character is lost.
    void placeLine(const QString& given, const QFont& font) {
        // Tabs are expanded here, to stops of eight characters: the painter
        // does not draw what follows a tab without being told to.
        QString line;
        for (const QChar c : given) {
            if (c == QLatin1Char('\t')) line += QString(8 - line.size() % 8, QLatin1Char(' '));
            else line += c;
        }
        QFont f = font;
        const double width = textWidth(f, line);
        if (width > area_.width()) f.setPointSizeF(f.pointSizeF() * area_.width() / width);
        const double h = lineHeight(font);
        makeRoom(h);
        addText(QRectF(area_.left(), y_, area_.width(), h), line, f);
        y_ += h;
    }

    // The lines of a text wrapped into `width`: at word boundaries, inside a word
    // only when it is wider than the column.
    QStringList wrap(const QString& text, const QFont& font, double width) const {
        QString t = text;
        t.replace(QLatin1Char('\n'), QChar::LineSeparator);
        QTextLayout layout(t, font, &device_);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        QStringList lines;
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines << t.mid(line.textStart(), line.textLength()).remove(QChar::LineSeparator).trimmed();
        }
        layout.endLayout();
        if (lines.isEmpty()) lines << QString();
        return lines;
    }

    struct Row {
        QList<QStringList> cells;  // wrapped lines per column
        double height = 0;
    };

    Row layRow(const QStringList& cells, const QList<double>& widths, const QFont& font) const {
        Row row;
        const double pad = kCellPaddingMm * mm_;
        qsizetype mostLines = 1;
        for (qsizetype c = 0; c < widths.size(); ++c) {
            row.cells << wrap(c < cells.size() ? cells[c] : QString(), font, std::max(1.0, widths[c] - 2 * pad));
            mostLines = std::max(mostLines, row.cells.last().size());
        }
        row.height = double(mostLines) * lineHeight(font) + 2 * pad;
        return row;
    }

    void drawRow(const Row& row, const QList<double>& widths, const QFont& font) {
        const double pad = kCellPaddingMm * mm_;
        const double h = lineHeight(font);
        double x = area_.left();
        for (qsizetype c = 0; c < widths.size(); ++c) {
            double ly = y_ + pad;
            for (const QString& line : row.cells[c]) {
                if (!line.isEmpty()) addText(QRectF(x + pad, ly, widths[c] - 2 * pad, h), line, font);
                ly += h;
            }
            x += widths[c];
        }
        y_ += row.height;
    }

    void placeTable(const ReportTable& table) {
        QList<double> widths;
        double total = 0;
        for (double w : table.columnWidthsMm) total += w * mm_;
        const double scale = total > area_.width() ? area_.width() / total : 1.0;
        for (double w : table.columnWidthsMm) widths << w * mm_ * scale;

        const bool hasHeader = !table.header.isEmpty();
        const Row header = layRow(table.header, widths, bold_);
        auto drawHeader = [&] {
            if (!hasHeader) return;
            drawRow(header, widths, bold_);
            addRule(y_);
        };
        // The header stays with at least the first row.
        makeRoom((hasHeader ? header.height : 0) +
                 (table.rows.isEmpty() ? 0 : layRow(table.rows.first(), widths, body_).height));
        drawHeader();
        for (const QStringList& cells : table.rows) {
            const Row row = layRow(cells, widths, body_);
            if (y_ + row.height > area_.bottom() && y_ > pageTop_) {
                startPage();
                drawHeader();
            }
            drawRow(row, widths, body_);
        }
        addRule(y_);
    }

    bool placePicture(const ReportPicture& p, int number, QString* error) {
        QImage image;
        if (!p.file.isEmpty())
            image = QImage(p.file);
        else
            image = QImage(reinterpret_cast<const uchar*>(p.argb32.constData()), p.size.width(), p.size.height(),
                           p.size.width() * 4, QImage::Format_ARGB32).copy();
        if (image.isNull()) {
            if (error) *error = QStringLiteral("picture %1 cannot be read: %2").arg(number).arg(p.file);
            return false;
        }
        double w = p.widthMm > 0 ? std::min(p.widthMm * mm_, area_.width()) : area_.width();
        double h = w * image.height() / image.width();
        const double pageRoom = area_.bottom() - pageTop_;
        if (h > pageRoom) {
            w *= pageRoom / h;
            h = pageRoom;
        }
        makeRoom(h);
        ReportItem item;
        item.kind = ReportItem::Kind::Picture;
        item.rect = QRectF(area_.left(), y_, w, h);
        item.picture = std::move(image);
        add(std::move(item));
        y_ += h;
        return true;
    }

    void numberPages() {
        const double h = lineHeight(footerFont_);
        const double y = device_.height() - h;
        for (qsizetype i = 0; i < pages_.size(); ++i) {
            ReportItem item;
            item.rect = QRectF(area_.left(), y, area_.width(), h);
            item.text = report_.pageLabel + QStringLiteral("%1 / %2").arg(i + 1).arg(pages_.size());
            item.font = footerFont_;
            item.align = Qt::AlignHCenter;
            pages_[i].items.append(std::move(item));
        }
    }

    const Report& report_;
    QPaintDevice& device_;
    const double mm_;  // device pixels per millimetre
    const QFont body_, bold_, fixed_, titleFont_, footerFont_;
    QRectF area_;      // where content goes: the page above the footer
    QList<ReportPage> pages_;
    double y_ = 0;
    double pageTop_ = 0;  // first content line below the title
};

}  // namespace

QList<ReportPage> ReportRenderer::layOut(const Report& report, QPaintDevice& device, QString* error) {
    const QString problem = report.problem();
    if (!problem.isEmpty()) {
        if (error) *error = problem;
        return {};
    }
    return Composer(report, device).run(error);
}

bool ReportRenderer::paint(const QList<ReportPage>& pages, QPainter& painter, QPagedPaintDevice& device,
                           QString* error) {
    const int flags = Qt::TextSingleLine | Qt::TextExpandTabs | Qt::AlignVCenter;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage()) {
            if (error) *error = QStringLiteral("the printer refused a new page");
            return false;
        }
        for (const ReportItem& item : pages[i].items) {
            switch (item.kind) {
            case ReportItem::Kind::Text:
                painter.setFont(item.font);
                painter.drawText(item.rect, flags | int(item.align), item.text);
                break;
            case ReportItem::Kind::Rule:
                painter.drawLine(item.rect.topLeft(), item.rect.topRight());
                break;
            case ReportItem::Kind::Picture:
                painter.drawImage(item.rect, item.picture);
                break;
            }
        }
    }
    return true;
}

}  // namespace zev
