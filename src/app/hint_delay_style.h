// How long the pointer rests on a control before its hint shows, for the whole
// application. The toolkit asks its style for the delay, so the application's style
// is wrapped once in one that answers with ours.
#pragma once

namespace orlimo {

void SetHintDelay(int milliseconds);
int HintDelay();

}  // namespace orlimo
