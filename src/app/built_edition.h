// The edition this program was built as. The switches are chosen when the build is
// configured (ORLIMO_PRO_EDITION, ORLIMO_TRICKLE_BUTTON) and never change at run time.
#pragma once

#include "session/edition.h"

namespace orlimo {

// This build's edition.
Edition BuiltEdition();

}  // namespace orlimo
