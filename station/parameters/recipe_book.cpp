#include "parameters/recipe_book.h"

#include "parameters/change_plan.h"
#include "parameters/command_batch.h"
#include "parameters/recipe_file.h"
#include "alarms/alarm_log.h"
#include "base/app_context.h"
#include "base/profile_disk.h"
#include "base/settings.h"
#include "plant/driver.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "support/notices.h"
#include "support/procedure.h"
#include "support/text_numbers.h"
#include "support/texts.h"

#include <QDir>
#include <QFile>

namespace zev {

namespace {
constexpr int kStoring = 979, kLoading = 1094;
constexpr int kExists = 1086, kOverwrite = 1087, kYes = 1088, kNo = 1089, kBack = 1090;
constexpr int kUser = 1095, kRecipe = 1096, kStored = 1097;
// Texts of our own (docs/texts.md).
constexpr int kNoSuchRecipe = 1081, kBadName = 1105, kUnreadable = 1106, kNotARecipe = 1149;
constexpr int kBadEntries = 567, kZonesCovered = 568, kZonesCoveredEnd = 569;
constexpr int kUnreadableFile = 557, kNoDirectory = 559, kWriteProtected = 560, kIoError = 561;

const QString kStandardSection = QStringLiteral("STANDARD");
const QString kStandardKey = QStringLiteral("REZEPT");
const QString kNewLine = QStringLiteral("\r\n");

QStringList writableGlobalCodes(const AppContext& ctx) {
    QStringList codes;
    for (const GlobalParameter& g : ctx.driver.GlobalParameters)
        if (g.Writable) codes << g.Code;
    return codes;
}

QString reason(Texts& texts, const profile::StoreFailure& why) {
    using profile::FailureKind;
    switch (why.kind) {
    case FailureKind::Unreadable: return texts(kUnreadableFile);
    case FailureKind::NoDirectory: return texts(kNoDirectory);
    case FailureKind::WriteProtected: return texts(kWriteProtected);
    case FailureKind::ReadOnlyDirectory: return texts(TextNo::DirectoryReadOnly);
    case FailureKind::DiskFull: return texts(TextNo::DiskFull);
    case FailureKind::TooLarge:
    case FailureKind::Io: break;
    }
    return texts(kIoError) + QString::number(why.systemError);
}
}  // namespace

QStringList RecipeBook::names() const { return recipeNames(ctx_.tool.RecipeDir); }

QString RecipeBook::standardRecipe() const {
    if (ctx_.tool.ToolIni.isEmpty()) return {};
    const QString stored = ctx_.settings.GetIni(kStandardSection, kStandardKey, QString(), ctx_.tool.ToolIni);
    return recipeName(stored).value_or(QString());
}

QString RecipeBook::checkedName(const QString& entered) {
    const std::optional<QString> name = recipeName(entered);
    if (!name) tellOperator(ctx_.op, ctx_.texts, ctx_.texts(kBadName) + entered);
    return name.value_or(QString());
}

void RecipeBook::becameCurrent(const QString& name) {
    current_ = name;
    if (!ctx_.tool.ToolIni.isEmpty()) ctx_.settings.SetIni(kStandardSection, kStandardKey, name, ctx_.tool.ToolIni);
}

bool RecipeBook::doLoadRecipe(const QString& entered) {
    const QString name = checkedName(entered);
    if (name.isEmpty()) return false;
    const QString file = existingRecipeFile(ctx_.tool.RecipeDir, name);
    if (file.isEmpty()) {
        tellOperator(ctx_.op, ctx_.texts, ctx_.texts(kNoSuchRecipe) + name);
        return false;
    }
    feedback_.setStatus(ctx_.texts(kLoading) + name);
    const RecipeRead read = readRecipeFile(file, writableGlobalCodes(ctx_));
    feedback_.setStatus(QString());
    const QString shown = QDir::toNativeSeparators(file);
    switch (read.status) {
    case RecipeReadStatus::Ok: break;
    case RecipeReadStatus::Missing:
        tellOperator(ctx_.op, ctx_.texts, ctx_.texts(kNoSuchRecipe) + name);
        return false;
    case RecipeReadStatus::Unreadable:
        tellOperator(ctx_.op, ctx_.texts, ctx_.texts(kUnreadable) + shown + kNewLine + read.error);
        return false;
    case RecipeReadStatus::TooLarge:
        tellOperator(ctx_.op, ctx_.texts, ctx_.texts(TextNo::FileTooLarge) + shown);
        return false;
    case RecipeReadStatus::NotARecipe:
        tellOperator(ctx_.op, ctx_.texts, ctx_.texts(kNotARecipe) + shown);
        return false;
    }
    const RecipeData& data = read.data;
    const int zones = std::min(ctx_.plant.ZoneCount, kMaxZones);
    int covered = 0;
    for (int z = 1; z <= zones; ++z) {
        const RecipeZone& rz = data.zones[static_cast<std::size_t>(z)];
        ZoneRecord& zone = ctx_.plant.zone(z);
        // A zone the recipe does not know keeps its targets and wants no mode:
        // its heating is not switched off by a recipe of a smaller tool.
        zone.PrevMode = static_cast<std::int16_t>(rz.present ? rz.mode : kNoValue);
        if (!rz.present) continue;
        ++covered;
        for (int p = 1; p <= rz.paramCount; ++p)
            ctx_.driver.ZoneParameters[static_cast<std::size_t>(p)].Target[static_cast<std::size_t>(z)] =
                static_cast<std::int16_t>(rz.params[static_cast<std::size_t>(p - 1)]);
    }
    for (GlobalParameter& g : ctx_.driver.GlobalParameters) {
        if (!g.Writable) continue;
        const auto it = data.globals.find(g.Code.toUpper());
        g.Target = static_cast<std::int16_t>(it == data.globals.end() ? kNoValue : it->second);
    }
    becameCurrent(name);
    QStringList notes;
    if (covered < zones)
        notes << ctx_.texts(kZonesCovered) + QString::number(covered) + QLatin1Char('/') + QString::number(zones) +
                     ctx_.texts(kZonesCoveredEnd);
    if (!data.damaged.isEmpty()) notes << ctx_.texts(kBadEntries) + data.damaged.mid(0, 12).join(QStringLiteral(", ")) +
                                              (data.damaged.size() > 12 ? QStringLiteral(", ...") : QString());
    if (!notes.isEmpty()) tellOperator(ctx_.op, ctx_.texts, notes.join(kNewLine));
    return true;
}

RecipeBook::Overwrite RecipeBook::askOverwrite(const QString& name) {
    if (existingRecipeFile(ctx_.tool.RecipeDir, name).isEmpty()) return Overwrite::Store;
    const int choice = ctx_.op.notice(ctx_.texts(kExists) + name + ctx_.texts(kOverwrite), ctx_.texts(kYes),
                                      ctx_.texts(kNo), ctx_.texts(kBack), kNoticeQuestion);
    return choice == 1 ? Overwrite::Store : choice == 2 ? Overwrite::OtherName : Overwrite::Stop;
}

bool RecipeBook::doSaveRecipe(const QString& entered) {
    const QString name = checkedName(entered);
    if (name.isEmpty()) return false;
    feedback_.setStatus(ctx_.texts(kStoring) + name);
    const int zones = std::min(ctx_.plant.ZoneCount, kMaxZones);
    RecipeContent content;
    content.params.resize(static_cast<std::size_t>(zones) + 1);
    content.modes.resize(static_cast<std::size_t>(zones) + 1, kNoValue);
    for (int z = 1; z <= zones; ++z) {
        for (int p = 1; p <= kZoneParameterCount; ++p)
            content.params[static_cast<std::size_t>(z)][static_cast<std::size_t>(p - 1)] =
                ctx_.driver.ZoneParameters[static_cast<std::size_t>(p)].Value[static_cast<std::size_t>(z)];
        content.modes[static_cast<std::size_t>(z)] = modeWishOf(ctx_.plant.zone(z));
    }
    // Every writable global, an unknown one as no value: a key of the old
    // recipe would otherwise be sent later as if it were this one's.
    for (const GlobalParameter& g : ctx_.driver.GlobalParameters)
        if (g.Writable) content.globals.emplace_back(g.Code, g.Value);
    const QString path = recipeFilePath(ctx_.tool.RecipeDir, name);
    const QString older = existingRecipeFile(ctx_.tool.RecipeDir, name);
    const profile::WriteResult written = profile::replaceFile(path, recipeText(content));
    feedback_.setStatus(QString());
    if (!written.ok) {
        tellOperator(ctx_.op, ctx_.texts,
                     ctx_.texts(TextNo::FileWriteFailed) + QDir::toNativeSeparators(path) + kNewLine +
                         reason(ctx_.texts, written.failure));
        return false;
    }
    // The same recipe under a name of another case would be listed twice.
    if (!older.isEmpty() && older != path) QFile::remove(older);
    for (int z = 1; z <= zones; ++z) {
        for (int p = 1; p <= kZoneParameterCount; ++p) {
            ZoneParameter& param = ctx_.driver.ZoneParameters[static_cast<std::size_t>(p)];
            param.Target[static_cast<std::size_t>(z)] = param.Value[static_cast<std::size_t>(z)];
        }
        ctx_.plant.zone(z).PrevMode = static_cast<std::int16_t>(modeWishOf(ctx_.plant.zone(z)));
    }
    for (GlobalParameter& g : ctx_.driver.GlobalParameters)
        if (g.Writable) g.Target = g.Value;
    if (ctx_.alarmLog) {
        AlarmLog* log = ctx_.alarmLog;
        guarded(ctx_.errors, QStringLiteral("frmParameter"), QStringLiteral("doSaveRecipe"), [&] {
            log->ErrLog(RecordType::Message, ctx_.texts(kUser), 0, ctx_.texts(kRecipe) + name + ctx_.texts(kStored));
        });
    }
    becameCurrent(name);
    return true;
}

}  // namespace zev
