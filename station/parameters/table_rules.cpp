#include "parameters/table_rules.h"

#include "plant/zone_table.h"

namespace zev {

namespace {
QString textOf(int v) { return v == kNoValue ? QString() : QString::number(v); }
}  // namespace

CellLook recipeCell(int value, int target, bool writable) {
    CellLook c{textOf(target), CellColour::White};
    if (value == kNoValue) c.back = CellColour::Red;
    else if (!writable) c.back = CellColour::Grey;
    else if (target != kNoValue && target != value) c.back = CellColour::Yellow;
    return c;
}

CellLook valueCell(int value, bool writable) {
    if (value == kNoValue) return {QString(), CellColour::Red};
    return {QString::number(value), writable ? CellColour::White : CellColour::Grey};
}

}  // namespace zev
