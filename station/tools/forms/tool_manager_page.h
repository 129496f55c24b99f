// Page 3 of the configuration view, the tool manager: the drives by kind with
// their free space and their tools (lvwDrives), the content of the chosen tool
// by kind (lvwToolData) with the preview of its main process picture, and the
// commands. Tools are copied, exported and imported by dragging them onto a
// drive, content by dragging it onto a tool.
#pragma once

#include "tools/drives.h"
#include "tools/tool_content.h"
#include "tools/tool_manager.h"

#include <QTreeWidget>
#include <functional>
#include <optional>

class QLabel;

namespace zev {

struct AppContext;

// A tree whose drops are the page's commands: nothing is moved by the tree itself.
class DropTree final : public QTreeWidget {
    Q_OBJECT
public:
    using QTreeWidget::QTreeWidget;
    std::function<void(QTreeWidgetItem* source, QTreeWidgetItem* target)> onDrop;

protected:
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
};

class ToolManagerPage final : public QWidget {
    Q_OBJECT
public:
    // Item roles of both trees.
    enum Role { kRoleType = Qt::UserRole, kRoleDrive, kRoleName, kRoleKind, kRoleFile };
    enum ItemType { kItemDrive, kItemTool, kItemKind, kItemFile };

    ToolManagerPage(AppContext& ctx, DriveSources sources, QWidget* parent = nullptr);

    // The drives anew (volume arrival and removal), the selection kept where it can.
    void SearchLogicalDrives();
    void ShowTools();
    void GetToolData();

    void cmdChange_Click();
    void cmdNewTool_Click();
    void cmdCopyTool_Click();
    void cmdIportExportTool_Click();
    void cmdRenameTool_Click();
    void cmdDelete_Click();
    void cmdCopyDetail_Click();
    void cmdRenameDetail_Click();
    void cmdDeleteDetail_Click();
    // The drops: a tool onto a drive (or a tool of it), content onto a tool.
    void dropOnDrives(QTreeWidgetItem* source, QTreeWidgetItem* target);

    // Select a tool or a drive by path (tests and unattended runs).
    bool selectTool(const QString& toolDir);
    bool selectDrive(const QString& root);

    QTreeWidget* drives() const { return lvwDrives_; }
    QTreeWidget* content() const { return lvwToolData_; }
    const QList<Drive>& driveList() const { return driveList_; }
    ToolManager& manager() { return manager_; }

private:
    std::optional<ToolRef> selectedTool() const;
    std::optional<Drive> selectedDrive() const;
    std::optional<ToolRef> toolOf(QTreeWidgetItem* item) const;
    std::optional<ContentSelection> selectedContent() const;
    QString freeText(qint64 bytes) const;
    void run(const QString& procedure, const std::function<void()>& f);

    AppContext& ctx_;
    DriveSources sources_;
    ToolManager manager_;
    QList<Drive> driveList_;
    DropTree* lvwDrives_;
    DropTree* lvwToolData_;
    QLabel* preview_;
};

}  // namespace zev
