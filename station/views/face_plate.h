// One face plate of the Detail view (`pnlFacePlate(i)`): zone number and name as
// caption, the group colour label `lblGrpColor(i)`, the values `dispX2(i)`,
// `dispW2(i)`, `dispY2(i)`, `dispI2(i)` under their captions `lblX2(i)`,
// `lblW2(i)` ("X[°C]", "W[°C]"), "Y[%]" and "I[A]", and the deviation bar
// `picDiff(i)`. A click on the plate opens the zone, one on the group label the
// zone's group.
#pragma once

#include <QFrame>
#include <QLabel>
#include <array>

namespace zev {

class DeviationBar;

// A label that reports a click (press and release on it).
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class FacePlate : public QFrame {
    Q_OBJECT
public:
    explicit FacePlate(QWidget* parent = nullptr);

    int zone() const { return zone_; }
    int group() const { return group_; }
    // Zone number and name (the caption).
    void setZone(int zone, const QString& name);
    void setName(const QString& name);
    // Accessible names of the plate, of its values X, W, Y, I and of the
    // deviation bar (zone_field_names.h).
    void setFieldNames(const QString& zone, const std::array<QString, 5>& fields);
    void setGroup(int group, const QString& caption, const QColor& back, const QColor& text);
    // "X[" + unit + "]" and "W[" + unit + "]".
    void setUnit(const QString& unit);

    struct Fonts {
        QFont number, name, caption, value;
        QFont actual;  // the actual value, larger: it is read first
    };
    struct Parts {
        QRect number, name, group;
        QRect caption[4];  // X, W, Y, I
        QRect value[4];
        QRect bar;
    };
    static Parts partsFor(QSize size);
    // Fonts that fit the parts of a plate of this size.
    static Fonts fontsFor(QSize size);
    void setFonts(const Fonts& fonts);

    QLabel* lblNumber() const { return number_; }
    QLabel* caption() const { return name_; }
    ClickLabel* lblGrpColor() const { return groupLabel_; }
    QLabel* lblX2() const { return captions_[0]; }
    QLabel* lblW2() const { return captions_[1]; }
    QLabel* dispX2() const { return values_[0]; }
    QLabel* dispW2() const { return values_[1]; }
    QLabel* dispY2() const { return values_[2]; }
    QLabel* dispI2() const { return values_[3]; }
    DeviationBar* picDiff() const { return bar_; }

signals:
    void clicked(int zone);
    void groupClicked(int group);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void place();
    void elideName();

    int zone_ = 0;
    int group_ = 0;
    QString fullName_;
    QLabel* number_;
    QLabel* name_;
    ClickLabel* groupLabel_;
    QLabel* captions_[4];
    QLabel* values_[4];
    DeviationBar* bar_;
};

}  // namespace zev
