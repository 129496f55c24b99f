// The picture area (picToolBuilder): the background bitmap with the value
// fields (lblMesswert) and go-to buttons (lblGoto) placed on it in pixels of
// the bitmap. Outside the editor a go-to button is pressed like a button; in
// the editor every element is selected by a press, moved by dragging it and
// resized by dragging its lower right corner, and new elements are dropped on
// the picture from the command images.
#pragma once

#include "pictures/picture_layout.h"

#include <QLabel>
#include <QPixmap>
#include <QWidget>
#include <vector>

namespace zev {

class PictureCanvas final : public QWidget {
    Q_OBJECT
public:
    // A press this close to an element's lower right corner resizes it.
    static constexpr int kGrip = 14;
    static constexpr int kMinSize = 16;

    explicit PictureCanvas(QWidget* parent = nullptr);

    // The background; a null pixmap shows `message` instead.
    void setBackground(const QPixmap& pixmap, const QString& message);
    // Elements anew from a layout; `shown` tells which value entries get a
    // field (the others are kept for saving but not placed).
    void setLayout(const PictureLayout& layout, const std::vector<bool>& shown);
    // The layout on screen, hidden entries in their places.
    PictureLayout layout() const;

    void setEditing(bool on);
    bool editing() const { return editing_; }

    const std::vector<QLabel*>& valueFields() const { return valueFields_; }
    const std::vector<QLabel*>& gotoButtons() const { return gotoButtons_; }
    // Index of the selected value field or go-to button (-1: none).
    int selectedValue() const { return selectedValue_; }
    int selectedTouch() const { return selectedTouch_; }

    // CreateNewValue, CreateNewTouch: a new element with its upper left corner at `at`.
    void createValue(const QPoint& at, int zone, int what);
    void createTouch(const QPoint& at, const QString& target);
    // DeleteZone, DeleteTouch: the selected element goes.
    void deleteSelected();
    void setValueZone(int index, int zone, int what);
    void setTouchTarget(int index, const QString& target);
    void setName(const QString& name) { layout_.name = name; }
    void setShowTitle(bool on) { layout_.showTitle = on; }

signals:
    void gotoClicked(int index);
    void selectionChanged();
    void changed();

protected:
    void paintEvent(QPaintEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QLabel* addValueField(int index, const QRect& rect);
    QLabel* addGotoButton(int index, const PictureTouch& touch);
    void select(int value, int touch);
    void styleSelection();
    QRect& rectOf(QObject* element);

    QPixmap background_;
    QString message_;
    PictureLayout layout_;
    std::vector<bool> shown_;
    std::vector<QLabel*> valueFields_;   // one per value entry; null for a hidden one
    std::vector<QLabel*> gotoButtons_;
    bool editing_ = false;
    int selectedValue_ = -1, selectedTouch_ = -1;
    // A drag under way.
    QObject* dragged_ = nullptr;
    bool resizing_ = false;
    QPoint pressAt_;
    QRect startRect_;
};

}  // namespace zev
