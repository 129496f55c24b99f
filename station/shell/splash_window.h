// The splash window `frmSplash`: shown while the station starts and stops; its
// action line `lblAction` carries the progress texts of long operations.
#pragma once

#include "base/progress_line.h"

#include <QWidget>

class QLabel;

namespace zev {

class SplashWindow : public QWidget, public ProgressLine {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* owner = nullptr);

    bool shown() const override { return isVisible(); }
    void setAction(const QString& text) override;
    void appendAction(const QString& text) override;
    QString action() const override;

private:
    QLabel* lblAction_;
};

}  // namespace zev
