#include "tools/tool_content.h"

#include "base/app_context.h"
#include "base/settings.h"
#include "support/notices.h"
#include "support/operator.h"
#include "support/text_numbers.h"
#include "support/texts.h"
#include "support/user_levels.h"
#include "tools/entry_names.h"
#include "tools/tool_files.h"
#include "tools/tool_texts.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace zev {

namespace {
struct KindPlace {
    ContentKind kind;
    const char* key;
    const char* folder;
    const char* pattern;  // empty: every file below the folder
};
constexpr KindPlace kPlaces[kContentKinds] = {
    {ContentKind::Recipes, "RZPFILES", "parameter", "*.rzp"},
    {ContentKind::LogFiles, "LOGFILES", "LOGFILES", "*.cdb"},
    {ContentKind::DiagFiles, "DIAGFILES", "LOGFILES", "*.log"},
    {ContentKind::Pics, "PICS", "PICS", ""},
    {ContentKind::OtherFiles, "OTHERFILES", "Wartung", ""},
};

const KindPlace& place(ContentKind kind) { return kPlaces[static_cast<int>(kind)]; }

QString folderOf(const QString& toolDir, ContentKind kind) {
    return QDir(toolDir).filePath(QLatin1String(place(kind).folder));
}

QStringList filesOf(const QString& toolDir, ContentKind kind) {
    const KindPlace& p = place(kind);
    const QString folder = folderOf(toolDir, kind);
    QStringList files;
    if (*p.pattern) {
        // Only the listed files, never the folder: LOGFILES also holds the alarm database.
        const QDir dir(folder, QString(), QDir::Name | QDir::IgnoreCase, QDir::Files | QDir::NoSymLinks);
        for (const QFileInfo& f : dir.entryInfoList({QLatin1String(p.pattern)}))
            files << f.absoluteFilePath();
    } else {
        QDirIterator it(folder, QDir::Files | QDir::NoSymLinks, QDirIterator::Subdirectories);
        while (it.hasNext()) files << it.next();
        files.sort(Qt::CaseInsensitive);
    }
    return files;
}

QString plainName(const QString& file) { return QFileInfo(file).completeBaseName(); }
}  // namespace

QList<ToolContent> GetToolData(const QString& toolDir) {
    QList<ToolContent> content;
    for (const KindPlace& p : kPlaces) content.append({p.kind, QLatin1String(p.key), filesOf(toolDir, p.kind)});
    return content;
}

int recipeCount(const QString& toolDir) { return static_cast<int>(filesOf(toolDir, ContentKind::Recipes).size()); }

QString mainPicture(const QString& toolDir) {
    const QDir pics(folderOf(toolDir, ContentKind::Pics));
    const QStringList found = pics.entryList({QStringLiteral("BILD000.bmp")}, QDir::Files);  // any case
    return found.isEmpty() ? QString() : pics.filePath(found.first());
}

QString ToolContentCommands::kindName(ContentKind kind) const {
    return ctx_.texts(ToolText::KindRecipes + static_cast<int>(kind));
}

void ToolContentCommands::tell(const QString& text) { tellOperator(ctx_.op, ctx_.texts, text); }

bool ToolContentCommands::copyTo(const ContentSelection& what, const QString& targetToolDir) {
    if (!ctx_.users.CheckLevel(3)) return false;
    if (QFileInfo(what.toolDir).canonicalFilePath() == QFileInfo(targetToolDir).canonicalFilePath()) return false;
    if (what.kind == ContentKind::Recipes && !what.file.isEmpty()) return DoCopyRecipe(what.file, targetToolDir);
    return DoCopyDir(what, targetToolDir);
}

bool ToolContentCommands::DoCopyRecipe(const QString& recipeFile, const QString& targetToolDir) {
    Texts& t = ctx_.texts;
    const QString folder = folderOf(targetToolDir, ContentKind::Recipes);
    QDir().mkpath(folder);
    QString proposal = t(ToolText::RecipeCopyOf) + plainName(recipeFile);
    for (;;) {
        const auto typed = ctx_.op.enterText(t(ToolText::RecipeName), proposal);
        if (!typed || typed->trimmed().isEmpty()) return false;
        const auto name = entryNameIn(folder, *typed, QStringLiteral(".rzp"));
        if (!name) {
            tell(t(ToolText::NameNotAllowed) + typed->trimmed());
            proposal = *typed;
            continue;
        }
        const QString target = QDir(folder).filePath(*name);
        if (QFileInfo::exists(target)) {
            if (ctx_.op.notice(t(ToolText::RecipeExists), t(ToolText::RecipeYes), t(ToolText::RecipeNo), QString(),
                               kNoticeQuestion) != 1)
                return false;
            proposal = plainName(*name);
            continue;
        }
        if (!QFile::copy(recipeFile, target)) {
            QFile::remove(target);
            tell(t(ToolText::RecipeFailed));
            return false;
        }
        tell(t(ToolText::RecipeDone));
        return true;
    }
}

