#include "app/built_edition.h"

// Set by the build for this file only, so a change of edition rebuilds one file.
#ifndef ORLIMO_PRO_EDITION
#define ORLIMO_PRO_EDITION 0
#endif
#ifndef ORLIMO_TRICKLE_BUTTON
#define ORLIMO_TRICKLE_BUTTON 0
#endif

namespace orlimo {

Edition BrandedEdition(Edition switches) {
  // The full edition carries the maker's name; every other build is the KELDAR brand.
  switches.TitlePrefix = switches.ProEdition ? "Quorvex Orlimo Pro V:" : "KELDAR Orlimo V:";
  return switches;
}

Edition BuiltEdition() {
  Edition e;
  e.ProEdition = ORLIMO_PRO_EDITION != 0;
  e.TrickleButtonEnabled = ORLIMO_TRICKLE_BUTTON != 0;
  return BrandedEdition(e);
}

}  // namespace orlimo
