// The active tool (mould data set): its paths and its group table.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace zev {

struct GroupRecord {
    QString Name;
    std::uint32_t Color = 0;       // platform colour value 0xBBGGRR
    std::uint32_t TextColor = 0;   // contrasts with Color
    bool Use = false;
    std::int16_t StartTemp = 0;
    std::int16_t DiagTime = 10;
    std::int16_t DiagPower = 0;
    std::int16_t BoostTime = 0;
    std::int16_t BoostPower = 0;
    bool Lock_W = false;
};

constexpr int kGroupCount = 8;   // groups 1..8; 0 is "without group"

struct ToolData {
    QString ToolName;
    QString ToolsDir;     // directory holding the tool directories, ends with "/"
    QString ToolDir;      // ToolsDir + ToolName + "/"
    QString LogFileDir;   // ToolDir + "LOGFILES/"
    QString RecipeDir;    // ToolDir + "parameter/"
    QString PicsDir;      // ToolDir + "PICS" (without a trailing "/")
    QString ToolIni;      // ToolDir + "SETTINGS.INI"
    QString CmdIni;       // program directory + "/cmd.ini"
    std::array<GroupRecord, kGroupCount + 1> Groups{};
};

}  // namespace zev
