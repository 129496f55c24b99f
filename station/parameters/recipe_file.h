// Recipe files ("*.RZP" in the tool's recipe directory): an INI text with one
// section "Z001".."Z270" per zone (key PARAM: the 28 zone parameters, each
// followed by ";"; key MODE: the operating mode) and a section GLOBAL with one
// key per global parameter code. This file knows the names, the text and its
// reading; putting the values into the parameter store is RecipeBook's job.
#pragma once

#include "plant/zone_table.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <map>
#include <optional>
#include <vector>

namespace zev {

// Recipe files larger than this are not read: a 270-zone recipe is about 60 KB.
constexpr qint64 kMaxRecipeBytes = 4 * 1024 * 1024;

// The name as it is stored: trimmed, upper case, ":", "\", "/" and "?"
// replaced by "_", so that it always names a file inside the recipe
// directory; nullopt for an empty name, "." and "..".
std::optional<QString> recipeName(const QString& entered);
// The recipe names of a directory: every "*.rzp" file (any case) without its
// extension, upper case, sorted, each once.
QStringList recipeNames(const QString& directory);
// The existing file of a recipe, whatever the case of its file name (empty
// when there is none).
QString existingRecipeFile(const QString& directory, const QString& name);
// Where a recipe is written: directory + NAME + ".RZP".
QString recipeFilePath(const QString& directory, const QString& name);

// One zone's section as it was read.
struct RecipeZone {
    bool present = false;
    int paramCount = 0;                  // values read from PARAM (a short text sets the first ones)
    std::array<int, 28> params{};        // kNoValue: the recipe wants nothing
    int mode = kNoValue;                 // 0, 1 or 2; kNoValue: no wish (missing or any other value)
};

struct RecipeData {
    std::vector<RecipeZone> zones = std::vector<RecipeZone>(kMaxZones + 1);  // 1..270
    std::map<QString, int> globals;      // upper-case code -> value (kNoValue: no wish); absent: no key
    int zoneSections = 0;                // sections Z001..Z270 present
    QStringList damaged;                 // "Z003 PARAM 5", "GLOBAL XAB": entries that were no 16-bit number
};

// PARAM walked as the controllers' recipes always were: up to 28 values each
// ended by ";" (text after the last ";" is no value); an empty value reads as
// 0, a value below -10023 as no value. A value that is no number or does not
// fit 16 bits is no value and listed in `bad` (1-based positions).
int parseParamText(const QString& text, std::array<int, 28>& out, std::vector<int>* bad);

enum class RecipeReadStatus { Ok, Missing, Unreadable, TooLarge, NotARecipe };
struct RecipeRead {
    RecipeReadStatus status = RecipeReadStatus::Missing;
    RecipeData data;
    QString error;  // the system's reason when unreadable
};
// Reads a recipe file. A file without any zone section and without GLOBAL is
// not a recipe (binary garbage, an empty file). Of GLOBAL, the keys of
// globalCodes are read.
RecipeRead readRecipeFile(const QString& path, const QStringList& globalCodes);

// The text of a recipe (Windows-1252, CR LF): zones 1..params.size()-1 with
// their 28 values and mode (kNoValue written as -10024), then GLOBAL.
struct RecipeContent {
    std::vector<std::array<int, 28>> params;  // index = zone, [0] unused
    std::vector<int> modes;                   // index = zone
    std::vector<std::pair<QString, int>> globals;
};
QByteArray recipeText(const RecipeContent& content);

}  // namespace zev
