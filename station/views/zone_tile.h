// One zone of the Total view (`fraZone(i)`): the zone number `Label1(i)` in its
// group's colour and the value labels `dispX1(i)` and `dispW1(i)`. A click
// anywhere on the tile opens the zone.
#pragma once

#include <QFrame>

class QLabel;

namespace zev {

class ZoneTile : public QFrame {
    Q_OBJECT
public:
    explicit ZoneTile(QWidget* parent = nullptr);

    int zone() const { return zone_; }
    void setZone(int zone);
    // Accessible names of the tile and its fields (zone_field_names.h).
    void setFieldNames(const QString& zone, const QString& first, const QString& second);
    // Number label colours (written only when they change).
    void setGroupColours(const QColor& back, const QColor& text);
    // Two value labels, or one (dispW1 hidden).
    void setTwoValues(bool two);
    bool twoValues() const { return two_; }
    void setFonts(const QFont& number, const QFont& value);

    QLabel* Label1() const { return number_; }
    QLabel* dispX1() const { return x_; }
    QLabel* dispW1() const { return w_; }

    // The rectangles of number and values in a tile of this size (the panel
    // fits the fonts into them).
    struct Parts {
        QRect number, x, w;
    };
    static Parts partsFor(QSize size, bool two);

signals:
    void clicked(int zone);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void place();

    int zone_ = 0;
    bool two_ = true;
    QLabel* number_;
    QLabel* x_;
    QLabel* w_;
};

}  // namespace zev
