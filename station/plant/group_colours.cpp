#include "plant/group_colours.h"

namespace zev {

namespace {
constexpr std::uint32_t kDefaultColours[] = {0xFF8080, 0xFFFF80, 0x80FF80, 0x80FFFF,
                                             0x80C0FF, 0xC0E0FF, 0xC0FFC0, 0xFFC0C0};
}  // namespace

std::uint32_t defaultGroupColour(int group) {
    return group >= 1 && group <= 8 ? kDefaultColours[group - 1] : 0xE0E0E0;
}

std::uint32_t GetContrast(std::uint32_t colour) {
    const double r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
    // Perceived brightness (ITU-R BT.601 weights).
    const double luma = 0.299 * r + 0.587 * g + 0.114 * b;
    return luma >= 140.0 ? 0x000000 : 0xFFFFFF;
}

}  // namespace zev
