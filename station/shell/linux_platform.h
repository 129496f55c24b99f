#pragma once

#include "base/platform.h"

namespace zev {

namespace touch {
class ScrollBarStyle;
}

class LinuxPlatform final : public Platform {
public:
    // The style is the application's (owned by QApplication).
    explicit LinuxPlatform(touch::ScrollBarStyle* style) : style_(style) {}

    int scrollBarWidth() const override;
    int scrollBarHeight() const override;
    void setScrollBars(int width, int height) override;
    bool fontExists(const QString& face) const override;
    int addFont(const QString& file) override;
    QString kioskShell() const override;
    QString programFile() const override;
    bool powerOff(QString* error) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;
    qint64 diskFree(const QString& path) const override;
    bool openDateTimeSettings() override;

private:
    touch::ScrollBarStyle* style_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace zev
