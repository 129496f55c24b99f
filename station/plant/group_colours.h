// The colours of the groups as data: the defaults of groups 1..8 and the text
// colour that reads on a group's colour. Colours are 0xBBGGRR values.
#pragma once

#include <cstdint>

namespace zev {

// Default colours of groups 1..8 (0xBBGGRR); a light grey for any other number.
std::uint32_t defaultGroupColour(int group);
// Black or white text, whichever contrasts with the background colour.
std::uint32_t GetContrast(std::uint32_t colour);

}  // namespace zev
