// Text and colour of the cells of the parameter tables: the recipe tables of
// the first tab (what the recipe wants, against what the controller holds), the
// zone parameter table (what the controller holds) and the global parameter grid.
// Colours are platform values (0xBBGGRR) as the tables are specified.
#pragma once

#include <QString>
#include <cstdint>

namespace zev {

namespace CellColour {
constexpr std::uint32_t White = 0xFFFFFF;
constexpr std::uint32_t Red = 0x0000FF;
constexpr std::uint32_t Yellow = 0x00FFFF;
constexpr std::uint32_t Grey = 0xE0E0E0;
constexpr std::uint32_t Green = 0x00FF00;
constexpr std::uint32_t Cyan = 0xFFFF00;  // a global parameter being read
}  // namespace CellColour

struct CellLook {
    QString text;
    std::uint32_t back = CellColour::White;
    bool operator==(const CellLook&) const = default;
};

// Recipe tables: the target's text; red when the controller's value is unknown,
// grey when the parameter cannot be written, yellow when the recipe wants
// another value, white otherwise (also when the recipe wants nothing).
CellLook recipeCell(int value, int target, bool writable);
// Zone parameter table and global grid: the value's text; empty and red when
// unknown, white when writable, grey when not.
CellLook valueCell(int value, bool writable);

}  // namespace zev
