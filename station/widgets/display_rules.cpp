#include "widgets/display_rules.h"

#include "base/app_context.h"
#include "plant/zone_state.h"
#include "plant/zone_table.h"
#include "support/texts.h"

#include <QLabel>

namespace zev {

namespace look {
QColor fromPlatform(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}
const QColor& yellow() {
    static const QColor c = fromPlatform(0x00FFFF);
    return c;
}
const QColor& cyan() {
    static const QColor c = fromPlatform(0xFFFF00);
    return c;
}
const QColor& white() {
    static const QColor c = fromPlatform(0xFFFFFF);
    return c;
}
const QColor& red() {
    static const QColor c = fromPlatform(0x0000FF);
    return c;
}
const QColor& black() {
    static const QColor c = fromPlatform(0x000000);
    return c;
}
const QColor& blank() {
    static const QColor c = fromPlatform(0xE4E4E4);
    return c;
}
}  // namespace look

namespace {
constexpr int kTextTuning = 947;
const QString kOff = QStringLiteral("---");
const QString kManualMark = QStringLiteral("-P-");

const ZoneRecord* zoneOf(const AppContext& ctx, int zone) {
    if (zone < 1 || zone > kMaxZones) return nullptr;
    return &ctx.plant.zone(zone);
}

bool known(int value) { return value != kNoValue; }

LabelLook plain(const QString& text, const QColor& back) { return {text, back, look::black(), false}; }

// The blink rule: in phase 3 a zone with a status shows it instead of its value.
bool statusShown(const AppContext& ctx, const ZoneRecord& z) {
    return ctx.BlinkPhase == 3 && !z.StatusShort.isEmpty();
}

LabelLook statusLook(const ZoneRecord& z, const QColor& back) { return {z.StatusShort, back, look::red(), true}; }

QString withUnit(const AppContext& ctx, int value) {
    return QString::number(value) + QLatin1Char(' ') + ctx.plant.TemperatureUnit;
}

QString currentText(const ZoneRecord& z) {
    // The main cycle keeps the text; a current taken in without it still shows
    // the true value rather than an empty field.
    const QString text = z.CurrentText.isEmpty() ? QString::number(z.Current, 'f', 1) : z.CurrentText;
    return text + QStringLiteral(" A");
}
}  // namespace

QString unitCaption(const QString& text, const QString& unit) {
    QString s = text;
    return s.replace(QStringLiteral("°C"), unit);
}

bool IsZoneActive(const AppContext& ctx, int zone) {
    const ZoneRecord* z = zoneOf(ctx, zone);
    if (!z) return false;
    return !isSwitchedOff(*z, ctx.plant.TemperatureUnit);
}

LabelLook lookX(AppContext& ctx, int zone) {
    const QColor& back = look::yellow();
    const ZoneRecord* z = zoneOf(ctx, zone);
    if (!z) return plain({}, back);
    auto value = [&] {
        if (statusShown(ctx, *z)) return statusLook(*z, back);
        return plain(known(z->ActualValue) ? withUnit(ctx, z->ActualValue) : QString(), back);
    };
    switch (z->Mode) {
    case 2: return IsZoneActive(ctx, zone) ? value() : plain(kOff, back);
    case 1:
        // A manual zone without setpoint still measures: its value counts.
        if (IsZoneActive(ctx, zone) || known(z->ActualValue)) return value();
        return plain(kOff, back);
    case 3: return value();
    default: return plain({}, back);
    }
}

LabelLook lookW(AppContext& ctx, int zone, const QColor& back) {
    const ZoneRecord* z = zoneOf(ctx, zone);
    if (!z) return plain({}, back);
    if (z->TuneState == 1 || z->TuneState == 2) return {ctx.texts(kTextTuning), look::cyan(), look::black(), true};
    if (!known(z->Setpoint)) return plain({}, back);
    const bool active = IsZoneActive(ctx, zone);
    switch (z->Mode) {
    case 1:
        if (ctx.BlinkPhase == 3) return plain(kManualMark, look::cyan());
        return plain(active ? withUnit(ctx, z->Setpoint) : kOff, look::cyan());
    case 2: return plain(active ? withUnit(ctx, z->Setpoint) : kOff, back);
    default: return plain({}, back);
    }
}

LabelLook lookY(AppContext& ctx, int zone) {
    const ZoneRecord* z = zoneOf(ctx, zone);
    if (!z || !known(z->OutputRate)) return plain({}, look::yellow());
    const QString text = QString::number(z->OutputRate) + QStringLiteral(" %");
    switch (z->Mode) {
    case 1: return plain(text, look::cyan());
    case 2: return plain(IsZoneActive(ctx, zone) ? text : kOff, look::yellow());
    default: return plain({}, look::yellow());
    }
}

LabelLook lookI(AppContext& ctx, int zone) {
    const QColor& back = look::yellow();
    const ZoneRecord* z = zoneOf(ctx, zone);
    if (!z || z->Current == static_cast<float>(kNoValue)) return plain({}, back);
    switch (z->Mode) {
    case 1: return plain(currentText(*z), back);
    case 2: return plain(IsZoneActive(ctx, zone) ? currentText(*z) : kOff, back);
    default: return plain({}, back);
    }
}

LabelLook lookDiff(AppContext& ctx, int zone) {
    const QColor& back = look::yellow();
    const ZoneRecord* z = zoneOf(ctx, zone);
    // A zone that is off (or lost its controller) has no deviation to show: the
    // values still in the table are not current.
    if (!z || z->Mode == 0) return plain({}, back);
    if (!IsZoneActive(ctx, zone)) return plain(kOff, back);
    if (statusShown(ctx, *z)) return statusLook(*z, back);
    if (!known(z->ActualValue) || !known(z->Setpoint)) return plain({}, back);
    return plain(withUnit(ctx, z->ActualValue - z->Setpoint), back);
}

LabelLook blankLook() { return plain({}, look::blank()); }

LabelLook currentLook(const QLabel* label) {
    const QPalette& p = label->palette();
    return {label->text(), label->autoFillBackground() ? p.color(QPalette::Window) : QColor(),
            p.color(QPalette::WindowText), label->font().bold()};
}

bool applyLook(QLabel* label, const LabelLook& look) {
    bool changed = false;
    if (label->text() != look.text) {
        label->setText(look.text);
        changed = true;
    }
    const QPalette& now = label->palette();
    if (!label->autoFillBackground() || now.color(QPalette::Window) != look.back ||
        now.color(QPalette::WindowText) != look.fore) {
        QPalette p = now;
        p.setColor(QPalette::Window, look.back);
        p.setColor(QPalette::WindowText, look.fore);
        label->setPalette(p);
        label->setAutoFillBackground(true);
        changed = true;
    }
    if (label->font().bold() != look.bold) {
        QFont f = label->font();
        f.setBold(look.bold);
        label->setFont(f);
        changed = true;
    }
    return changed;
}

bool DispX(AppContext& ctx, int zone, QLabel* label) { return applyLook(label, lookX(ctx, zone)); }
bool DispW(AppContext& ctx, int zone, QLabel* label, const QColor& back) {
    return applyLook(label, lookW(ctx, zone, back));
}
bool DispY(AppContext& ctx, int zone, QLabel* label) { return applyLook(label, lookY(ctx, zone)); }
bool DispI(AppContext& ctx, int zone, QLabel* label) { return applyLook(label, lookI(ctx, zone)); }
bool DispDiff_XW(AppContext& ctx, int zone, QLabel* label) { return applyLook(label, lookDiff(ctx, zone)); }

bool DispVal(AppContext& ctx, int zone, QLabel* label, int kind) {
    switch (kind) {
    case kActualValue: return DispX(ctx, zone, label);
    case kSetpoint: return DispW(ctx, zone, label, look::yellow());
    case kOutputRate: return DispY(ctx, zone, label);
    case kHeaterCurrent: return DispI(ctx, zone, label);
    default: return applyLook(label, plain({}, look::yellow()));
    }
}

}  // namespace zev