bool ToolContentCommands::DoCopyDir(const ContentSelection& what, const QString& targetToolDir) {
    Texts& t = ctx_.texts;
    const QStringList files = what.file.isEmpty() ? filesOf(what.toolDir, what.kind) : QStringList{what.file};
    if (files.isEmpty()) return false;
    // The folders are named as the messages name them; single files by their kind.
    const QString kind = what.kind == ContentKind::Pics || what.kind == ContentKind::OtherFiles
                             ? t(ToolText::KindDirPics + (what.kind == ContentKind::Pics ? 0 : 1))
                             : kindName(what.kind);
    const QDir source(what.toolDir);
    bool exists = false;
    for (const QString& f : files) exists = exists || QFileInfo::exists(QDir(targetToolDir).filePath(source.relativeFilePath(f)));
    if (exists && ctx_.op.notice(t(ToolText::DirExists) + kind + t(ToolText::DirExistsEnd), t(ToolText::DirYes),
                                 t(ToolText::DirNo), QString(), kNoticeQuestion) != 1)
        return false;
    QString failed;
    if (!copyFilesReplacing(what.toolDir, files, targetToolDir, ctx_.pump, &failed)) {
        tell(t(ToolText::DirFailed) + kind);
        return false;
    }
    tell(kind + t(ToolText::DirDone));
    return true;
}

bool ToolContentCommands::renameDetail(const ContentSelection& what) {
    Texts& t = ctx_.texts;
    if (!ctx_.users.CheckLevel(3)) return false;
    if (what.file.isEmpty() || (what.kind != ContentKind::Recipes && what.kind != ContentKind::DiagFiles)) return false;
    const bool recipe = what.kind == ContentKind::Recipes;
    const QString ext = recipe ? QStringLiteral(".rzp") : QStringLiteral(".log");
    const QFileInfo old(what.file);
    const QString folder = old.absolutePath();
    QString proposal = old.completeBaseName();
    for (;;) {
        const auto typed = ctx_.op.enterText(t(recipe ? ToolText::RenameRecipe : ToolText::RenameDiag) +
                                                 t(ToolText::DetailEnter), proposal);
        if (!typed || typed->trimmed().isEmpty()) return false;
        const auto name = entryNameIn(folder, *typed, ext);
        if (!name) {
            tell(t(ToolText::NameNotAllowed) + typed->trimmed());
            proposal = *typed;
            continue;
        }
        if (name->compare(old.fileName(), Qt::CaseSensitive) == 0) return false;
        if (QFileInfo::exists(QDir(folder).filePath(*name))) {
            if (ctx_.op.notice(t(ToolText::DetailExists) + t(recipe ? ToolText::ExistsRecipe : ToolText::ExistsDiag) +
                                   t(ToolText::DetailExistsEnd),
                               t(ToolText::DetailYes2), t(ToolText::DetailNo2), QString(), kNoticeQuestion) != 1)
                return false;
            proposal = QFileInfo(*name).completeBaseName();
            continue;
        }
        if (!QFile::rename(what.file, QDir(folder).filePath(*name))) {
            tell(t(ToolText::RenameFailed) + old.fileName());
            return false;
        }
        if (recipe) {
            // The tool's standard recipe follows its file, named as it was stored (with or without ".rzp").
            const QString ini = QDir(what.toolDir).filePath(QStringLiteral("SETTINGS.INI"));
            if (QFileInfo::exists(ini)) {
                const QString standard = ctx_.settings.GetIni(QStringLiteral("STANDARD"), QStringLiteral("REZEPT"), QString(), ini);
                if (standard.compare(old.fileName(), Qt::CaseInsensitive) == 0)
                    ctx_.settings.SetIni(QStringLiteral("STANDARD"), QStringLiteral("REZEPT"), *name, ini);
                else if (!standard.isEmpty() && standard.compare(old.completeBaseName(), Qt::CaseInsensitive) == 0)
                    ctx_.settings.SetIni(QStringLiteral("STANDARD"), QStringLiteral("REZEPT"),
                                         QFileInfo(*name).completeBaseName(), ini);
            }
        }
        return true;
    }
}

bool ToolContentCommands::deleteDetail(const std::optional<ContentSelection>& what, bool inActiveTool) {
    Texts& t = ctx_.texts;
    if (!ctx_.users.CheckLevel(3)) return false;
    if (!what) return tell(t(ToolText::DetailNone)), false;
    if (inActiveTool) return tell(t(ToolText::DetailActive)), false;
    const QStringList files = what->file.isEmpty() ? filesOf(what->toolDir, what->kind) : QStringList{what->file};
    if (files.isEmpty()) return tell(t(ToolText::DetailNone)), false;
    const QString name = what->file.isEmpty() ? kindName(what->kind) : QFileInfo(what->file).fileName();
    QString question;
    if (!what->file.isEmpty() && what->kind == ContentKind::DiagFiles)
        question = t(ToolText::AskDiag) + name + t(ToolText::AskDiagEnd);
    else if (!what->file.isEmpty() && what->kind == ContentKind::Recipes)
        question = t(ToolText::AskRecipe) + name + t(ToolText::AskRecipeEnd);
    else
        question = t(ToolText::AskOther) + name + t(ToolText::AskOtherEnd);
    if (ctx_.op.notice(question, t(ToolText::DetailYes), t(ToolText::DetailNo), QString(), kNoticeQuestion) != 1)
        return false;
    for (const QString& f : files) {
        if (!QFile::remove(f) && QFileInfo::exists(f)) {
            tell(t(ToolText::DetailDeleteFailed) + QFileInfo(f).fileName());
            return false;
        }
    }
    return true;
}

}  // namespace zev
