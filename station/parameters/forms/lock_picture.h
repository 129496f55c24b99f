// The lock picture of a row or value the current user level may not change.
#pragma once

#include <QPixmap>

namespace zev {

// A padlock drawn in the given size (no picture file needed).
QPixmap lockPicture(int size);

}  // namespace zev
