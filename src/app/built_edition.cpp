#include "app/built_edition.h"

// Set by the build for this file only, so a change of edition rebuilds one file.
#ifndef ORLIMO_BRAND_CODE
#define ORLIMO_BRAND_CODE 2
#endif
#ifndef ORLIMO_PRO_EDITION
#define ORLIMO_PRO_EDITION 0
#endif
#ifndef ORLIMO_TASHVI_EDITION
#define ORLIMO_TASHVI_EDITION 0
#endif
#ifndef ORLIMO_TRICKLE_BUTTON
#define ORLIMO_TRICKLE_BUTTON 0
#endif
#ifndef ORLIMO_WIDE_LAYOUT
#define ORLIMO_WIDE_LAYOUT 0
#endif
#ifndef ORLIMO_COMPACT_LAYOUT
#define ORLIMO_COMPACT_LAYOUT 0
#endif

namespace orlimo {

Edition BuiltEdition() {
  Edition e;
  e.BrandCode = ORLIMO_BRAND_CODE;
  e.ProEdition = ORLIMO_PRO_EDITION != 0;
  e.TashviEdition = ORLIMO_TASHVI_EDITION != 0;
  e.TrickleButtonEnabled = ORLIMO_TRICKLE_BUTTON != 0;
  e.WideLayout = ORLIMO_WIDE_LAYOUT != 0;
  e.CompactLayout = ORLIMO_COMPACT_LAYOUT != 0;
  return e;
}

}  // namespace orlimo
