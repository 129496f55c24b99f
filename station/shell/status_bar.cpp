#include "shell/status_bar.h"

#include "base/app_context.h"
#include "base/platform.h"
#include "shell/updater.h"
#include "support/notices.h"
#include "support/procedure.h"
#include "support/texts.h"
#include "support/user_levels.h"
#include "widgets/touch_style.h"

#include <QDateTime>
#include <QEvent>
#include <QLabel>

namespace zev {

namespace {
const QString kModule = QStringLiteral("main_form");
const QString kFaceStyle = QStringLiteral("background-color: palette(button);");
const QString kYellowStyle = QStringLiteral("background-color: #FFFF80;");  // 0x80FFFF
const QString kRedStyle = QStringLiteral("background-color: #FF8080;");     // 0x8080FF
const QString kOfflineStyle = QStringLiteral("background-color: #00FF00;");

void setText(QLabel* label, const QString& text) {
    if (label->text() != text) label->setText(text);
}
}  // namespace

StatusBar::StatusBar(AppContext& ctx, QWidget* parent) : QStatusBar(parent), ctx_(ctx) {
    setSizeGripEnabled(false);
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        labels_[i] = new QLabel(this);
        labels_[i]->setObjectName(QStringLiteral("lblStatusbar%1").arg(i));
        labels_[i]->setFont(touch::captionFont());
        labels_[i]->setMinimumHeight(36);
        labels_[i]->setAutoFillBackground(true);
        labels_[i]->setMargin(4);
    }
    QFont clock(QString::fromLatin1(kBundledFont.face), 18);
    labels_[0]->setFont(clock);
    labels_[0]->setCursor(Qt::PointingHandCursor);
    labels_[0]->installEventFilter(this);
    labels_[1]->hide();
    labels_[5]->hide();
    addWidget(labels_[6]);
    addWidget(labels_[4]);
    addWidget(labels_[2], 1);
    addPermanentWidget(labels_[3]);
    addPermanentWidget(labels_[0]);
}

void StatusBar::showTime(const QDateTime& now, bool online) {
    const bool blank = labels_[0]->text().contains(QLatin1Char(' '));
    labels_[0]->setText(now.time().toString(blank ? QStringLiteral("HH:mm") : QStringLiteral("HH mm")));
    if (online) return;
    labels_[3]->setText(QStringLiteral("OFFLINE"));
    labels_[3]->setStyleSheet(kOfflineStyle);
    labels_[2]->setText(QString());
}

void StatusBar::setStyle(QLabel* label, QString& shown, const QString& style) {
    if (shown == style) return;
    shown = style;
    label->setStyleSheet(style);
}

void StatusBar::showMaxAlarm(std::uint8_t code, const QString& text, bool diagnosisRunning) {
    QLabel* bar = labels_[2];
    if (diagnosisRunning) {
        setText(bar, ctx_.texts(1526));
        setStyle(bar, shownStyle2_, kYellowStyle);
        return;
    }
    setText(bar, text);
    setStyle(bar, shownStyle2_, code == 0 ? kFaceStyle : code <= 128 ? kYellowStyle : kRedStyle);
}

void StatusBar::showOutputs(bool on) {
    // The parameter view's on/off command and picture follow once that view exists.
    QLabel* bar = labels_[3];
    setText(bar, ctx_.texts(on ? 1508 : 1509));
    // The clock's painting shows "OFFLINE" green while offline.
    if (bar->styleSheet() != kFaceStyle) bar->setStyleSheet(kFaceStyle);
}

void StatusBar::showLevelName(int level) { labels_[4]->setText(ctx_.users.LevelName(level)); }

void StatusBar::lblStatusbar_Click(int index) {
    if (index != 0) return;
    guarded(ctx_.errors, kModule, QStringLiteral("lblStatusbar_Click"), [&] {
        if (!ctx_.users.CheckLevel(4)) return;
        if (!ctx_.platform.openDateTimeSettings()) tellOperator(ctx_.op, ctx_.texts, ctx_.texts(1519));
    });
}

bool StatusBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && watched == labels_[0]) {
        lblStatusbar_Click(0);
        return true;
    }
    return QStatusBar::eventFilter(watched, event);
}

}  // namespace zev
