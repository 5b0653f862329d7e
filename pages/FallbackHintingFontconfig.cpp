// The fallback fonts' hinting through fontconfig, which Qt asks for each font's hint style.
#include "pages/FallbackHinting.h"

#include "res/StringTable.h"

#include <fontconfig/fontconfig.h>

namespace qv {
namespace {

// Every font that covers Korean, whatever its family.
constexpr char kUnhintKorean[] = R"(<?xml version="1.0"?>
<fontconfig>
  <match target="font">
    <test name="lang" compare="contains"><string>ko</string></test>
    <edit name="hintstyle" mode="assign"><const>hintnone</const></edit>
  </match>
</fontconfig>
)";

} // namespace

void prepareFallbackHinting(Language language) {
    // Reading the configuration is most of the work, and Qt's font database reads it anyway.
    if (!FcInit() || language == Language::Korean)
        return;
    // Added to the configuration Qt's font database reads; without it the fonts stay hinted.
    FcConfigParseAndLoadFromMemory(FcConfigGetCurrent(),
                                   reinterpret_cast<const FcChar8*>(kUnhintKorean), FcFalse);
}

} // namespace qv
