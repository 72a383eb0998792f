// The edition this program was built as. The switches are chosen when the build is
// configured (ORLIMO_BRAND_CODE, ORLIMO_PRO_EDITION, ORLIMO_TASHVI_EDITION,
// ORLIMO_TRICKLE_BUTTON, ORLIMO_WIDE_LAYOUT, ORLIMO_COMPACT_LAYOUT) and never
// change at run time.
#pragma once

#include "session/edition.h"

namespace orlimo {

// This build's edition.
Edition BuiltEdition();

}  // namespace orlimo
