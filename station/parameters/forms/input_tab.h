// Tab 3 of frmParameter: the input panel for the selected zones. The mode
// options optMode(0..2), the values lblZoneVal(0..4) (actual value, setpoint,
// output rate, heater current, the current zone parameter; a touch on the
// setpoint or the output rate enters a new value), the boost frame, the tuning
// frame with Check1 and cmdTune, the outputs frame with cmdON and picON_OFF, and
// cmdRESET. It only shows and reports touches; the view runs the commands.
#pragma once

#include "parameters/input_display.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace zev {

struct AppContext;

class InputTab final : public QWidget {
    Q_OBJECT
public:
    explicit InputTab(AppContext& ctx, QWidget* parent = nullptr);

    // Timer2_Timer's display of the selection.
    void showDisplay(const InputDisplay& display, int currentParameter, bool setpointLocked);
    void showBoost(bool active, const QString& countdown);
    void showOutputs(bool on);
    void setBoostOffered(bool offered);

    QPushButton* optMode(int index) const { return modes_[static_cast<std::size_t>(index)]; }
    QLabel* lblZoneVal(int index) const { return values_[static_cast<std::size_t>(index)]; }
    QPushButton* optBoost() const { return boost_; }
    QLabel* lblBoostTime() const { return boostTime_; }
    QCheckBox* Check1() const { return tuning_; }
    QPushButton* cmdTune() const { return tune_; }
    QPushButton* cmdON() const { return outputs_; }
    QLabel* picON_OFF() const { return outputsPicture_; }
    QPushButton* cmdRESET() const { return reset_; }
    QLabel* setpointLock() const { return lock_; }

signals:
    void modeClicked(int index);
    void valueClicked(int index);   // 1 setpoint, 2 output rate
    void boostClicked();
    void tuningClicked(bool on);
    void tuneAckClicked();
    void outputsClicked();
    void resetClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AppContext& ctx_;
    std::array<QPushButton*, 3> modes_{};
    std::array<QLabel*, 5> values_{};
    std::array<QLabel*, 5> captions_{};
    QGroupBox* boostFrame_ = nullptr;
    QPushButton* boost_ = nullptr;
    QLabel* boostTime_ = nullptr;
    QCheckBox* tuning_ = nullptr;
    QPushButton* tune_ = nullptr;
    QPushButton* outputs_ = nullptr;
    QLabel* outputsPicture_ = nullptr;
    QPushButton* reset_ = nullptr;
    QLabel* lock_ = nullptr;
};

}  // namespace zev
