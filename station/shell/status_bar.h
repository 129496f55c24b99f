// The main window's status bar `lblStatusbar(0..6)`: the clock (element 0, a
// click opens the system's date and time settings at user level 4), the most
// severe zone state (2), the outputs or "OFFLINE" (3), the user level's name
// (4) and its caption (6). Elements 1 and 5 have no content of their own.
#pragma once

#include <QStatusBar>
#include <array>
#include <cstdint>

class QDateTime;
class QLabel;

namespace zev {

struct AppContext;

class StatusBar final : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusBar(AppContext& ctx, QWidget* parent = nullptr);

    QLabel* lblStatusbar(int index) const { return labels_[static_cast<std::size_t>(index)]; }

    // TmrDate's painting once a second: the time with a blinking separator,
    // and while offline "OFFLINE" on green with element 2 empty.
    void showTime(const QDateTime& now, bool online);
    // The most severe zone state: button face without fault, light yellow up to
    // code 128, light red above; "Diagnose läuft" while a diagnosis runs.
    void showMaxAlarm(std::uint8_t code, const QString& text, bool diagnosisRunning);
    // "Ausgänge EIN" / "Ausgänge AUS" on the button face.
    void showOutputs(bool on);
    void showLevelName(int level);

    // A click on an element: the clock asks CheckLevel(4) and opens the date
    // and time settings (text 1519 when the system has no such program).
    void lblStatusbar_Click(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setStyle(QLabel* label, QString& shown, const QString& style);

    AppContext& ctx_;
    std::array<QLabel*, 7> labels_{};
    QString shownStyle2_;
};

}  // namespace zev
