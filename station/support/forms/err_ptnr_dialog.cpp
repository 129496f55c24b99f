#include "support/forms/err_ptnr_dialog.h"

#include "widgets/touch_style.h"
#include "support/texts.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zev {

ErrPtnrDialog::ErrPtnrDialog(Texts& texts, const ErrorReport& report, ErrorReportActions& actions,
                             QWidget* parent)
    : QDialog(parent), actions_(actions) {
    setObjectName(QStringLiteral("ErrPtnr"));
    setModal(true);
    setWindowTitle(texts(137));
    auto* layout = new QVBoxLayout(this);

    auto* headline = new QLabel(texts(137), this);
    headline->setFont(touch::captionFont());
    headline->setStyleSheet(QStringLiteral("color: #c00000;"));
    layout->addWidget(headline);

    auto* description = new QGroupBox(texts(147), this);
    auto* form = new QFormLayout(description);
    form->addRow(texts(151), new QLabel(report.number, description));
    form->addRow(texts(150), new QLabel(report.module, description));
    form->addRow(texts(149), new QLabel(report.procedure, description));
    form->addRow(texts(148), new QLabel(QString::number(report.line), description));
    layout->addWidget(description);

    auto* protocolBox = new QGroupBox(texts(143), this);
    auto* protocolLayout = new QVBoxLayout(protocolBox);
    auto* protocol = new QPlainTextEdit(report.protocol, protocolBox);
    protocol->setReadOnly(true);
    protocol->setMinimumSize(560, 180);
    protocolLayout->addWidget(protocol);
    auto* protocolButtons = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        auto* b = new QPushButton(texts(144 + i), protocolBox);
        touch::makeTouchButton(b);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdProtocol_Click(i); });
        protocolButtons->addWidget(b);
    }
    protocolLayout->addLayout(protocolButtons);
    layout->addWidget(protocolBox);

    auto* hints = new QGroupBox(texts(152), this);
    auto* hintLayout = new QVBoxLayout(hints);
    auto* hint = new QLabel(texts(129), hints);
    hint->setWordWrap(true);
    hintLayout->addWidget(hint);
    layout->addWidget(hints);

    auto* further = new QGroupBox(texts(138), this);
    auto* furtherLayout = new QGridLayout(further);
    const int captions[] = {142, 141, 140, 139};
    for (int i = 0; i < 4; ++i) {
        choices_[i] = new QPushButton(texts(captions[i]), further);
        choices_[i]->setObjectName(QStringLiteral("cmdContinue%1").arg(i));
        touch::makeTouchButton(choices_[i]);
        connect(choices_[i], &QPushButton::clicked, this, [this, i] { cmdContinue_Click(i); });
        furtherLayout->addWidget(choices_[i], i / 2, i % 2);
    }
    layout->addWidget(further);
}

void ErrPtnrDialog::cmdContinue_Click(int index) {
    choice_ = index;
    accept();
}

void ErrPtnrDialog::cmdProtocol_Click(int index) {
    if (index == 0) actions_.printProtocol();
    if (index == 1) actions_.storeProtocol();
}

}  // namespace zev
