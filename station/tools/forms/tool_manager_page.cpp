#include "tools/forms/tool_manager_page.h"

#include "base/app_context.h"
#include "base/platform.h"
#include "link/link_session.h"
#include "plant/tool_data.h"
#include "support/notices.h"
#include "support/procedure.h"
#include "support/texts.h"
#include "support/user_levels.h"
#include "tools/tool_texts.h"
#include "widgets/touch_style.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace zev {

namespace {
const QString kForm = QStringLiteral("frmConfig");
}

void DropTree::dragEnterEvent(QDragEnterEvent* e) {
    if (qobject_cast<QTreeWidget*>(e->source())) e->acceptProposedAction();
}

void DropTree::dragMoveEvent(QDragMoveEvent* e) {
    if (qobject_cast<QTreeWidget*>(e->source())) e->acceptProposedAction();
}

void DropTree::dropEvent(QDropEvent* e) {
    auto* from = qobject_cast<QTreeWidget*>(e->source());
    QTreeWidgetItem* target = itemAt(e->position().toPoint());
    // The command does the copy; the trees are rebuilt from the disk afterwards.
    e->setDropAction(Qt::IgnoreAction);
    e->accept();
    if (from && from->currentItem() && target && onDrop) onDrop(from->currentItem(), target);
}

ToolManagerPage::ToolManagerPage(AppContext& ctx, DriveSources sources, QWidget* parent)
    : QWidget(parent), ctx_(ctx), sources_(std::move(sources)), manager_(ctx) {
    setObjectName(QStringLiteral("pageTools"));
    Texts& t = ctx.texts;
    auto* layout = new QVBoxLayout(this);
    auto* lists = new QHBoxLayout;
    const auto makeTree = [&](const QString& name, int caption) {
        auto* tree = new DropTree(this);
        tree->setObjectName(name);
        tree->setAccessibleName(t(caption));
        tree->setFont(touch::messageFont());
        tree->setHeaderHidden(true);
        tree->setColumnCount(1);
        tree->setDragEnabled(true);
        tree->setAcceptDrops(true);
        tree->setDragDropMode(QAbstractItemView::DragDrop);
        tree->setDefaultDropAction(Qt::CopyAction);
        tree->setStyleSheet(QStringLiteral("QTreeWidget::item { min-height: 34px; }"));
        return tree;
    };
    lvwDrives_ = makeTree(QStringLiteral("lvwDrives"), ToolText::ToolsCaption);
    lvwToolData_ = makeTree(QStringLiteral("lvwToolData"), ToolText::ContentCaption);
    lvwDrives_->onDrop = [this](QTreeWidgetItem* s, QTreeWidgetItem* tg) { dropOnDrives(s, tg); };
    lvwToolData_->setDragDropMode(QAbstractItemView::DragOnly);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    for (auto [box, caption, tree] : {std::tuple{left, ToolText::ToolsCaption, lvwDrives_},
                                      std::tuple{right, ToolText::ContentCaption, lvwToolData_}}) {
        auto* label = new QLabel(t(caption), this);
        label->setFont(touch::captionFont());
        label->setBuddy(tree);
        box->addWidget(label);
        box->addWidget(tree, 1);
    }
    preview_ = new QLabel(this);
    preview_->setObjectName(QStringLiteral("imgPreview"));
    preview_->setAccessibleName(t(ToolText::PreviewCaption));
    preview_->setFixedSize(240, 150);
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setFrameShape(QFrame::StyledPanel);
    right->addWidget(preview_, 0, Qt::AlignHCenter);
    lists->addLayout(left, 3);
    lists->addLayout(right, 2);
    layout->addLayout(lists, 1);

    struct Command {
        const char* name;
        int caption;
        void (ToolManagerPage::*slot)();
    };
    const Command commands[] = {
        {"cmdChange", ToolText::CmdChange, &ToolManagerPage::cmdChange_Click},
        {"cmdNewTool", ToolText::CmdNew, &ToolManagerPage::cmdNewTool_Click},
        {"cmdCopyTool", ToolText::CmdCopy, &ToolManagerPage::cmdCopyTool_Click},
        {"cmdIportExportTool", ToolText::CmdImportExport, &ToolManagerPage::cmdIportExportTool_Click},
        {"cmdRenameTool", ToolText::CmdRename, &ToolManagerPage::cmdRenameTool_Click},
        {"cmdDelete", ToolText::CmdDelete, &ToolManagerPage::cmdDelete_Click},
        {"cmdCopyDetail", ToolText::CmdCopyDetail, &ToolManagerPage::cmdCopyDetail_Click},
        {"cmdRenameDetail", ToolText::CmdRenameDetail, &ToolManagerPage::cmdRenameDetail_Click},
        {"cmdDeleteDetail", ToolText::CmdDeleteDetail, &ToolManagerPage::cmdDeleteDetail_Click},
    };
    auto* buttons = new QGridLayout;
    int i = 0;
    for (const Command& c : commands) {
        auto* b = new QPushButton(t(c.caption), this);
        b->setObjectName(QLatin1String(c.name));
        touch::makeTouchButton(b);
        b->setMinimumWidth(0);
        connect(b, &QPushButton::clicked, this, c.slot);
        // Three rows of three: the tool commands, then the content commands.
        buttons->addWidget(b, i / 3, i % 3);
        ++i;
    }
    layout->addLayout(buttons);

    connect(lvwDrives_, &QTreeWidget::currentItemChanged, this, [this] { GetToolData(); });
    SearchLogicalDrives();
}

