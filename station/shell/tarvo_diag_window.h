// The small window `frmTarvoDiag` that tells the operator that controllers are
// running their own diagnosis. The main cycle shows it while at least one
// controller reports its diagnosis and closes it when none does.
#pragma once

#include <QWidget>

class QLabel;

namespace zev {

class Texts;

// The window's text for `inDiagnosis` controllers of `controllerCount`.
QString tarvoDiagText(Texts& texts, int inDiagnosis, int controllerCount);

class TarvoDiagWindow final : public QWidget {
    Q_OBJECT
public:
    // owner: the main window the small window stays above (not its parent, so
    // that it is a window of its own).
    explicit TarvoDiagWindow(QWidget* owner);
    void setText(const QString& text);
    QString text() const;

private:
    QLabel* label_;
};

}  // namespace zev
