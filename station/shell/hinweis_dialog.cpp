#include "shell/hinweis_dialog.h"

#include "widgets/touch_style.h"
#include "support/operator.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace zev {

HinweisDialog::HinweisDialog(const QString& text, const QString& button1, const QString& button2,
                             const QString& button3, int kind, QWidget* parent)
    : QDialog(parent), kind_(kind) {
    setObjectName(QStringLiteral("Hinweis"));
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    text_ = new QLabel(text, this);
    text_->setWordWrap(true);
    text_->setMinimumWidth(480);
    text_->setFont(touch::messageFont());
    layout->addWidget(text_);
    auto* row = new QHBoxLayout;
    const QString captions[] = {button1, button2, button3};
    for (int i = 0; i < 3; ++i) {
        buttons_[i] = new QPushButton(captions[i], this);
        buttons_[i]->setObjectName(QStringLiteral("button%1").arg(i + 1));
        touch::makeTouchButton(buttons_[i]);
        buttons_[i]->setVisible(!captions[i].isEmpty());
        connect(buttons_[i], &QPushButton::clicked, this, [this, i] {
            pressed_ = i + 1;
            accept();
        });
        row->addWidget(buttons_[i]);
    }
    layout->addLayout(row);
    if (kind_ == kNoticeAlarm || kind_ == kNoticeAutoClose) {
        timer_ = new QTimer(this);
        timer_->setInterval(kTickMs);
        connect(timer_, &QTimer::timeout, this, &HinweisDialog::tick);
        timer_->start();
    }
}

QPushButton* HinweisDialog::button(int n) const { return n >= 1 && n <= 3 ? buttons_[n - 1] : nullptr; }

void HinweisDialog::tick() {
    ++ticks_;
    if (kind_ == kNoticeAlarm) {
        red_ = !red_;
        setStyleSheet(red_ ? QStringLiteral("QDialog#Hinweis { border: 8px solid red; }")
                           : QStringLiteral("QDialog#Hinweis { border: 8px solid palette(button); }"));
    } else if (kind_ == kNoticeAutoClose && ticks_ >= kAutoCloseTicks) {
        timer_->stop();
        reject();
    }
}

}  // namespace zev
