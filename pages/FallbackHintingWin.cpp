// Windows draws the fallback fonts through its own font engine, which maps no font file into the
// process: nothing to prepare.
#include "pages/FallbackHinting.h"

namespace qv {

void prepareFallbackHinting(Language) {}

} // namespace qv
