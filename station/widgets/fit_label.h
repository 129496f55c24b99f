// A value label whose font is sized for the usual texts ("198 °C") and that
// draws a longer text ("-195 °C" at a cold start) smaller instead of cutting it:
// a clipped minus sign would show a wrong value.
#pragma once

#include <QLabel>

namespace zev {

class FitLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // The font the text is drawn in now (the label's font, or a smaller one).
    QFont drawnFont() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace zev
