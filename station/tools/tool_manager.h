// The tool manager's commands on whole tools: the checks of a tool change,
// new, copy (also export and import: a copy between drives), rename, delete.
// Every question and message goes through the Operator seam.
#pragma once

#include "tools/drives.h"

#include <optional>

namespace zev {

struct AppContext;

// One tool on one drive.
struct ToolRef {
    Drive drive;
    QString name;
    QString dir() const { return drive.toolFolder + name; }
};

class ToolManager {
public:
    static constexpr qint64 kNewToolSpace = 734003200;  // 700 MiB

    explicit ToolManager(AppContext& ctx) : ctx_(ctx) {}

    bool isActive(const ToolRef& tool) const;
    // cmdChange_Click up to the tool change itself: the level, the refusals
    // (none selected, already active, on a removable drive, a wiring test or a
    // command that may not be stopped) and the new TOOLNAME/TOOLPATH in zev.ini.
    // True when the change is to follow.
    bool prepareChange(const std::optional<ToolRef>& tool);
    // cmdNewTool_Click: the new tool's name, or nullopt.
    std::optional<QString> newTool(const std::optional<Drive>& target);
    // DoCopyTool (copy, export and import): the new tool's name, or nullopt.
    std::optional<QString> copyTool(const ToolRef& source, const Drive& target);
    bool renameTool(const std::optional<ToolRef>& tool);
    bool deleteTool(const std::optional<ToolRef>& tool);

    // Deleted tools go to the desktop's trash where there is one.
    bool useTrash = true;

private:
    // Asks until the name is acceptable and free; nullopt when cancelled or refused.
    std::optional<QString> askToolName(const QString& prompt, const QString& preset, const QString& folder,
                                       int exists, int yes, int no, bool upper);
    void tell(const QString& text, int okText);

    AppContext& ctx_;
};

}  // namespace zev
