// The start pages of the overview's help tab, read when the overview loads:
//   page 1: key "1PAGE" of section "HTML" in zev.ini, when the directory
//           "ServiceCD" exists in the program directory (the service CD);
//   page 2: key "2PAGE" of section "HTML" in the tool's SETTINGS.INI, when the
//           directory "Wartung" exists in the tool directory (the tool's
//           maintenance instructions);
//   page 3: key "3PAGE" of section "HTML" in zev.ini (the plant's own page).
// A page that is not configured is "about:blank".
#pragma once

#include <QString>
#include <QUrl>
#include <array>

namespace zev {

struct AppContext;

inline const QString kBlankPage = QStringLiteral("about:blank");

struct HelpPages {
    std::array<QString, 3> page{kBlankPage, kBlankPage, kBlankPage};  // pages 1..3
    std::array<QString, 3> baseDir;  // where relative names of each page are found
    const QString& operator[](int number) const { return page.at(static_cast<std::size_t>(number - 1)); }
    const QString& base(int number) const { return baseDir.at(static_cast<std::size_t>(number - 1)); }
};

HelpPages readHelpPages(AppContext& ctx);

// Tabs of SSTab2: the maintenance instructions show the tool's page, or the
// plant's page when the tool has none; the service CD shows page 1.
enum HelpTab { kHelpMaintenance = 0, kHelpServiceCd = 1 };
int pageForTab(const HelpPages& pages, int tab);

// Where a configured page is: a local file (relative names are taken from
// `baseDir`, Windows separators accepted) or an empty URL when there is nothing
// that can be shown ("about:blank", a missing file, a page on the network).
QUrl localPage(const QString& page, const QString& baseDir);

}  // namespace zev
