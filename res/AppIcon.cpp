#include "res/AppIcon.h"

namespace qv {

QString appIconPath() {
    return QStringLiteral(":/qvsetting/qvsetting.png");
}

} // namespace qv