void ToolManagerPage::run(const QString& procedure, const std::function<void()>& f) {
    guarded(ctx_.errors, kForm, procedure, f);
}

QString ToolManagerPage::freeText(qint64 bytes) const {
    const QLocale locale(ctx_.texts.language() == 1 ? QLocale::German : QLocale::English);
    if (bytes < 0) return QStringLiteral("?");
    const double gib = static_cast<double>(bytes) / (1024.0 * 1024.0 * 1024.0);
    return gib >= 1.0 ? locale.toString(gib, 'f', 1) + QStringLiteral(" GB")
                      : locale.toString(static_cast<double>(bytes) / (1024.0 * 1024.0), 'f', 0) + QStringLiteral(" MB");
}

void ToolManagerPage::SearchLogicalDrives() {
    run(QStringLiteral("SearchLogicalDrives"), [this] {
        driveList_ = SearchDrives(sources_, ctx_.tool.ToolsDir);
        ShowTools();
    });
}

void ToolManagerPage::ShowTools() {
    Texts& t = ctx_.texts;
    const auto kept = selectedTool();
    const auto keptDrive = selectedDrive();
    lvwDrives_->clear();
    for (int d = 0; d < driveList_.size(); ++d) {
        const Drive& drive = driveList_[d];
        const QStringList tools = toolsOn(drive);
        const int group = drive.kind == DriveKind::Removable ? ToolText::GroupRemovable
                          : drive.kind == DriveKind::Fixed   ? ToolText::GroupFixed
                                                             : ToolText::GroupRemote;
        auto* item = new QTreeWidgetItem(lvwDrives_);
        // A volume by its name (the mount point's last part), the tool count and free space below it.
        const QString where = drive.kind == DriveKind::Fixed ? QString() : QStringLiteral(" ") + QFileInfo(drive.root).fileName();
        item->setText(0, t(group) + where + QLatin1Char('\n') + QString::number(tools.size()) +
                             t(tools.size() == 1 ? ToolText::DriveOneTool : ToolText::DriveTools) + QStringLiteral(", ") +
                             freeText(ctx_.platform.diskFree(drive.root)) + t(ToolText::DriveFree));
        item->setToolTip(0, item->text(0) + QLatin1Char('\n') + drive.toolFolder);
        item->setData(0, kRoleType, kItemDrive);
        item->setData(0, kRoleDrive, d);
        for (const QString& name : tools) {
            auto* tool = new QTreeWidgetItem(item);
            const ToolRef ref{drive, name};
            const int recipes = recipeCount(ref.dir());
            const QString count = recipes == 0 ? t(ToolText::NoRecipes)
                                               : QString::number(recipes) +
                                                     t(recipes == 1 ? ToolText::OneRecipe : ToolText::Recipes);
            tool->setText(0, name + (manager_.isActive(ref) ? t(ToolText::ActiveMark) : QString()) +
                                 QStringLiteral("   ") + count);
            tool->setToolTip(0, ref.dir());
            tool->setData(0, kRoleType, kItemTool);
            tool->setData(0, kRoleDrive, d);
            tool->setData(0, kRoleName, name);
        }
        item->setExpanded(true);
    }
    if (kept) selectTool(kept->dir());
    else if (keptDrive) selectDrive(keptDrive->root);
    GetToolData();
}

