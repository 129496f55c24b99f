// A view of the main window's client area (one tab of tabMain).
#pragma once

#include <QWidget>

namespace zev {

// Tab indexes of tabMain.
enum ViewIndex {
    kViewOverview = 0,
    kViewPictures = 1,
    kViewTrend = 2,
    kViewAlarms = 3,
    kViewParameters = 4,
    kViewGroups = 5,
    kViewDiagnosis = 6,
    kViewConfiguration = 7,
    kViewCount = 8,
    kNoPreviousView = 999
};

class View : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    // The view is about to be hidden.
    virtual void leaving() {}
    // The view is about to be shown; false refuses (the tab strip goes back).
    virtual bool entering(int previousTab) {
        Q_UNUSED(previousTab);
        return true;
    }
    // Live values changed (overview and process pictures).
    virtual void RefreshValues() {}
};

// A view whose content a later part of the program brings: it shows nothing but
// its caption's page.
class EmptyView final : public View {
    Q_OBJECT
public:
    explicit EmptyView(const QString& objectName, QWidget* parent = nullptr) : View(parent) {
        setObjectName(objectName);
    }
};

}  // namespace zev
