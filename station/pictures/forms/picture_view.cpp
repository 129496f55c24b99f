#include "pictures/forms/picture_view.h"

#include "base/app_context.h"
#include "base/notification_hub.h"
#include "link/link_session.h"
#include "pictures/forms/import_dialog.h"
#include "pictures/forms/picture_canvas.h"
#include "pictures/picture_dir.h"
#include "pictures/picture_messages.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "support/operator.h"
#include "support/procedure.h"
#include "support/store_failure.h"
#include "support/texts.h"
#include "support/user_levels.h"
#include "widgets/display_rules.h"
#include "widgets/touch_style.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QFileInfo>
#include <QImageReader>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace zev {

namespace {
constexpr int kCommandWidth = 210;
constexpr int kKindTexts[] = {849, 850, 881, 882};

QPixmap loadBitmap(const QString& path) {
    QImageReader reader(path, "bmp");  // the content decides, never the name alone
    const QImage image = reader.read();
    return QPixmap::fromImage(image);
}
}  // namespace

PictureView::PictureView(AppContext& ctx, QWidget* parent)
    : View(parent), ctx_(ctx), dir_(std::make_unique<PictureDir>(ctx.tool.PicsDir)) {
    setObjectName(QStringLiteral("frmNewProcess"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 4, 4, 4);
    stack_ = new QStackedWidget(this);
    canvas_ = new PictureCanvas(stack_);
    imgView_ = new QListWidget(stack_);
    imgView_->setObjectName(QStringLiteral("imgView"));
    imgView_->setAccessibleName(ctx_.texts(883));
    imgView_->setViewMode(QListView::IconMode);
    imgView_->setIconSize(QSize(180, 120));
    imgView_->setGridSize(QSize(200, 160));
    imgView_->setResizeMode(QListView::Adjust);
    imgView_->setMovement(QListView::Static);
    stack_->addWidget(canvas_);
    stack_->addWidget(imgView_);
    row->addWidget(stack_, 1);
    auto* column = new QWidget(this);
    column->setFixedWidth(kCommandWidth);
    buildCommands(column);
    row->addWidget(column);

    connect(canvas_, &PictureCanvas::gotoClicked, this, &PictureView::lblGoto_Click);
    connect(canvas_, &PictureCanvas::selectionChanged, this, &PictureView::refreshEditor);
    connect(canvas_, &PictureCanvas::changed, this, &PictureView::placeTitles);
    connect(imgView_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (!NeedSaveChanges()) return;
        LoadBild(item->data(Qt::UserRole).toInt());
        showPreviews(false);
    });
    ctx_.hub.subscribe(Msg::ZoneNamesChanged, this, [this] { placeTitles(); });
    SetConfig(false);
    LoadBild(0);
}

PictureView::~PictureView() = default;

