#include "pictures/forms/picture_canvas.h"

#include <QMouseEvent>
#include <QPainter>

namespace zev {

namespace {
const char* kIndex = "elementIndex";
const char* kTouch = "isTouch";
}  // namespace

PictureCanvas::PictureCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("picToolBuilder"));
    setAutoFillBackground(true);
}

void PictureCanvas::setBackground(const QPixmap& pixmap, const QString& message) {
    background_ = pixmap;
    message_ = message;
    update();
}

void PictureCanvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    if (!background_.isNull()) {
        p.drawPixmap(0, 0, background_);
    } else if (!message_.isEmpty()) {
        p.drawText(rect().adjusted(20, 20, -20, -20), Qt::AlignCenter | Qt::TextWordWrap, message_);
    }
}

void PictureCanvas::setLayout(const PictureLayout& layout, const std::vector<bool>& shown) {
    for (QLabel* l : valueFields_) delete l;
    for (QLabel* l : gotoButtons_) delete l;
    valueFields_.clear();
    gotoButtons_.clear();
    layout_ = layout;
    shown_ = shown;
    shown_.resize(layout.values.size(), false);
    dragged_ = nullptr;
    for (size_t i = 0; i < layout_.values.size(); ++i)
        valueFields_.push_back(shown_[i] ? addValueField(static_cast<int>(i), layout_.values[i].rect) : nullptr);
    for (size_t i = 0; i < layout_.touches.size(); ++i)
        gotoButtons_.push_back(addGotoButton(static_cast<int>(i), layout_.touches[i]));
    select(-1, -1);
}

QLabel* PictureCanvas::addValueField(int index, const QRect& rect) {
    auto* l = new QLabel(this);
    l->setObjectName(QStringLiteral("lblMesswert%1").arg(index + 1));
    l->setProperty(kIndex, index);
    l->setProperty(kTouch, false);
    l->setAlignment(Qt::AlignCenter);
    l->setAutoFillBackground(true);
    l->setFrameShape(QFrame::Box);
    l->setGeometry(rect);
    l->installEventFilter(this);
    l->show();
    return l;
}

QLabel* PictureCanvas::addGotoButton(int index, const PictureTouch& touch) {
    auto* l = new QLabel(touch.target, this);
    l->setObjectName(QStringLiteral("lblGoto%1").arg(index + 1));
    l->setProperty(kIndex, index);
    l->setProperty(kTouch, true);
    l->setAlignment(Qt::AlignCenter);
    l->setWordWrap(true);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Raised);
    l->setLineWidth(2);
    l->setAutoFillBackground(true);
    l->setGeometry(touch.rect);
    l->setAccessibleName(touch.target);
    l->installEventFilter(this);
    l->show();
    return l;
}

PictureLayout PictureCanvas::layout() const { return layout_; }

void PictureCanvas::setEditing(bool on) {
    editing_ = on;
    dragged_ = nullptr;
    select(-1, -1);
}

void PictureCanvas::select(int value, int touch) {
    selectedValue_ = value;
    selectedTouch_ = touch;
    styleSelection();
    emit selectionChanged();
}

void PictureCanvas::styleSelection() {
    for (size_t i = 0; i < valueFields_.size(); ++i)
        if (valueFields_[i]) valueFields_[i]->setLineWidth(static_cast<int>(i) == selectedValue_ ? 3 : 1);
    for (size_t i = 0; i < gotoButtons_.size(); ++i) {
        QLabel* b = gotoButtons_[i];
        b->setFrameShadow(static_cast<int>(i) == selectedTouch_ ? QFrame::Sunken : QFrame::Raised);
        b->setLineWidth(static_cast<int>(i) == selectedTouch_ ? 4 : 2);
    }
}

QRect& PictureCanvas::rectOf(QObject* element) {
    const auto i = static_cast<size_t>(element->property(kIndex).toInt());
    return element->property(kTouch).toBool() ? layout_.touches[i].rect : layout_.values[i].rect;
}

