#include "tools/tool_manager.h"

#include "base/app_context.h"
#include "base/event_pump.h"
#include "base/platform.h"
#include "base/settings.h"
#include "link/link_session.h"
#include "plant/tool_data.h"
#include "support/operator.h"
#include "support/text_numbers.h"
#include "support/texts.h"
#include "support/user_levels.h"
#include "tools/entry_names.h"
#include "tools/tool_files.h"
#include "tools/tool_texts.h"

#include <QDir>
#include <QFileInfo>

namespace zev {

namespace {
const QString kStar = QStringLiteral("*");

QString canonicalOr(const QString& path) {
    const QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : c;
}
}  // namespace

void ToolManager::tell(const QString& text, int okText) {
    ctx_.op.notice(text, QString(), ctx_.texts(okText), QString(), kNoticePlain);
}

bool ToolManager::isActive(const ToolRef& tool) const {
    return canonicalOr(tool.dir()) == canonicalOr(ctx_.tool.ToolsDir + ctx_.tool.ToolName);
}

bool ToolManager::prepareChange(const std::optional<ToolRef>& tool) {
    Texts& t = ctx_.texts;
    if (!ctx_.users.CheckLevel(1)) return false;
    if (!tool) return tell(t(ToolText::NoneSelected), TextNo::Ok), false;
    if (isActive(*tool)) return tell(t(ToolText::AlreadyActive), TextNo::Ok), false;
    if (tool->drive.kind == DriveKind::Removable) return tell(t(ToolText::OnRemovable), TextNo::Ok), false;
    // A wiring test drives zones by hand; a transfer may not be cut off; boost is ended by the guard.
    if (ctx_.link && ctx_.link->DiagnosisRunning())
        return tell(t(TextNo::DiagnosisRunning), TextNo::Ok), false;
    if (ctx_.link && !ctx_.link->mayStop()) return false;
    if (!QFileInfo(tool->dir()).isDir() || !staysInside(tool->drive.toolFolder, tool->name)) return false;
    Settings::Batch batch(ctx_.settings);
    ctx_.settings.SetIni(QStringLiteral("TOOL"), QStringLiteral("TOOLNAME"), tool->name, kStar);
    ctx_.settings.SetIni(QStringLiteral("TOOL"), QStringLiteral("TOOLPATH"), tool->drive.toolFolder, kStar);
    return true;
}

std::optional<QString> ToolManager::askToolName(const QString& prompt, const QString& preset, const QString& folder,
                                                int exists, int yes, int no, bool upper) {
    Texts& t = ctx_.texts;
    QString proposal = preset;
    for (;;) {
        const auto typed = ctx_.op.enterText(prompt, proposal);
        if (!typed || typed->trimmed().isEmpty()) return std::nullopt;
        const auto name = entryNameIn(folder, upper ? typed->toUpper() : *typed);
        if (!name) {
            tell(t(ToolText::NameNotAllowed) + typed->trimmed(), TextNo::Ok);
            proposal = *typed;
            continue;
        }
        if (!QFileInfo::exists(QDir(folder).filePath(*name)) && !QFileInfo(QDir(folder).filePath(*name)).isSymLink())
            return name;
        if (ctx_.op.notice(t(exists), t(yes), t(no), QString(), kNoticeQuestion) != 1) return std::nullopt;
        proposal = *name;
    }
}

std::optional<QString> ToolManager::newTool(const std::optional<Drive>& target) {
    Texts& t = ctx_.texts;
    if (!ctx_.users.CheckLevel(3)) return std::nullopt;
    if (!target) return tell(t(ToolText::SelectDrive), TextNo::Ok), std::nullopt;
    const qint64 free = ctx_.platform.diskFree(target->root);
    if (free >= 0 && free < kNewToolSpace) {
        tell(t(ToolText::NoSpace) + target->root + t(ToolText::NoSpaceEnd), TextNo::Ok);
        return std::nullopt;
    }
    QDir().mkpath(target->toolFolder);
    const auto name = askToolName(t(ToolText::NewName), QString(), target->toolFolder, ToolText::NewExists,
                                  ToolText::NewYes, ToolText::NewNo, true);
    if (!name) return std::nullopt;
    // Only the directory: LoadActiveTool makes the rest when the tool is first activated.
    if (!QDir(target->toolFolder).mkdir(*name)) {
        tell(t(ToolText::CreateFailed) + QDir(target->toolFolder).filePath(*name), TextNo::Ok);
        return std::nullopt;
    }
    return name;
}

std::optional<QString> ToolManager::copyTool(const ToolRef& source, const Drive& target) {
    Texts& t = ctx_.texts;
    if (!ctx_.users.CheckLevel(3)) return std::nullopt;
    if (!QFileInfo(source.dir()).isDir()) return std::nullopt;
    QDir().mkpath(target.toolFolder);
    const auto name = askToolName(t(ToolText::CopyName), t(ToolText::CopyOf) + source.name, target.toolFolder,
                                  ToolText::CopyExists, ToolText::CopyYes, ToolText::CopyNo, false);
    if (!name) return std::nullopt;
    const QString to = QDir(target.toolFolder).filePath(*name);
    QString failed;
    // History files stay with their tool and machine; hidden entries are no tool data.
    const bool dirsCopied = copyTree(source.dir(), to, [](const QString& n, bool isDir) {
        return isDir && n.compare(QStringLiteral("LOGFILES"), Qt::CaseInsensitive) != 0 && !n.startsWith(QLatin1Char('.'));
    }, ctx_.pump, &failed);
    const bool inisCopied = dirsCopied && copyTree(source.dir(), to, [](const QString& n, bool isDir) {
        return !isDir && n.endsWith(QStringLiteral(".INI"), Qt::CaseInsensitive) && !n.startsWith(QLatin1Char('.'));
    }, ctx_.pump, &failed);
    if (!inisCopied) {
        // Half a tool is worse than none: what was made goes, the source was only read.
        QDir(to).removeRecursively();
        tell(t(dirsCopied ? ToolText::CopyIniFailed : ToolText::CopyDirsFailed) + QLatin1Char(' ') + failed +
                 t(ToolText::PartialRemoved),
             dirsCopied ? ToolText::CopyFailedOk : TextNo::Ok);
        return std::nullopt;
    }
    tell(t(ToolText::CopyDone), TextNo::Ok);
    return name;
}

bool ToolManager::renameTool(const std::optional<ToolRef>& tool) {
    Texts& t = ctx_.texts;
    if (!ctx_.users.CheckLevel(3)) return false;
    if (!tool) return tell(t(ToolText::RenameNone), TextNo::Ok), false;
    if (isActive(*tool)) return tell(t(ToolText::RenameActive), TextNo::Ok), false;
    const auto name = askToolName(t(ToolText::RenameName) + tool->name, tool->name, tool->drive.toolFolder,
                                  ToolText::RenameExists, ToolText::RenameYes, ToolText::RenameNo, false);
    if (!name) return false;
    if (!QDir(tool->drive.toolFolder).rename(tool->name, *name)) {
        tell(t(ToolText::RenameFailed) + tool->name, TextNo::Ok);
        return false;
    }
    return true;
}

bool ToolManager::deleteTool(const std::optional<ToolRef>& tool) {
    Texts& t = ctx_.texts;
    if (!ctx_.users.CheckLevel(3)) return false;
    if (!tool) return tell(t(ToolText::DeleteNone), TextNo::Ok), false;
    if (isActive(*tool)) return tell(t(ToolText::DeleteActive), TextNo::Ok), false;
    if (!staysInside(tool->drive.toolFolder, tool->name)) return false;
    if (ctx_.op.notice(t(ToolText::DeleteAsk) + tool->name + t(ToolText::DeleteAskEnd), t(ToolText::DeleteYes),
                       t(ToolText::DeleteNo), QString(), kNoticeQuestion) != 1)
        return false;
    if (!discard(tool->dir(), useTrash)) {
        tell(t(ToolText::DeleteFailed) + tool->name, ToolText::DeleteFailedOk);
        return false;
    }
    return true;
}

}  // namespace zev
