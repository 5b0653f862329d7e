// The window's font by language: under Korean a font whose period reads as a period.

#include "pages/InterfaceFont.h"
#include "tests/app/AppTestSupport.h"

#include <QApplication>
#include <QFontInfo>

#include <gtest/gtest.h>

namespace qvtest {
namespace {

TEST(InterfaceFont, KoreanUsesAFontWhosePeriodIsAPeriodEnglishKeepsTheDesktops) {
    const QFont desktop = QApplication::font();
    struct Case {
        bool korean;
        QStringList accepted; // family names as font matching reports them, English or Korean
    };
    const std::vector<Case> cases{
        {true,
         {QStringLiteral("NanumBarunGothic"), QStringLiteral("나눔바른고딕"),
          QStringLiteral("Noto Sans CJK KR")}},
        {false, {QFontInfo(desktop).family()}},
    };
    for (const Case& test : cases) {
        LanguageScope language(test.korean);
        QApplication::setFont(desktop);
        qv::applyInterfaceFont(*qApp);
        const QString family = QFontInfo(QApplication::font()).family();
        EXPECT_TRUE(test.accepted.contains(family)) << test.korean << " " << family.toStdString();
    }
    QApplication::setFont(desktop);
}

} // namespace
} // namespace qvtest
