#pragma once

namespace qv {

// Runs before the application object. In the English window the few Korean texts (the
// appliance's own names, the fixed Korean captions) are drawn with a Korean fallback font. Hinted,
// FreeType's auto-hinter first measures about a hundred Han sample glyphs of such a font to set
// its zones, which reads some 2 MB of the font file for each face drawn; unhinted, only the
// glyphs shown are read, and every glyph keeps its width. Under Korean the interface font draws
// everything and is hinted as the desktop says.
void prepareFallbackHinting();

} // namespace qv
