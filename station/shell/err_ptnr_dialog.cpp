#include "shell/err_ptnr_dialog.h"

#include "widgets/touch_style.h"
#include "support/text_numbers.h"
#include "support/texts.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zev {

namespace {
// A value may be a long path or message: its label wraps after separators and
// inside words longer than a line, rather than widening the dialog beyond the
// screen. The protocol below shows the text unchanged.
QLabel* valueLabel(const QString& text, QWidget* parent) {
    const QChar breakHere(0x200B);  // zero-width space: a place to wrap
    QString shown;
    int run = 0;
    for (const QChar c : text) {
        shown += c;
        run = c.isSpace() ? 0 : run + 1;
        if (run >= 40 || QStringLiteral("/\\_.,;:").contains(c)) {
            shown += breakHere;
            run = 0;
        }
    }
    auto* label = new QLabel(shown, parent);
    label->setWordWrap(true);
    return label;
}
}  // namespace

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

    // Left the program and the failure, right where it happened.
    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* info = new QGroupBox(texts(146), this);
    info->setObjectName(QStringLiteral("fraProgInfo"));
    auto* infoLayout = new QVBoxLayout(info);
    infoLayout->addWidget(new QLabel(report.progInfo, info));
    left->addWidget(info);
    auto* description = new QGroupBox(texts(147), this);
    auto* form = new QFormLayout(description);
    form->addRow(texts(151), valueLabel(report.number, description));
    form->addRow(texts(150), valueLabel(report.module, description));
    form->addRow(texts(149), valueLabel(report.procedure, description));
    form->addRow(texts(148), new QLabel(QString::number(report.line), description));
    left->addWidget(description);
    top->addLayout(left, 3);
    auto* stackBox = new QGroupBox(texts(TextNo::CallStackCaption), this);
    auto* stackLayout = new QVBoxLayout(stackBox);
    auto* stack = new QListWidget(stackBox);
    stack->setObjectName(QStringLiteral("lstCallStack"));
    stack->addItems(report.callStack);
    stackLayout->addWidget(stack);
    top->addWidget(stackBox, 2);
    layout->addLayout(top);

    auto* protocolBox = new QGroupBox(texts(143), this);
    auto* protocolLayout = new QVBoxLayout(protocolBox);
    auto* protocol = new QPlainTextEdit(report.protocol, protocolBox);
    protocol->setReadOnly(true);
    protocol->setMinimumSize(560, 120);
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
