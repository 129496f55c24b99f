// The recipes of the current tool: loading one into the parameter store's
// targets (doLoadRecipe), storing the values last read as one (doSaveRecipe),
// the overwrite question, and the tool's standard recipe. Loading never sends
// and never writes a recipe file; a damaged or missing file changes nothing.
#pragma once

#include <QString>
#include <QStringList>

namespace zev {

struct AppContext;
class CommandFeedback;

class RecipeBook {
public:
    RecipeBook(AppContext& ctx, CommandFeedback& feedback) : ctx_(ctx), feedback_(feedback) {}

    QStringList names() const;
    // The tool's standard recipe (empty: none).
    QString standardRecipe() const;

    // The checked name of an entry (trimmed, upper case, no path characters);
    // empty, with a notice, when it names no file.
    QString checkedName(const QString& entered);
    // Loads the recipe: true when its values are now the targets. A recipe that
    // does not exist or cannot be read is told and changes nothing.
    bool doLoadRecipe(const QString& name);
    // Stores the values last read as the recipe (a new file replacing the old
    // one at once) and makes them the targets. False, with a notice, when the
    // file could not be written: then nothing else changes.
    bool doSaveRecipe(const QString& name);
    // The save command after the name: the overwrite question when the recipe
    // exists ("Ja" 1 stores, "Nein" 2 asks for another name, "Zurück" 3 stops).
    enum class Overwrite { Store, OtherName, Stop };
    Overwrite askOverwrite(const QString& name);

    // The recipe loaded or saved last in this view (empty: none).
    const QString& current() const { return current_; }

private:
    void becameCurrent(const QString& name);

    AppContext& ctx_;
    CommandFeedback& feedback_;
    QString current_;
};

}  // namespace zev
