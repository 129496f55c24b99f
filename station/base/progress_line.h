// The action line of the splash window: progress texts of long operations go
// there while the splash window is shown and are dropped otherwise.
#pragma once

#include <QString>

namespace zev {

class ProgressLine {
public:
    virtual ~ProgressLine() = default;
    virtual bool shown() const = 0;
    virtual void setAction(const QString& text) = 0;   // replaces the line
    virtual void appendAction(const QString& text) = 0;  // e.g. " ."
    virtual QString action() const = 0;
};

}  // namespace zev
