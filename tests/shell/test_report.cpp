// Reports: which reports are refused, how a report is laid out on pages (title,
// header lines, table columns of the given widths, rows kept whole and in
// order, the header row again on each page, page numbers), and real PDF files.
#include "temp_home.h"

#include "shell/system_printer.h"
#include "shell/report_renderer.h"

#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPdfWriter>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace zev;
using zev::test::TempHome;

namespace {

TEST(Report, FaultyReportsAreRefusedWithTheReason) {
    const QByteArray fourPixels(16, '\xFF');
    struct Case {
        Report report;
        QString reason;  // empty: printable
    };
    const QList<Case> cases = {
        {Report().addTable({20, 30}, {QStringLiteral("a")}, {{QStringLiteral("1"), QStringLiteral("2")}})
             .addPicturePixels(fourPixels, QSize(2, 2)),
         QString()},
        {Report().addTable({}, {}, {}), QStringLiteral("table 1 has no columns")},
        {Report().addTable({20}, {}, {}).addTable({20, 0}, {}, {}), QStringLiteral("column 2 of table 2 has no width")},
        {Report().addTable({20}, {QStringLiteral("a"), QStringLiteral("b")}, {}),
         QStringLiteral("the header of table 1 has 2 cells for 1 columns")},
        {Report().addTable({20, 20}, {}, {{QStringLiteral("1")}, {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}}),
         QStringLiteral("row 2 of table 1 has 3 cells for 2 columns")},
        {Report().addPicturePixels(fourPixels, QSize(2, 3)),
         QStringLiteral("picture 1: 16 bytes of pixels do not make 2 x 3 pixels")},
        {Report().addPictureFile(QStringLiteral("a.png")).addPicturePixels({}, QSize()),
         QStringLiteral("picture 2: 0 bytes of pixels do not make -1 x -1 pixels")},
    };
    for (const Case& c : cases) EXPECT_EQ(c.report.problem(), c.reason);
}

// A small page (A6, 5 mm margins, 300 dpi), so that a table runs over several.
class ReportLayoutTest : public ::testing::Test {
protected:
    TempHome home;
    QPdfWriter device{home.file(QStringLiteral("layout.pdf"))};
    double mm = 300 / 25.4;

    void SetUp() override {
        device.setResolution(300);
        device.setPageSize(QPageSize(QPageSize::A6));
        device.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
    }

    static QStringList texts(const ReportPage& page) {
        QStringList out;
        for (const ReportItem& item : page.items)
            if (item.kind == ReportItem::Kind::Text) out << item.text;
        return out;
    }
};

TEST_F(ReportLayoutTest, TableRunsOverPagesInOrderWithTitleHeaderRowAndPageNumbers) {
    const QString longName = QStringLiteral("a very long zone name that cannot stay on one line of its column");
    Report report;
    report.title = QStringLiteral("Zone table");
    report.pageLabel = QStringLiteral("Page ");
    report.headerLines = {QStringLiteral("Tool: DEMO"), QStringLiteral("Date: 02.03.2026")};
    QList<QStringList> rows;
    for (int z = 1; z <= 120; ++z)
        rows << QStringList{QString::number(z), z == 50 ? longName : QStringLiteral("zone %1").arg(z)};
    report.addTable({25, 60}, {QStringLiteral("Zone"), QStringLiteral("Name")}, rows);

    QString error;
    const QList<ReportPage> pages = ReportRenderer::layOut(report, device, &error);
    ASSERT_GE(pages.size(), 3) << error.toStdString();  // 120 rows of about 5 mm on 130 mm pages

    const double left = 0;
    QStringList zones;        // the zone column across all pages, in page order
    int headerLinesSeen = 0;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        const QStringList t = texts(pages[p]);
        ASSERT_GE(t.size(), 4);
        EXPECT_EQ(t.first(), QStringLiteral("Zone table")) << p;
        EXPECT_EQ(t.last(), QStringLiteral("Page %1 / %2").arg(p + 1).arg(pages.size()));
        headerLinesSeen += int(t.count(QStringLiteral("Tool: DEMO")));
        // The header row stands at the top of every page the table runs onto.
        const qsizetype zoneHead = t.indexOf(QStringLiteral("Zone"));
        EXPECT_GE(zoneHead, 1) << p;
        EXPECT_EQ(t.value(zoneHead + 1), QStringLiteral("Name")) << p;
        EXPECT_EQ(t.indexOf(QStringLiteral("Zone"), zoneHead + 1), -1) << p;

        const ReportItem& footer = pages[p].items.last();
        QStringList nameLines;
        for (const ReportItem& item : pages[p].items) {
            if (&item == &footer || item.kind != ReportItem::Kind::Text) continue;
            EXPECT_LE(item.rect.bottom(), footer.rect.top() + 0.01) << item.text.toStdString();
            const bool firstColumn = std::abs(item.rect.left() - (left + 1 * mm)) < 0.5;
            const bool secondColumn = std::abs(item.rect.left() - (left + 26 * mm)) < 0.5;  // 25 mm + padding
            if (item.text == QStringLiteral("Zone") || item.text == QStringLiteral("Name") || item.text == report.title)
                continue;
            if (firstColumn) zones << item.text;
            if (secondColumn && zones.value(zones.size() - 1) == QStringLiteral("50")) {
                EXPECT_LE(item.rect.right(), left + 84 * mm + 0.5);  // inside the 60 mm column
                nameLines << item.text;
            }
        }
        if (!nameLines.isEmpty()) {
            // Every line of the wrapped cell is on this page, nothing lost.
            EXPECT_GE(nameLines.size(), 2);
            EXPECT_EQ(nameLines.join(QLatin1Char(' ')), longName);
        }
    }
    EXPECT_EQ(headerLinesSeen, 1);
    QStringList expected;
    for (int z = 1; z <= 120; ++z) expected << QString::number(z);
    EXPECT_EQ(zones, expected);
}

