#include "views/face_plate.h"

#include "views/deviation_bar.h"
#include "widgets/display_rules.h"
#include "widgets/fit_label.h"
#include "views/zone_grid.h"

#include <QMouseEvent>
#include <algorithm>

namespace zev {

namespace {
constexpr const char* kCaptionNames[4] = {"lblX2", "lblW2", "lblY2", "lblI2"};
constexpr const char* kValueNames[4] = {"dispX2", "dispW2", "dispY2", "dispI2"};
const QColor kPlateBack(0xD0, 0xD4, 0xD8);
const QColor kHeaderBack(0x2F, 0x3B, 0x4A);

QLabel* makeLabel(QLabel* l, const char* name, Qt::Alignment align, const QColor& back, const QColor& fore) {
    l->setObjectName(QString::fromLatin1(name));
    l->setAlignment(align);
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, back);
    p.setColor(QPalette::WindowText, fore);
    l->setPalette(p);
    return l;
}

// Fonts are sized for the usual value; longer texts are drawn smaller (FitLabel).
const QString kUsualValue = QStringLiteral("888 °C");

QSize inner(const QRect& r) { return r.size() - QSize(6, 2); }
}  // namespace

void ClickLabel::mousePressEvent(QMouseEvent* event) { event->accept(); }

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (rect().contains(event->position().toPoint())) emit clicked();
}

FacePlate::FacePlate(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("pnlFacePlate"));
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, kPlateBack);
    p.setColor(QPalette::WindowText, QColor(0x50, 0x50, 0x50));
    setPalette(p);
    const QColor white(Qt::white), black(Qt::black);
    number_ = makeLabel(new QLabel(this), "lblNumber", Qt::AlignCenter, kHeaderBack, white);
    name_ = makeLabel(new QLabel(this), "lblCaption", Qt::AlignVCenter | Qt::AlignLeft, kHeaderBack, white);
    groupLabel_ = new ClickLabel(this);
    makeLabel(groupLabel_, "lblGrpColor", Qt::AlignCenter, kPlateBack, black);
    for (int i = 0; i < 4; ++i) {
        captions_[i] = makeLabel(new QLabel(this), kCaptionNames[i], Qt::AlignVCenter | Qt::AlignLeft, kPlateBack, black);
        values_[i] = makeLabel(new FitLabel(this), kValueNames[i], Qt::AlignCenter, look::blank(), black);
    }
    captions_[2]->setText(QStringLiteral("Y[%]"));
    captions_[3]->setText(QStringLiteral("I[A]"));
    bar_ = new DeviationBar(this);
    connect(groupLabel_, &ClickLabel::clicked, this, [this] { emit groupClicked(group_); });
}

void FacePlate::setZone(int zone, const QString& name) {
    zone_ = zone;
    const QString number = QString::number(zone);
    if (number_->text() != number) number_->setText(number);
    setName(name);
}

void FacePlate::setName(const QString& name) {
    if (fullName_ == name) return;
    fullName_ = name;
    elideName();
}

void FacePlate::elideName() {
    const int room = std::max(0, name_->width() - 8);
    const QString shown = name_->fontMetrics().elidedText(fullName_, Qt::ElideRight, room);
    if (name_->text() != shown) name_->setText(shown);
    name_->setToolTip(shown == fullName_ ? QString() : fullName_);
}

void FacePlate::setGroup(int group, const QString& caption, const QColor& back, const QColor& text) {
    group_ = group;
    if (groupLabel_->text() != caption) groupLabel_->setText(caption);
    const QPalette& now = groupLabel_->palette();
    if (now.color(QPalette::Window) == back && now.color(QPalette::WindowText) == text) return;
    QPalette p = now;
    p.setColor(QPalette::Window, back);
    p.setColor(QPalette::WindowText, text);
    groupLabel_->setPalette(p);
}

