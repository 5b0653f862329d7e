#pragma once

#include <QString>

namespace qv {

// Resource path of the window icon (the plum "Q" square), for QIcon and QPixmap.
QString appIconPath();

} // namespace qv
