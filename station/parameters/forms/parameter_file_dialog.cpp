#include "parameters/forms/parameter_file_dialog.h"

#include "parameters/recipe_file.h"
#include "base/app_context.h"
#include "support/notices.h"
#include "support/operator.h"
#include "support/text_numbers.h"
#include "support/texts.h"
#include "widgets/touch_style.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace zev {

namespace {
constexpr int kNamePrompt = 1169, kLoadCaption = 1170, kSaveCaption = 1171, kNew = 1173;
constexpr int kBadName = 1105;

QPushButton* button(const QString& text, const QString& name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAccessibleName(name);
    touch::makeTouchButton(b);
    b->setMinimumWidth(140);
    return b;
}
}  // namespace

ParameterFileDialog::ParameterFileDialog(AppContext& ctx, bool save, const QStringList& names, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmParameterFile"));
    setWindowTitle(ctx.texts(save ? kSaveCaption : kLoadCaption));
    setModal(true);
    resize(520, 560);
    auto* layout = new QVBoxLayout(this);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("vbalParamRzp"));
    list_->setAccessibleName(list_->objectName());
    list_->setFont(touch::captionFont());
    list_->setStyleSheet(QStringLiteral("QListWidget::item { min-height: 44px; }"));
    list_->addItems(names);
    layout->addWidget(list_, 1);
    auto* row = new QHBoxLayout;
    new_ = button(ctx.texts(kNew), QStringLiteral("cmdNew"), this);
    new_->setVisible(save);
    ok_ = button(ctx.texts(TextNo::Ok), QStringLiteral("cmdOK"), this);
    ok_->setIcon(style()->standardIcon(save ? QStyle::SP_DialogSaveButton : QStyle::SP_DialogOpenButton));
    ok_->setIconSize(QSize(32, 32));
    abort_ = button(ctx.texts(TextNo::Cancel), QStringLiteral("cmdAbort"), this);
    row->addWidget(new_);
    row->addStretch(1);
    row->addWidget(ok_);
    row->addWidget(abort_);
    layout->addLayout(row);
    connect(ok_, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(abort_, &QPushButton::clicked, this, [this] { cmdAbort_Click(); });
    connect(new_, &QPushButton::clicked, this, [this] { cmdNew_Click(); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { cmdOK_Click(); });
}

void ParameterFileDialog::cmdOK_Click() {
    const QListWidgetItem* item = list_->currentItem();
    result_ = item && item->isSelected() ? item->text() : QString();
    accept();
}

void ParameterFileDialog::cmdAbort_Click() {
    result_.clear();
    reject();
}

void ParameterFileDialog::cmdNew_Click() {
    const std::optional<QString> entered = ctx_.op.enterText(ctx_.texts(kNamePrompt), QString());
    if (!entered) return;
    const std::optional<QString> name = recipeName(*entered);
    if (!name) {
        tellOperator(ctx_.op, ctx_.texts, ctx_.texts(kBadName) + *entered);
        return;
    }
    result_ = *name;
    accept();
}

QString LoadRezept(AppContext& ctx, const QStringList& names, QWidget* parent) {
    ParameterFileDialog dialog(ctx, false, names, parent);
    dialog.exec();
    return dialog.result();
}

QString SaveRezept(AppContext& ctx, const QStringList& names, QWidget* parent) {
    ParameterFileDialog dialog(ctx, true, names, parent);
    dialog.exec();
    return dialog.result();
}

}  // namespace zev