void FacePlate::setUnit(const QString& unit) {
    captions_[0]->setText(QStringLiteral("X[") + unit + QStringLiteral("]"));
    captions_[1]->setText(QStringLiteral("W[") + unit + QStringLiteral("]"));
}

FacePlate::Parts FacePlate::partsFor(QSize size) {
    // Shares of the height: header, group, X, W, Y, I, bar (X largest: it is
    // the value an operator reads first).
    constexpr int kShares[] = {16, 11, 20, 14, 13, 13, 13};
    constexpr int kTotal = 100;
    const int frame = 1, seam = 2;
    const int w = size.width() - 2 * frame;
    const int usable = size.height() - 2 * frame - 6 * seam;
    int y = frame;
    QRect rows[7];
    for (int i = 0; i < 7; ++i) {
        const int h = i == 6 ? size.height() - frame - y : usable * kShares[i] / kTotal;
        rows[i] = QRect(frame, y, w, std::max(1, h));
        y += h + seam;
    }
    Parts parts;
    const int numberWidth = w * 30 / 100;
    parts.number = QRect(rows[0].left(), rows[0].top(), numberWidth, rows[0].height());
    parts.name = QRect(rows[0].left() + numberWidth, rows[0].top(), w - numberWidth, rows[0].height());
    parts.group = rows[1];
    const int captionWidth = w * 34 / 100;
    for (int i = 0; i < 4; ++i) {
        const QRect& r = rows[2 + i];
        parts.caption[i] = QRect(r.left() + 4, r.top(), captionWidth - 4, r.height());
        parts.value[i] = QRect(r.left() + captionWidth, r.top(), w - captionWidth - 4, r.height());
    }
    parts.bar = rows[6].adjusted(4, 1, -4, -3);
    return parts;
}

FacePlate::Fonts FacePlate::fontsFor(QSize size) {
    const Parts parts = partsFor(size);
    QFont bold = valueFace();
    bold.setBold(true);
    Fonts f;
    f.number = fittedFont(bold, QStringLiteral("888"), inner(parts.number), 8, 40);
    f.name = fittedFont(bold, QStringLiteral("ZONE 888"), inner(parts.name), 8, std::max(8, f.number.pixelSize() * 3 / 4));
    f.caption = fittedFont(valueFace(), QStringLiteral("W[°F]"), inner(parts.caption[1]), 8, 28);
    f.value = fittedFont(bold, kUsualValue, inner(parts.value[1]), 8, 44);
    f.value.setBold(false);
    f.actual = fittedFont(bold, kUsualValue, inner(parts.value[0]), 8, 56);
    f.actual.setBold(false);
    return f;
}

void FacePlate::setFonts(const Fonts& fonts) {
    auto set = [](QLabel* l, QFont f, bool keepBold) {
        if (keepBold) f.setBold(l->font().bold());  // the bold flag belongs to the display rules
        if (l->font() != f) l->setFont(f);
    };
    set(number_, fonts.number, false);
    set(name_, fonts.name, false);
    set(groupLabel_, fonts.caption, false);
    for (int i = 0; i < 4; ++i) {
        set(captions_[i], fonts.caption, false);
        set(values_[i], i == 0 ? fonts.actual : fonts.value, true);
    }
    elideName();
}

void FacePlate::place() {
    const Parts parts = partsFor(size());
    number_->setGeometry(parts.number);
    name_->setGeometry(parts.name);
    groupLabel_->setGeometry(parts.group);
    for (int i = 0; i < 4; ++i) {
        captions_[i]->setGeometry(parts.caption[i]);
        values_[i]->setGeometry(parts.value[i]);
    }
    bar_->setGeometry(parts.bar);
    elideName();
}

void FacePlate::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    place();
}

void FacePlate::mousePressEvent(QMouseEvent* event) { event->accept(); }

void FacePlate::mouseReleaseEvent(QMouseEvent* event) {
    if (rect().contains(event->position().toPoint())) emit clicked(zone_);
}

}  // namespace zev
