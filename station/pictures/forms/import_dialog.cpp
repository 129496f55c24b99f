#include "pictures/forms/import_dialog.h"

#include "base/app_context.h"
#include "pictures/picture_import.h"
#include "support/operator.h"
#include "support/texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QVBoxLayout>

namespace zev {

namespace {
constexpr int kIsDirectory = Qt::UserRole + 1;
}

ImportDialog::ImportDialog(AppContext& ctx, PictureDir& dir, QWidget* parent) : QDialog(parent), ctx_(ctx), dir_(dir) {
    setObjectName(QStringLiteral("frmProcess_ImportBild"));
    setWindowTitle(ctx_.texts(1191));
    resize(760, 520);
    auto* col = new QVBoxLayout(this);
    cboDrive_ = new QComboBox(this);
    cboDrive_->setObjectName(QStringLiteral("cboDrive"));
    cboDrive_->setAccessibleName(ctx_.texts(897));
    cboDrive_->setMinimumHeight(40);
    col->addWidget(cboDrive_);
    lblDirectory_ = new QLabel(this);
    col->addWidget(lblDirectory_);
    auto* row = new QHBoxLayout;
    lstRoot_ = new QListWidget(this);
    lstRoot_->setObjectName(QStringLiteral("lstRoot"));
    lstRoot_->setAccessibleName(ctx_.texts(897));
    lstRoot_->setSelectionMode(QAbstractItemView::MultiSelection);
    row->addWidget(lstRoot_, 1);
    imgPreview_ = new QLabel(this);
    imgPreview_->setObjectName(QStringLiteral("imgPreview"));
    imgPreview_->setFixedSize(300, 220);
    imgPreview_->setAlignment(Qt::AlignCenter);
    imgPreview_->setFrameShape(QFrame::Box);
    row->addWidget(imgPreview_);
    col->addLayout(row, 1);
    auto* buttons = new QHBoxLayout;
    chkPreview_ = new QCheckBox(ctx_.texts(1193), this);
    chkPreview_->setObjectName(QStringLiteral("chkPreview"));
    chkPreview_->setChecked(true);
    buttons->addWidget(chkPreview_);
    buttons->addStretch();
    auto* import = new QPushButton(ctx_.texts(1192), this);
    import->setObjectName(QStringLiteral("cmdImport"));
    auto* cancel = new QPushButton(ctx_.texts(1194), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    for (QPushButton* b : {import, cancel}) {
        b->setMinimumSize(140, 48);
        buttons->addWidget(b);
    }
    col->addLayout(buttons);

    connect(cboDrive_, &QComboBox::activated, this, [this](int i) { Refresh_RootList(cboDrive_->itemData(i).toString()); });
    connect(lstRoot_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (item->data(kIsDirectory).toBool()) Refresh_RootList(item->data(Qt::UserRole).toString());
    });
    connect(lstRoot_, &QListWidget::itemSelectionChanged, this, &ImportDialog::showPreview);
    connect(chkPreview_, &QCheckBox::toggled, this, &ImportDialog::showPreview);
    connect(import, &QPushButton::clicked, this, &ImportDialog::cmdImport_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ShowDrives();
}

void ImportDialog::ShowDrives() {
    cboDrive_->clear();
    const QString stick = qEnvironmentVariable("ZEV_EXPORT_DRIVE");
    if (!stick.isEmpty() && QDir(stick).exists()) cboDrive_->addItem(stick, stick);
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        const QString root = v.rootPath();
        if (v.isValid() && v.isReady() && (root.startsWith(QLatin1String("/media")) || root.startsWith(QLatin1String("/run/media"))))
            cboDrive_->addItem(root, root);
    }
    cboDrive_->addItem(QDir::homePath(), QDir::homePath());
    cboDrive_->addItem(QStringLiteral("/"), QStringLiteral("/"));
    Refresh_RootList(cboDrive_->itemData(0).toString());
}

void ImportDialog::Refresh_RootList(const QString& path) {
    directory_ = QDir(path).absolutePath();
    lblDirectory_->setText(ctx_.texts(897) + QLatin1Char(' ') + QDir::toNativeSeparators(directory_));
    lstRoot_->clear();
    const QDir d(directory_);
    if (!d.isRoot()) {
        auto* up = new QListWidgetItem(QStringLiteral("[..]"), lstRoot_);
        up->setData(Qt::UserRole, d.absoluteFilePath(QStringLiteral("..")));
        up->setData(kIsDirectory, true);
    }
    for (const QFileInfo& f : d.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto* item = new QListWidgetItem(QLatin1Char('[') + f.fileName() + QLatin1Char(']'), lstRoot_);
        item->setData(Qt::UserRole, f.absoluteFilePath());
        item->setData(kIsDirectory, true);
    }
    for (const QFileInfo& f : d.entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        if (f.suffix().compare(QLatin1String("BMP"), Qt::CaseInsensitive) != 0) continue;
        auto* item = new QListWidgetItem(f.fileName(), lstRoot_);
        item->setData(Qt::UserRole, f.absoluteFilePath());
        item->setData(kIsDirectory, false);
    }
}

void ImportDialog::showPreview() {
    imgPreview_->clear();
    const auto chosen = lstRoot_->selectedItems();
    if (!chkPreview_->isChecked() || chosen.isEmpty() || chosen.last()->data(kIsDirectory).toBool()) return;
    QImageReader reader(chosen.last()->data(Qt::UserRole).toString(), "bmp");
    const QImage image = reader.read();
    if (!image.isNull()) imgPreview_->setPixmap(QPixmap::fromImage(image.scaled(imgPreview_->size() - QSize(4, 4), Qt::KeepAspectRatio)));
}

void ImportDialog::cmdImport_Click() {
    for (QListWidgetItem* item : lstRoot_->selectedItems()) {
        if (item->data(kIsDirectory).toBool()) continue;
        const ImportResult r = importPicture(ctx_, dir_, item->data(Qt::UserRole).toString());
        if (r.kind == ImportResult::Failed)
            ctx_.op.notice(r.message, ctx_.texts(193), QString(), QString(), kNoticeAlarm);
        else if (r.number >= 0)
            imported_ = r.number;
    }
    accept();
}

}  // namespace zev