void PictureView::buildCommands(QWidget* column) {
    Texts& t = ctx_.texts;
    auto* col = new QVBoxLayout(column);
    col->setContentsMargins(0, 0, 0, 0);
    col->setSpacing(4);
    auto button = [&](const char* name, int text, auto slot) {
        auto* b = new QPushButton(t(text), column);
        b->setObjectName(QLatin1String(name));
        b->setMinimumHeight(44);
        connect(b, &QPushButton::clicked, this, slot);
        col->addWidget(b);
        return b;
    };
    cmdViews_ = button("cmdViews", 883, [this] { showPreviews(stack_->currentWidget() != imgView_); });
    cmdEditView_ = button("cmdEditView", 810, [this] { SetConfig(!canvas_->editing()); });
    cmdEditView_->setCheckable(true);
    cmdSetMainView_ = button("cmdSetMainView", 809, [this] { cmdSetMainView_Click(); });
    cmdRenameView_ = button("cmdRenameView", 817, [this] { cmdRenameView_Click(); });
    cmdDeleteView_ = button("cmdDeleteView", 818, [this] { DeleteView(); });
    cmdImport_ = button("cmdImport", 819, [this] { cmdImport_Click(); });

    editor_ = new QWidget(column);
    auto* ed = new QVBoxLayout(editor_);
    ed->setContentsMargins(0, 6, 0, 0);
    ed->setSpacing(4);
    auto* images = new QHBoxLayout;
    for (int k = 0; k < 2; ++k) {
        auto* img = new QLabel(t(k == 0 ? 820 : 821), editor_);
        img->setObjectName(QStringLiteral("imgCmd%1").arg(k));
        img->setAccessibleName(img->text());
        img->setAlignment(Qt::AlignCenter);
        img->setFrameShape(QFrame::Panel);
        img->setFrameShadow(QFrame::Raised);
        img->setLineWidth(2);
        img->setMinimumHeight(44);
        img->setCursor(Qt::OpenHandCursor);
        img->installEventFilter(this);
        images->addWidget(img);
        imgCmd_[k] = img;
    }
    ed->addLayout(images);
    cboWhat_ = new QComboBox(editor_);
    cboWhat_->setObjectName(QStringLiteral("cboWhat"));
    cboWhat_->setAccessibleName(t(820));
    for (int n : kKindTexts) cboWhat_->addItem(t(n));
    cboWhat_->setMinimumHeight(36);
    ed->addWidget(cboWhat_);
    lstZonename_ = new QListWidget(editor_);
    lstZonename_->setObjectName(QStringLiteral("lstZonename"));
    lstZonename_->setAccessibleName(t(757).trimmed());
    ed->addWidget(lstZonename_, 2);
    auto* targetCaption = new QLabel(t(kTextTarget), editor_);
    ed->addWidget(targetCaption);
    lstTarget_ = new QListWidget(editor_);
    lstTarget_->setObjectName(QStringLiteral("lstTarget"));
    lstTarget_->setAccessibleName(t(kTextTarget));
    targetCaption->setBuddy(lstTarget_);
    ed->addWidget(lstTarget_, 1);
    chkShowTitle_ = new QCheckBox(t(833), editor_);
    chkShowTitle_->setObjectName(QStringLiteral("chkShowTitle"));
    ed->addWidget(chkShowTitle_);
    auto* edButtons = new QHBoxLayout;
    cmdDeleteElement_ = new QPushButton(t(kTextDeleteElement), editor_);
    cmdDeleteElement_->setObjectName(QStringLiteral("cmdDeleteElement"));
    cmdSave_ = new QPushButton(t(kTextSave), editor_);
    cmdSave_->setObjectName(QStringLiteral("cmdSave"));
    for (QPushButton* b : {cmdDeleteElement_, cmdSave_}) {
        b->setMinimumHeight(44);
        edButtons->addWidget(b);
    }
    ed->addLayout(edButtons);
    col->addWidget(editor_, 1);
    col->addStretch();

    connect(lstZonename_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) canvas_->setValueZone(canvas_->selectedValue(), row + 1, cboWhat_->currentIndex());
    });
    connect(cboWhat_, &QComboBox::currentIndexChanged, this, [this](int what) {
        const int v = canvas_->selectedValue();
        if (v >= 0) canvas_->setValueZone(v, canvas_->layout().values[static_cast<size_t>(v)].zone, what);
    });
    connect(lstTarget_, &QListWidget::currentTextChanged, this, [this](const QString& target) {
        if (!target.isEmpty()) canvas_->setTouchTarget(canvas_->selectedTouch(), target);
    });
    connect(chkShowTitle_, &QCheckBox::toggled, this, [this](bool on) {
        if (on == canvas_->layout().showTitle) return;
        canvas_->setShowTitle(on);
        placeTitles();
    });
    connect(cmdDeleteElement_, &QPushButton::clicked, this, [this] { canvas_->deleteSelected(); });
    connect(cmdSave_, &QPushButton::clicked, this, [this] { SaveBild(); });
}

void PictureView::tell(const QString& message) {
    ctx_.op.notice(message, ctx_.texts(193), QString(), QString(), kNoticeAlarm);
}

void PictureView::LoadBild(int number) {
    Procedure p(ctx_.errors, QStringLiteral("frmNewProcess"), QStringLiteral("LoadBild"));
    p.step([&] {
        dir_ = std::make_unique<PictureDir>(ctx_.tool.PicsDir);
        number_ = number;
        const QString ini = dir_->iniPath(number);
        const LayoutRead read = readLayout(ini);
        saved_ = read.layout;
        std::vector<bool> shown;
        for (const PictureValue& v : read.layout.values) shown.push_back(shownZone(v.zone, ctx_.plant.ZoneCount));
        QString message;
        QPixmap pixmap;
        if (read.status == LayoutRead::Missing && !QFileInfo::exists(dir_->bmpPath(number))) {
            message = ctx_.texts(kTextNoViews);
        } else {
            pixmap = loadBitmap(dir_->bmpPath(number));
            if (pixmap.isNull()) message = ctx_.texts(kTextBackgroundNotLoaded) + dir_->bmpPath(number);
        }
        canvas_->setBackground(pixmap, message);
        canvas_->setLayout(read.layout, shown);
        canvas_->setEditing(cmdEditView_->isChecked());
        placeTitles();
        RefreshValues();
        // A damaged layout is told once per file, not at every visit.
        const QString damage = layoutReadText(ctx_.texts, ini, read);
        if (!damage.isEmpty() && !toldFiles_.contains(ini)) {
            toldFiles_.insert(ini);
            tell(damage);
        }
    });
}

