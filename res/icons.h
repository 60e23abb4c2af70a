#pragma once
// This program's icons, compiled in from res/icons.
#include <QIcon>

namespace res {

// Icon IDR_MAINFRAME (32 and 16 pixels) or IDI_SPEAKER (16 pixels); an
// empty icon for any other id.
QIcon LoadIconResource(int id);

} // namespace res
