#include "app/built_edition.h"

// Set by the build for this file only, so a change of edition rebuilds one file.
#ifndef ORLIMO_PRO_EDITION
#define ORLIMO_PRO_EDITION 0
#endif
#ifndef ORLIMO_TRICKLE_BUTTON
#define ORLIMO_TRICKLE_BUTTON 0
#endif

namespace orlimo {

Edition BuiltEdition() {
  Edition e;
  e.ProEdition = ORLIMO_PRO_EDITION != 0;
  e.TrickleButtonEnabled = ORLIMO_TRICKLE_BUTTON != 0;
  return e;
}

}  // namespace orlimo