void ToolManagerPage::GetToolData() {
    lvwToolData_->clear();
    preview_->clear();
    const auto tool = selectedTool();
    if (!tool) return;
    for (const ToolContent& c : zev::GetToolData(tool->dir())) {
        auto* kind = new QTreeWidgetItem(lvwToolData_);
        kind->setText(0, ctx_.texts(ToolText::KindRecipes + static_cast<int>(c.kind)) +
                             QStringLiteral(" (%1)").arg(c.files.size()));
        kind->setData(0, kRoleType, kItemKind);
        kind->setData(0, kRoleKind, static_cast<int>(c.kind));
        for (const QString& f : c.files) {
            auto* file = new QTreeWidgetItem(kind);
            file->setText(0, QFileInfo(f).fileName());
            file->setData(0, kRoleType, kItemFile);
            file->setData(0, kRoleKind, static_cast<int>(c.kind));
            file->setData(0, kRoleFile, f);
        }
    }
    const QString picture = mainPicture(tool->dir());
    const QPixmap pixmap(picture);
    if (!pixmap.isNull()) preview_->setPixmap(pixmap.scaled(preview_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

std::optional<ToolRef> ToolManagerPage::toolOf(QTreeWidgetItem* item) const {
    if (!item || item->data(0, kRoleType).toInt() != kItemTool) return std::nullopt;
    const int d = item->data(0, kRoleDrive).toInt();
    if (d < 0 || d >= driveList_.size()) return std::nullopt;
    return ToolRef{driveList_[d], item->data(0, kRoleName).toString()};
}

std::optional<ToolRef> ToolManagerPage::selectedTool() const { return toolOf(lvwDrives_->currentItem()); }

std::optional<Drive> ToolManagerPage::selectedDrive() const {
    QTreeWidgetItem* item = lvwDrives_->currentItem();
    if (!item) return std::nullopt;
    const int d = item->data(0, kRoleDrive).toInt();
    if (d < 0 || d >= driveList_.size()) return std::nullopt;
    return driveList_[d];
}

std::optional<ContentSelection> ToolManagerPage::selectedContent() const {
    QTreeWidgetItem* item = lvwToolData_->currentItem();
    const auto tool = selectedTool();
    if (!item || !tool) return std::nullopt;
    return ContentSelection{tool->dir(), static_cast<ContentKind>(item->data(0, kRoleKind).toInt()),
                            item->data(0, kRoleFile).toString()};
}

bool ToolManagerPage::selectTool(const QString& toolDir) {
    const QString wanted = QFileInfo(toolDir).absoluteFilePath();
    for (int d = 0; d < lvwDrives_->topLevelItemCount(); ++d)
        for (int i = 0; i < lvwDrives_->topLevelItem(d)->childCount(); ++i) {
            QTreeWidgetItem* item = lvwDrives_->topLevelItem(d)->child(i);
            if (QFileInfo(toolOf(item)->dir()).absoluteFilePath() == wanted) {
                lvwDrives_->setCurrentItem(item);
                return true;
            }
        }
    return false;
}

bool ToolManagerPage::selectDrive(const QString& root) {
    for (int d = 0; d < lvwDrives_->topLevelItemCount(); ++d)
        if (QFileInfo(driveList_[d].root).absoluteFilePath() == QFileInfo(root).absoluteFilePath()) {
            lvwDrives_->setCurrentItem(lvwDrives_->topLevelItem(d));
            return true;
        }
    return false;
}

void ToolManagerPage::cmdChange_Click() {
    run(QStringLiteral("cmdChange_Click"), [this] {
        if (manager_.prepareChange(selectedTool()) && ctx_.link) ctx_.link->requestToolChange();
    });
}

void ToolManagerPage::cmdNewTool_Click() {
    run(QStringLiteral("cmdNewTool_Click"), [this] {
        const auto drive = selectedDrive();
        if (const auto name = manager_.newTool(drive)) {
            ShowTools();
            selectTool(drive->toolFolder + *name);
        }
    });
}

void ToolManagerPage::cmdCopyTool_Click() {
    ctx_.op.notice(ctx_.texts(ToolText::CopyHint), QString(), ctx_.texts(ToolText::CopyHintOk), QString(), kNoticePlain);
}

void ToolManagerPage::cmdIportExportTool_Click() {
    ctx_.op.notice(ctx_.texts(ToolText::ExportHint), QString(), ctx_.texts(ToolText::ExportHintOk), QString(),
                   kNoticePlain);
}

void ToolManagerPage::cmdRenameTool_Click() {
    run(QStringLiteral("cmdRenameTool_Click"), [this] {
        if (manager_.renameTool(selectedTool())) ShowTools();
    });
}

void ToolManagerPage::cmdDelete_Click() {
    run(QStringLiteral("cmdDelete_Click"), [this] {
        if (manager_.deleteTool(selectedTool())) ShowTools();
    });
}

void ToolManagerPage::cmdCopyDetail_Click() {
    ctx_.op.notice(ctx_.texts(ToolText::DetailCopyHint), QString(), ctx_.texts(TextNo::Ok), QString(), kNoticePlain);
}

void ToolManagerPage::cmdRenameDetail_Click() {
    run(QStringLiteral("cmdRenameDetail_Click"), [this] {
        const auto what = selectedContent();
        if (what && ToolContentCommands(ctx_).renameDetail(*what)) ShowTools();
    });
}

void ToolManagerPage::cmdDeleteDetail_Click() {
    run(QStringLiteral("cmdDeleteDetail_Click"), [this] {
        const auto tool = selectedTool();
        if (ToolContentCommands(ctx_).deleteDetail(selectedContent(), tool && manager_.isActive(*tool))) ShowTools();
    });
}

void ToolManagerPage::dropOnDrives(QTreeWidgetItem* source, QTreeWidgetItem* target) {
    if (!source || !target) return;
    const int d = target->data(0, kRoleDrive).toInt();
    if (d < 0 || d >= driveList_.size()) return;
    if (source->treeWidget() == lvwDrives_) {
        const auto tool = toolOf(source);
        if (!tool) return;
        run(QStringLiteral("lvwDrives_OLEDragDrop"), [&] {
            if (manager_.copyTool(*tool, driveList_[d])) ShowTools();
        });
        return;
    }
    const auto to = toolOf(target);
    const auto what = selectedContent();
    if (!to || !what) return;
    run(QStringLiteral("lvwDetailDrives_OLEDragDrop"), [&] {
        if (ToolContentCommands(ctx_).copyTo(*what, to->dir())) ShowTools();
    });
}

}  // namespace zev