bool PictureCanvas::eventFilter(QObject* watched, QEvent* e) {
    auto* w = qobject_cast<QLabel*>(watched);
    if (!w || w->parent() != this) return QWidget::eventFilter(watched, e);
    const bool touch = w->property(kTouch).toBool();
    const int index = w->property(kIndex).toInt();
    auto* m = static_cast<QMouseEvent*>(e);
    switch (e->type()) {
    case QEvent::MouseButtonPress:
        if (m->button() != Qt::LeftButton) return false;
        if (!editing_) return touch;
        select(touch ? -1 : index, touch ? index : -1);
        dragged_ = w;
        pressAt_ = m->globalPosition().toPoint();
        startRect_ = rectOf(w);
        resizing_ = m->position().x() >= w->width() - kGrip && m->position().y() >= w->height() - kGrip;
        return true;
    case QEvent::MouseMove: {
        if (!editing_ || dragged_ != w) return false;
        const QPoint d = m->globalPosition().toPoint() - pressAt_;
        QRect r = startRect_;
        if (resizing_)
            r.setSize(QSize(std::max(kMinSize, startRect_.width() + d.x()), std::max(kMinSize, startRect_.height() + d.y())));
        else
            r.moveTopLeft(startRect_.topLeft() + d);
        if (r != rectOf(w)) {
            rectOf(w) = r;
            w->setGeometry(r);
            emit changed();
        }
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (m->button() != Qt::LeftButton) return false;
        if (!editing_) {
            if (touch && w->rect().contains(m->position().toPoint())) emit gotoClicked(index);
            return touch;
        }
        dragged_ = nullptr;
        return true;
    default: return QWidget::eventFilter(watched, e);
    }
}

void PictureCanvas::createValue(const QPoint& at, int zone, int what) {
    PictureValue v;
    v.zone = zone;
    v.what = what;
    v.rect = QRect(at, QSize(72, 26));
    layout_.values.push_back(v);
    shown_.push_back(true);
    valueFields_.push_back(addValueField(static_cast<int>(layout_.values.size()) - 1, v.rect));
    select(static_cast<int>(valueFields_.size()) - 1, -1);
    emit changed();
}

void PictureCanvas::createTouch(const QPoint& at, const QString& target) {
    PictureTouch t;
    t.target = target;
    t.rect = QRect(at, QSize(90, 36));
    layout_.touches.push_back(t);
    gotoButtons_.push_back(addGotoButton(static_cast<int>(layout_.touches.size()) - 1, t));
    select(-1, static_cast<int>(gotoButtons_.size()) - 1);
    emit changed();
}

void PictureCanvas::deleteSelected() {
    if (selectedValue_ < 0 && selectedTouch_ < 0) return;
    PictureLayout l = layout_;
    std::vector<bool> shown = shown_;
    if (selectedValue_ >= 0) {
        l.values.erase(l.values.begin() + selectedValue_);
        shown.erase(shown.begin() + selectedValue_);
    } else {
        l.touches.erase(l.touches.begin() + selectedTouch_);
    }
    const bool wasEditing = editing_;
    setLayout(l, shown);
    editing_ = wasEditing;
    emit changed();
}

void PictureCanvas::setValueZone(int index, int zone, int what) {
    if (index < 0 || index >= static_cast<int>(layout_.values.size())) return;
    PictureValue& v = layout_.values[static_cast<size_t>(index)];
    if (v.zone == zone && v.what == what) return;
    v.zone = zone;
    v.what = what;
    emit changed();
}

void PictureCanvas::setTouchTarget(int index, const QString& target) {
    if (index < 0 || index >= static_cast<int>(layout_.touches.size())) return;
    PictureTouch& t = layout_.touches[static_cast<size_t>(index)];
    if (t.target == target) return;
    t.target = target;
    gotoButtons_[static_cast<size_t>(index)]->setText(target);
    gotoButtons_[static_cast<size_t>(index)]->setAccessibleName(target);
    emit changed();
}

}  // namespace zev
