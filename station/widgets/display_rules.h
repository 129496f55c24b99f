// How a zone's values appear in a label: the overview's rules, shared with the
// parameter view (DispVal) and the process pictures. Each Disp* function computes
// the label's text, back colour, fore colour and bold flag from the zone table
// and writes only what differs from what the label shows, so that a refresh
// with unchanged values costs no repaint. They return true when they changed
// the label.
//
// Values of -10024 (no value) are never shown as numbers: the label stays empty
// or shows "---". "Status shown" means: the blink phase is 3 and the zone has a
// short status text; the label then shows that text in bold red instead of the
// value, so that a faulty zone flashes in every view at the same moment.
#pragma once

#include <QColor>
#include <QString>
#include <cstdint>

class QLabel;

namespace zev {

struct AppContext;
struct ZoneRecord;

namespace look {
// Platform colour values (0xBBGGRR) as the tool files and group table store them.
QColor fromPlatform(std::uint32_t bgr);
const QColor& yellow();  // 0x00FFFF: value labels
const QColor& cyan();    // 0xFFFF00: manual mode, tuning
const QColor& white();   // setpoints next to differences
const QColor& red();     // 0x0000FF: status texts, bar of a faulty zone
const QColor& black();
const QColor& blank();   // a value field without a value (offline, before the first refresh)
}  // namespace look

// What a label shows.
struct LabelLook {
    QString text;
    QColor back;
    QColor fore;
    bool bold = false;
    bool operator==(const LabelLook&) const = default;
};

// An empty value field on the blank colour.
LabelLook blankLook();

// The look a label has now (its text, Window and WindowText colours, bold flag).
LabelLook currentLook(const QLabel* label);
// Writes the parts of `look` that differ from the label's; true when any did.
bool applyLook(QLabel* label, const LabelLook& look);

// A caption that quotes "°C" with the installation's temperature unit instead.
QString unitCaption(const QString& text, const QString& unit);

// Kinds of DispVal: the value a label shows.
enum ValueKind { kActualValue = 0, kSetpoint = 1, kOutputRate = 2, kHeaterCurrent = 3 };

// A zone counts as switched off while its setpoint is 0 (°C) or 32 (°F).
bool IsZoneActive(const AppContext& ctx, int zone);

// The looks of the rules, without touching a widget (zones outside 1..270 give
// an empty label on `back`).
LabelLook lookX(AppContext& ctx, int zone);
LabelLook lookW(AppContext& ctx, int zone, const QColor& back);
LabelLook lookY(AppContext& ctx, int zone);
LabelLook lookI(AppContext& ctx, int zone);
LabelLook lookDiff(AppContext& ctx, int zone);

bool DispX(AppContext& ctx, int zone, QLabel* label);
// `back` is the background of a setpoint in control mode (yellow or white).
bool DispW(AppContext& ctx, int zone, QLabel* label, const QColor& back);
bool DispY(AppContext& ctx, int zone, QLabel* label);
bool DispI(AppContext& ctx, int zone, QLabel* label);
bool DispDiff_XW(AppContext& ctx, int zone, QLabel* label);
// One value of a zone by kind (0 actual value, 1 setpoint on yellow, 2 output
// rate, 3 heater current); any other kind leaves the label empty.
bool DispVal(AppContext& ctx, int zone, QLabel* label, int kind);

}  // namespace zev
