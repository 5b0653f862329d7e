// The window's font by language: under Korean a font whose period reads as a period; under
// English the Korean fallback fonts unhinted, the Latin ones as the desktop hints them.

#include "pages/InterfaceFont.h"
#include "pages/FallbackHinting.h"
#include "tests/app/AppTestSupport.h"

#include <QApplication>
#include <QFontInfo>

#include <fontconfig/fontconfig.h>
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

// The hint style fontconfig gives Qt for a family.
int hintStyle(const char* family) {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* font = FcFontMatch(nullptr, pattern, &result);
    int style = -1;
    if (font != nullptr && FcPatternGetInteger(font, FC_HINT_STYLE, 0, &style) != FcResultMatch)
        style = -1;
    if (font != nullptr)
        FcPatternDestroy(font);
    FcPatternDestroy(pattern);
    return style;
}

TEST(InterfaceFont, EnglishDrawsTheKoreanFallbackUnhintedKoreanLeavesItAsTheDesktopSays) {
    const int desktop = hintStyle("NanumGothic");
    const int latin = hintStyle("DejaVu Sans");
    if (desktop == FC_HINT_NONE)
        GTEST_SKIP() << "this desktop leaves Korean fonts unhinted already";
    {
        LanguageScope korean(true);
        qv::prepareFallbackHinting();
        EXPECT_EQ(hintStyle("NanumGothic"), desktop);
    }
    // As the program does it: on a thread of its own, waited for.
    LanguageScope english(false);
    qv::prepareFallbackHintingAside().get();
    EXPECT_EQ(hintStyle("NanumGothic"), FC_HINT_NONE);
    EXPECT_EQ(hintStyle("NanumBarunGothic:bold"), FC_HINT_NONE);
    EXPECT_EQ(hintStyle("DejaVu Sans"), latin);
}

} // namespace
} // namespace qvtest
