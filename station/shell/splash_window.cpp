#include "shell/splash_window.h"

#include "widgets/touch_style.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace zev {

SplashWindow::SplashWindow(QWidget* owner) : QWidget(owner, Qt::SplashScreen | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setFixedSize(560, 220);
    setStyleSheet(QStringLiteral("QWidget#frmSplash { background: #1f3b5a; border: 2px solid #0d1f33; }"
                                 "QLabel { color: white; }"));
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("ZEV-Control"), this);
    QFont f = touch::captionFont();
    f.setPointSize(28);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    lblAction_ = new QLabel(this);
    lblAction_->setObjectName(QStringLiteral("lblAction"));
    lblAction_->setFont(touch::messageFont());
    lblAction_->setAlignment(Qt::AlignCenter);
    lblAction_->setWordWrap(true);
    layout->addWidget(lblAction_);
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void SplashWindow::setAction(const QString& text) {
    if (!isVisible()) return;
    lblAction_->setText(text);
}

void SplashWindow::appendAction(const QString& text) {
    if (!isVisible()) return;
    lblAction_->setText(lblAction_->text() + text);
}

QString SplashWindow::action() const { return lblAction_->text(); }

}  // namespace zev
