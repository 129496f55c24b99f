// The notice dialog `Hinweis`: a text and up to three buttons (an empty caption
// hides its button). Kind 3 flashes its frame between red and the button face on
// every tick; kind 4 closes itself after the seventh tick; kind 5 is the
// critical message box (critical icon, title "ZEVcontrol 2").
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

namespace zev {

class HinweisDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTickMs = 500;
    static constexpr int kAutoCloseTicks = 7;

    HinweisDialog(const QString& text, const QString& button1, const QString& button2,
                  const QString& button3, int kind, QWidget* parent = nullptr);

    // The pressed button 1..3; 0 when the dialog closed by itself.
    int pressed() const { return pressed_; }
    int ticks() const { return ticks_; }
    QPushButton* button(int n) const;
    // The critical icon of kind 5 (null for the other kinds).
    QLabel* icon() const { return icon_; }
    void tick();

private:
    int kind_;
    int pressed_ = 0;
    int ticks_ = 0;
    bool red_ = false;
    QLabel* text_ = nullptr;
    QLabel* icon_ = nullptr;
    QPushButton* buttons_[3] = {};
    QTimer* timer_ = nullptr;
};

}  // namespace zev