bool PictureView::SaveBild() {
    if (number_ < 0) return true;
    const QString path = dir_->iniPath(number_);
    // A layout too large to read was never shown: it is not replaced by the empty one.
    if (const LayoutRead read = readLayout(path); read.status == LayoutRead::TooLarge) {
        tell(layoutReadText(ctx_.texts, path, read));
        return false;
    }
    const PictureLayout l = canvas_->layout();
    const profile::WriteResult w = writeLayout(path, l);
    if (!w.ok) {
        tell(ctx_.texts(kTextLayoutNotSaved) + QDir::toNativeSeparators(path) + QStringLiteral("\r\n") +
             storeFailureReason(ctx_.texts, w.failure));
        return false;
    }
    saved_ = l;
    return true;
}

bool PictureView::NeedSaveChanges() {
    if (number_ < 0 || canvas_->layout() == saved_) return true;
    if (ctx_.op.notice(ctx_.texts(801), ctx_.texts(802), ctx_.texts(803), QString(), kNoticeQuestion) != 1) {
        saved_ = canvas_->layout();  // the operator let them go
        LoadBild(number_);
        return true;
    }
    return SaveBild();
}

void PictureView::SetConfig(bool on) {
    if (on && !ctx_.users.CheckLevel(3)) on = false;
    if (!on && canvas_->editing() && !NeedSaveChanges()) on = true;
    canvas_->setEditing(on);
    cmdEditView_->setChecked(on);
    editor_->setVisible(on);
    for (QPushButton* b : {cmdSetMainView_, cmdRenameView_, cmdDeleteView_, cmdImport_}) b->setVisible(on);
    if (on) {
        lstZonename_->clear();
        for (int z = 1; z <= ctx_.plant.ZoneCount; ++z)
            lstZonename_->addItem(QStringLiteral("%1  %2").arg(z, 3, 10, QLatin1Char('0')).arg(ctx_.plant.zone(z).Name));
        lstTarget_->clear();
        for (const PictureEntry& e : dir_->list()) lstTarget_->addItem(e.name);
        chkShowTitle_->setChecked(canvas_->layout().showTitle);
    }
    placeTitles();
    RefreshValues();
}

void PictureView::refreshEditor() {
    const int v = canvas_->selectedValue(), t = canvas_->selectedTouch();
    const PictureLayout l = canvas_->layout();
    QSignalBlocker b1(lstZonename_), b2(cboWhat_), b3(lstTarget_);
    lstZonename_->setEnabled(v >= 0);
    cboWhat_->setEnabled(v >= 0);
    lstTarget_->setEnabled(t >= 0);
    cmdDeleteElement_->setEnabled(v >= 0 || t >= 0);
    if (v >= 0) {
        lstZonename_->setCurrentRow(l.values[static_cast<size_t>(v)].zone - 1);
        cboWhat_->setCurrentIndex(std::clamp(l.values[static_cast<size_t>(v)].what, 0, 3));
    }
    if (t >= 0) {
        const auto items = lstTarget_->findItems(l.touches[static_cast<size_t>(t)].target, Qt::MatchExactly);
        lstTarget_->setCurrentItem(items.isEmpty() ? nullptr : items.first());
    }
}

void PictureView::placeTitles() {
    for (QLabel* l : titles_) delete l;
    titles_.clear();
    const PictureLayout l = canvas_->layout();
    const auto& fields = canvas_->valueFields();
    for (size_t i = 0; i < fields.size(); ++i) {
        QLabel* f = fields[i];
        if (!f) continue;
        const PictureValue& v = l.values[i];
        const QString name = ctx_.plant.zone(v.zone).Name;
        f->setAccessibleName(name + QLatin1Char(' ') + ctx_.texts(kKindTexts[std::clamp(v.what, 0, 3)]));
        if (canvas_->editing()) {
            applyLook(f, {name, look::white(), look::black(), false});
        }
        if (!l.showTitle) continue;
        auto* title = new QLabel(name, canvas_);
        title->setAttribute(Qt::WA_TransparentForMouseEvents);
        title->setAutoFillBackground(true);
        title->setGeometry(v.rect.x(), v.rect.y() - 18, std::max(v.rect.width(), 60), 18);
        title->show();
        titles_.push_back(title);
    }
}

int PictureView::chosenZone() const {
    const int row = lstZonename_->currentRow();
    return row >= 0 ? row + 1 : 1;
}

