// The content of a tool by kind (recipes, history files, diagnosis files,
// pictures, maintenance files) and the commands on it: copy to another tool,
// rename, delete.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace zev {

struct AppContext;

enum class ContentKind { Recipes, LogFiles, DiagFiles, Pics, OtherFiles };
constexpr int kContentKinds = 5;

// The files of one kind in a tool directory, in name order.
struct ToolContent {
    ContentKind kind;
    QString key;         // "RZPFILES", "LOGFILES", "DIAGFILES", "PICS", "OTHERFILES"
    QStringList files;   // absolute paths
};

// GetToolData: every kind, also when it has no files.
QList<ToolContent> GetToolData(const QString& toolDir);
int recipeCount(const QString& toolDir);
// The preview of the main process picture, empty when the tool has none.
QString mainPicture(const QString& toolDir);

// What the operator selected: a whole kind (file empty) or one file of it.
struct ContentSelection {
    QString toolDir;   // ends without "/"
    ContentKind kind = ContentKind::Recipes;
    QString file;      // absolute path, empty for the whole kind
};

class ToolContentCommands {
public:
    explicit ToolContentCommands(AppContext& ctx) : ctx_(ctx) {}

    // The drop of content onto another tool: a recipe by DoCopyRecipe, the
    // other kinds by DoCopyDir. False when nothing was copied.
    bool copyTo(const ContentSelection& what, const QString& targetToolDir);
    bool DoCopyRecipe(const QString& recipeFile, const QString& targetToolDir);
    bool DoCopyDir(const ContentSelection& what, const QString& targetToolDir);
    // cmdRenameDetail_Click: recipes and diagnosis files.
    bool renameDetail(const ContentSelection& what);
    // cmdDeleteDetail_Click; activeToolDir: the active tool, whose content stays.
    bool deleteDetail(const std::optional<ContentSelection>& what, bool inActiveTool);

private:
    QString kindName(ContentKind kind) const;
    void tell(const QString& text);
    AppContext& ctx_;
};

}  // namespace zev
