#include "pages/InterfaceFont.h"

#include "res/StringTable.h"

#include <QApplication>
#include <QFont>

namespace qv {

void applyInterfaceFont(QApplication& app) {
    if (systemLanguage() != Language::Korean)
        return;
    // Listed by their English names, which font matching knows whatever the locale; a family
    // that is not installed is passed over, and with neither the desktop's font stays.
    QFont font = QApplication::font();
    font.setFamilies(
        {QStringLiteral("NanumBarunGothic"), QStringLiteral("Noto Sans CJK KR"), font.family()});
    app.setFont(font);
}

} // namespace qv
