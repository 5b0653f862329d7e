#pragma once

#include "pages/WorkAside.h"
#include "res/StringTable.h"

#include <future>
#include <system_error>

namespace qv {

// Runs before the application object. In the English window the few Korean texts (the
// appliance's own names, the fixed Korean captions) are drawn with a Korean fallback font. Hinted,
// FreeType's auto-hinter first measures about a hundred Han sample glyphs of such a font to set
// its zones, which reads some 2 MB of the font file for each face drawn; unhinted, only the
// glyphs shown are read, and every glyph keeps its width. Under Korean the interface font draws
// everything and is hinted as the desktop says.
void prepareFallbackHinting(Language language = systemLanguage());

// The same on a thread of its own: reading the font configuration takes a few milliseconds that
// the application object can be built in. Wait for it before the first text is laid out.
inline std::future<void> prepareFallbackHintingAside() {
    // The environment is read here: the application object may change it meanwhile.
    const Language language = systemLanguage();
    try {
        return runAside([language] { prepareFallbackHinting(language); });
    } catch (const std::system_error&) { // no thread to be had: here, then
        prepareFallbackHinting(language);
        return {};
    }
}

} // namespace qv
