// Suspends a widget's repainting for the rest of a refresh from the first label
// that changes: the refresh becomes visible in one step, and a refresh that
// changes nothing leaves repainting alone (re-enabling repaints the whole widget).
#pragma once

#include <QPointer>
#include <QWidget>

namespace zev {

class RepaintSuspension {
public:
    explicit RepaintSuspension(QWidget* widget) : widget_(widget) {}
    ~RepaintSuspension() {
        if (suspended_ && widget_) widget_->setUpdatesEnabled(true);
    }
    RepaintSuspension(const RepaintSuspension&) = delete;
    RepaintSuspension& operator=(const RepaintSuspension&) = delete;

    // Passes on the result of a display rule; suspends at the first change.
    void note(bool changed) {
        if (!changed) return;
        ++changes_;
        if (suspended_ || !widget_ || !widget_->updatesEnabled()) return;
        widget_->setUpdatesEnabled(false);
        suspended_ = true;
    }
    int changes() const { return changes_; }
    bool suspended() const { return suspended_; }

private:
    QPointer<QWidget> widget_;
    bool suspended_ = false;
    int changes_ = 0;
};

}  // namespace zev
