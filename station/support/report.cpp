#include "support/report.h"

namespace zev {

Report& Report::addLines(QStringList lines, bool fixedPitch) {
    blocks.emplace_back(ReportLines{std::move(lines), fixedPitch});
    return *this;
}

Report& Report::addTable(QList<double> columnWidthsMm, QStringList header, QList<QStringList> rows) {
    blocks.emplace_back(ReportTable{std::move(columnWidthsMm), std::move(header), std::move(rows)});
    return *this;
}

Report& Report::addPictureFile(QString file, double widthMm) {
    ReportPicture p;
    p.file = std::move(file);
    p.widthMm = widthMm;
    blocks.emplace_back(std::move(p));
    return *this;
}

Report& Report::addPicturePixels(QByteArray argb32, QSize size, double widthMm) {
    ReportPicture p;
    p.argb32 = std::move(argb32);
    p.size = size;
    p.widthMm = widthMm;
    blocks.emplace_back(std::move(p));
    return *this;
}

namespace {

QString tableProblem(const ReportTable& t, int number) {
    const qsizetype columns = t.columnWidthsMm.size();
    if (columns == 0) return QStringLiteral("table %1 has no columns").arg(number);
    for (qsizetype c = 0; c < columns; ++c)
        if (!(t.columnWidthsMm[c] > 0))
            return QStringLiteral("column %1 of table %2 has no width").arg(c + 1).arg(number);
    if (t.header.size() > columns)
        return QStringLiteral("the header of table %1 has %2 cells for %3 columns")
            .arg(number).arg(t.header.size()).arg(columns);
    for (qsizetype r = 0; r < t.rows.size(); ++r)
        if (t.rows[r].size() > columns)
            return QStringLiteral("row %1 of table %2 has %3 cells for %4 columns")
                .arg(r + 1).arg(number).arg(t.rows[r].size()).arg(columns);
    return {};
}

QString pictureProblem(const ReportPicture& p, int number) {
    if (!(p.widthMm >= 0)) return QStringLiteral("picture %1 has a negative width").arg(number);
    if (!p.file.isEmpty()) return {};
    if (p.size.isEmpty() ||
        p.argb32.size() != qsizetype(p.size.width()) * p.size.height() * 4)
        return QStringLiteral("picture %1: %2 bytes of pixels do not make %3 x %4 pixels")
            .arg(number).arg(p.argb32.size()).arg(p.size.width()).arg(p.size.height());
    return {};
}

}  // namespace

QString Report::problem() const {
    int tables = 0;
    int pictures = 0;
    for (const ReportBlock& block : blocks) {
        QString why;
        if (const auto* t = std::get_if<ReportTable>(&block))
            why = tableProblem(*t, ++tables);
        else if (const auto* p = std::get_if<ReportPicture>(&block))
            why = pictureProblem(*p, ++pictures);
        if (!why.isEmpty()) return why;
    }
    return {};
}

}  // namespace zev
