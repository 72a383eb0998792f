#include "session/activity_indicator.h"

#include "session/session_view.h"

namespace orlimo {

void ActivityIndicator::OnBlockReceived() {
  if (timer_.IsActive()) return;
  on_ = true;
  view_.RepaintStatusBar();
  timer_.Start();
}

void ActivityIndicator::TmGPSDataTimer() {
  if (++tag_ == 1) return;
  on_ = false;
  tag_ = 0;
  view_.RepaintStatusBar();
  timer_.Stop();
}

void ActivityIndicator::Reset() {
  timer_.Stop();
  tag_ = 0;
}

}  // namespace orlimo
