// Sizes for a touch panel: buttons large enough for a finger, texts readable
// from a metre away, scroll bars wide enough to grip.
#pragma once

#include <QFont>
#include <QProxyStyle>

class QAbstractButton;
class QTabWidget;

namespace zev::touch {

constexpr int kButtonHeight = 56;
constexpr int kButtonMinWidth = 140;
constexpr int kScrollBarExtent = 28;  // the enlarged scroll bars of the running station

QFont messageFont();
QFont captionFont();
void makeTouchButton(QAbstractButton* button);
// The tabs of a view's own tab bar a finger's height tall.
void makeTouchTabs(QTabWidget* tabs);
// Indicators of check and option boxes large enough for a finger.
QString applicationStyleSheet();

// The application style with an adjustable scroll-bar extent (the desktop's own
// extent is what the style reports without it).
class ScrollBarStyle : public QProxyStyle {
public:
    explicit ScrollBarStyle(QStyle* base = nullptr) : QProxyStyle(base) {}
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    void setExtent(int width, int height) { width_ = width; height_ = height; }
    int desktopWidth() const;
    int desktopHeight() const;

private:
    int width_ = 0;   // 0: the base style's value
    int height_ = 0;
};

}  // namespace zev::touch
