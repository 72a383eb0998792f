#include "session/session.h"

#include <chrono>

namespace orlimo {

std::unique_ptr<IIntervalTimer> TSession::MakeTimer(int intervalMs,
                                                    std::function<void()> onTick) const {
  if (options_.manualTicks) return std::make_unique<ManualTimer>();
  return std::make_unique<QtIntervalTimer>(intervalMs, std::move(onTick));
}

TSession::TSession(ISessionView& view, SessionOptions options)
    : options_(std::move(options)),
      rawLog_(view, state_),
      tm1s_(MakeTimer(kTickMs, [this] { Tm1sTimer(); })),
      tmGPSData_(MakeTimer(ActivityIndicator::kIntervalMs, [this] { TmGPSDataTimer(); })),
      tmTtff_(MakeTimer(orlimo::TtffRuns::kTickMs, [this] { ttffRuns_.Tick(); })),
      ctx_(view, options_.edition, state_, identification_, rawLog_, commands_, *tm1s_, *tmGPSData_) {
  // The port's settings as the window was designed with them; the connect sets the rest.
  TComm& comm = ctx_.CommGPS;
  comm.SetReadIntervalTimeout(13);
  comm.SetOutx_DsrFlow(true);
  QObject::connect(&comm, &TComm::OnReceiveData, [this](const QByteArray& chunk) {
    ctx_.pipeline.CommGPSReceiveData(chunk.constData(), static_cast<std::size_t>(chunk.size()));
  });
  QObject::connect(&comm, &TComm::OnRequestHangup, [this] { connection_.CommGPSRequestHangup(); });
}

void TSession::Tm1sTimer() {
  supervisor_.Tm1sTimer();
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  bench_.Sample(std::chrono::duration<double>(now).count());
}

TSession::~TSession() { ctx_.CommGPS.CloseComm(); }

}  // namespace orlimo
