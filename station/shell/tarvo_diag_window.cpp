#include "shell/tarvo_diag_window.h"

#include "widgets/touch_style.h"
#include "support/texts.h"

#include <QLabel>
#include <QVBoxLayout>

namespace zev {

QString tarvoDiagText(Texts& texts, int inDiagnosis, int controllerCount) {
    if (controllerCount <= 1) return texts(1515);
    if (inDiagnosis >= controllerCount) return texts(1518);
    if (inDiagnosis == 1) return texts(1516);
    return QString::number(inDiagnosis) + texts(1517);
}

TarvoDiagWindow::TarvoDiagWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::CustomizeWindowHint) {
    setObjectName(QStringLiteral("frmTarvoDiag"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(QStringLiteral("ZEV-Control"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("lblDiag"));
    label_->setFont(touch::messageFont());
    label_->setWordWrap(true);
    label_->setAlignment(Qt::AlignCenter);
    label_->setMinimumWidth(420);
    layout->addWidget(label_);
    setStyleSheet(QStringLiteral("QWidget#frmTarvoDiag { background-color: #FFFF80; }"));
}

void TarvoDiagWindow::setText(const QString& text) {
    if (label_->text() != text) label_->setText(text);
}

QString TarvoDiagWindow::text() const { return label_->text(); }

}  // namespace zev