TEST_F(ReportLayoutTest, TooWideColumnsShrinkTogetherAndTooWideLinesAreDrawnSmaller) {
    Report report;
    report.pageNumbers = false;
    report.addTable({200, 200}, {}, {{QStringLiteral("x"), QStringLiteral("y")}});
    const QString wide = QString(20, QLatin1Char(' ')) + QString(200, QLatin1Char('x'));
    report.addLines({wide, QStringLiteral("Zone\t12\tHeizkreis\t250")});
    QString error;
    const QList<ReportPage> pages = ReportRenderer::layOut(report, device, &error);
    ASSERT_EQ(pages.size(), 1) << error.toStdString();
    const double pageWidth = device.width();
    for (const ReportItem& item : pages[0].items) {
        if (item.text == QStringLiteral("y")) {
            EXPECT_NEAR(item.rect.left(), pageWidth / 2 + 1 * mm, 0.5);
        }
        if (item.text.startsWith(QStringLiteral("Zone"))) {
            // Tabs stand at every eighth character.
            EXPECT_EQ(item.text, QStringLiteral("Zone    12      Heizkreis       250"));
        }
        if (item.text == wide) {
            EXPECT_LT(item.font.pointSizeF(), 9.0);
            EXPECT_LE(QFontMetricsF(item.font, &device).horizontalAdvance(wide), pageWidth + 0.5);
        }
    }
}

// Number of page objects in a PDF ("/Type /Page", not the "/Type /Pages" tree).
int pdfPages(const QByteArray& pdf) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    return int(QString::fromLatin1(pdf).count(page));
}

TEST(ReportPdf, PicturesOfAPageEachMakeAPdfOfThatManyPages) {
    TempHome home;
    QImage square(40, 40, QImage::Format_ARGB32);
    square.fill(Qt::blue);
    ASSERT_TRUE(square.save(home.file(QStringLiteral("square.png"))));
    const QByteArray pixels(40 * 40 * 4, '\x80');
    // A square the width of the page is taller than half a page: one per page.
    Report report;
    report.title = QStringLiteral("Pictures");
    report.addPictureFile(home.file(QStringLiteral("square.png")))
        .addPicturePixels(pixels, QSize(40, 40))
        .addPictureFile(home.file(QStringLiteral("square.png")));
    QString error;
    const QString file = home.file(QStringLiteral("pictures.pdf"));
    ASSERT_TRUE(SystemPrinter::printToPdf(report, file, &error)) << error.toStdString();
    const QByteArray pdf = home.read(QStringLiteral("pictures.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdfPages(pdf), 3);

    // A long protocol runs onto more pages; a one-line report is one page.
    QStringList lines;
    for (int i = 0; i < 300; ++i) lines << QStringLiteral("line %1").arg(i);
    ASSERT_TRUE(SystemPrinter::printToPdf(Report().addLines(lines), home.file(QStringLiteral("long.pdf")), &error));
    EXPECT_GE(pdfPages(home.read(QStringLiteral("long.pdf"))), 3);  // 300 lines of about 4 mm
    ASSERT_TRUE(SystemPrinter::printToPdf(Report().addLines({QStringLiteral("x")}), home.file(QStringLiteral("one.pdf")), &error));
    EXPECT_EQ(pdfPages(home.read(QStringLiteral("one.pdf"))), 1);
}

TEST(ReportPdf, AnUnreadablePictureStopsTheJobBeforeAnyPage) {
    TempHome home;
    home.write(QStringLiteral("broken.png"), "not a picture");
    QString error;
    const QString file = home.file(QStringLiteral("broken.pdf"));
    Report report;
    report.addLines({QStringLiteral("before")}).addPictureFile(home.file(QStringLiteral("broken.png")));
    EXPECT_FALSE(SystemPrinter::printToPdf(report, file, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("broken.png")));
    EXPECT_FALSE(QFile::exists(file));
}

}  // namespace
