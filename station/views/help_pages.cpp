#include "views/help_pages.h"

#include "base/app_context.h"
#include "base/settings.h"
#include "plant/tool_data.h"

#include <QDir>
#include <QFileInfo>

namespace zev {

namespace {
QString readPage(AppContext& ctx, int number, const QString& file) {
    const QString value = ctx.settings
                              .GetIni(QStringLiteral("HTML"), QString::number(number) + QStringLiteral("PAGE"),
                                      QString(), file)
                              .trimmed();
    return value.isEmpty() ? kBlankPage : value;
}

bool dirExists(const QString& base, const QString& name) {
    return !base.isEmpty() && QFileInfo(QDir(base).filePath(name)).isDir();
}
}  // namespace

HelpPages readHelpPages(AppContext& ctx) {
    HelpPages pages;
    const QString zevIni = QStringLiteral("*");
    pages.baseDir = {QDir(ctx.programDir).filePath(QStringLiteral("ServiceCD")),
                     ctx.tool.ToolDir.isEmpty() ? QString() : QDir(ctx.tool.ToolDir).filePath(QStringLiteral("Wartung")),
                     ctx.programDir};
    if (dirExists(ctx.programDir, QStringLiteral("ServiceCD"))) pages.page[0] = readPage(ctx, 1, zevIni);
    if (dirExists(ctx.tool.ToolDir, QStringLiteral("Wartung")) && !ctx.tool.ToolIni.isEmpty())
        pages.page[1] = readPage(ctx, 2, ctx.tool.ToolIni);
    pages.page[2] = readPage(ctx, 3, zevIni);
    return pages;
}

int pageForTab(const HelpPages& pages, int tab) {
    if (tab == kHelpServiceCd) return 1;
    return pages[2] != kBlankPage ? 2 : 3;
}

QUrl localPage(const QString& page, const QString& baseDir) {
    QString p = page.trimmed();
    if (p.isEmpty() || p.compare(kBlankPage, Qt::CaseInsensitive) == 0) return {};
    const QUrl url(p);
    if (url.isLocalFile()) {
        p = url.toLocalFile();
    } else if (url.scheme().size() > 1) {
        return {};  // http and the like: the browser shows local pages only
    }
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString fragment;
    const qsizetype hash = p.indexOf(QLatin1Char('#'));
    if (hash >= 0) {
        fragment = p.mid(hash + 1);
        p.truncate(hash);
    }
    const QFileInfo info(QDir::isAbsolutePath(p) || baseDir.isEmpty() ? p : QDir(baseDir).filePath(p));
    if (!info.isFile()) return {};
    QUrl result = QUrl::fromLocalFile(info.absoluteFilePath());
    if (!fragment.isEmpty()) result.setFragment(fragment);
    return result;
}

}  // namespace zev