void PictureView::RefreshValues() {
    if (canvas_->editing()) return;
    const bool online = ctx_.link && ctx_.link->Online();
    const PictureLayout& l = canvas_->layout();
    const auto& fields = canvas_->valueFields();
    for (size_t i = 0; i < fields.size(); ++i) {
        if (!fields[i]) continue;
        if (online) DispVal(ctx_, l.values[i].zone, fields[i], l.values[i].what);
        else applyLook(fields[i], blankLook());
    }
}

void PictureView::lblGoto_Click(int index) {
    if (canvas_->editing()) return;
    const PictureLayout l = canvas_->layout();
    if (index < 0 || index >= static_cast<int>(l.touches.size())) return;
    if (const auto target = dir_->findByName(l.touches[static_cast<size_t>(index)].target)) LoadBild(*target);
}

void PictureView::cmdSetMainView_Click() {
    if (number_ <= 0 || !NeedSaveChanges()) return;
    const PictureFailure f = dir_->exchangeWithMain(number_);
    if (f) {
        tell(pictureFailureText(ctx_.texts, f));
        return;
    }
    LoadBild(0);
}

void PictureView::cmdRenameView_Click() {
    if (number_ < 0 || !NeedSaveChanges()) return;
    const auto name = ctx_.op.enterText(ctx_.texts(804), canvas_->layout().name);
    if (!name || layoutName(*name).isEmpty()) return;
    const PictureFailure f = dir_->rename(number_, *name);
    if (f) tell(pictureFailureText(ctx_.texts, f));
    LoadBild(number_);
    SetConfig(canvas_->editing());
}

void PictureView::DeleteView() {
    if (number_ < 0) return;
    const QString question = ctx_.texts(805) + canvas_->layout().name + ctx_.texts(806);
    if (ctx_.op.notice(question, ctx_.texts(807), ctx_.texts(808), QString(), kNoticeQuestion) != 1) return;
    const PictureFailure f = dir_->remove(number_);
    if (f) tell(pictureFailureText(ctx_.texts, f));
    const auto list = dir_->list();
    saved_ = {};
    LoadBild(list.empty() ? 0 : list.front().number);
}

void PictureView::cmdImport_Click() {
    if (!NeedSaveChanges()) return;
    ImportDialog dialog(ctx_, *dir_, this);
    dialog.exec();
    if (dialog.imported() >= 0) LoadBild(dialog.imported() == number_ || number_ < 0 ? dialog.imported() : number_);
    SetConfig(canvas_->editing());
}

void PictureView::CreateViewPreviews() {
    imgView_->clear();
    for (const PictureEntry& e : dir_->list()) {
        auto* item = new QListWidgetItem(e.name.isEmpty() ? PictureDir::fileName(e.number, QStringLiteral("INI")) : e.name);
        const QPixmap p = e.bmpPath.isEmpty() ? QPixmap() : loadBitmap(e.bmpPath);
        if (!p.isNull()) item->setIcon(QIcon(p.scaled(imgView_->iconSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        item->setData(Qt::UserRole, e.number);
        imgView_->addItem(item);
    }
}

void PictureView::showPreviews(bool on) {
    if (on) CreateViewPreviews();
    stack_->setCurrentWidget(on ? static_cast<QWidget*>(imgView_) : canvas_);
}

bool PictureView::eventFilter(QObject* watched, QEvent* e) {
    const int k = watched == imgCmd_[0] ? 0 : watched == imgCmd_[1] ? 1 : -1;
    if (k < 0) return View::eventFilter(watched, e);
    if (e->type() == QEvent::MouseButtonPress) {
        // imgCmd_Click: new elements only at level 3 and in the editor.
        dragging_ = canvas_->editing() && ctx_.users.CheckLevel(3) ? imgCmd_[k] : nullptr;
        return true;
    }
    if (e->type() == QEvent::MouseButtonRelease && dragging_ == imgCmd_[k]) {
        dragging_ = nullptr;
        const QPoint at = canvas_->mapFromGlobal(static_cast<QMouseEvent*>(e)->globalPosition().toPoint());
        if (!canvas_->rect().contains(at)) return true;
        if (k == 0) canvas_->createValue(at, chosenZone(), cboWhat_->currentIndex());
        else canvas_->createTouch(at, lstTarget_->currentItem() ? lstTarget_->currentItem()->text() : canvas_->layout().name);
        placeTitles();
        return true;
    }
    return View::eventFilter(watched, e);
}

void PictureView::leaving() {
    showPreviews(false);
    if (canvas_->editing()) SetConfig(false);
}

bool PictureView::entering(int) {
    if (dir_->dir() != ctx_.tool.PicsDir) LoadBild(0);
    RefreshValues();
    return true;
}

}  // namespace zev
