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
  for (ITransport* link : {static_cast<ITransport*>(&comm), static_cast<ITransport*>(&ctx_.NetGPS)}) {
    QObject::connect(link, &ITransport::OnReceiveData, [this](const QByteArray& chunk) {
      // Shared first: what the pipeline's work takes adds nothing to the clients' wait.
      server_.Share(chunk);
      ctx_.pipeline.CommGPSReceiveData(chunk.constData(), static_cast<std::size_t>(chunk.size()));
    });
    QObject::connect(link, &ITransport::OnRequestHangup, [this] { connection_.CommGPSRequestHangup(); });
  }
  QObject::connect(&ctx_.NetGPS, &ITransport::OnLinkUp, [this] { connection_.LinkUp(); });
  QObject::connect(&ctx_.NetGPS, &ITransport::OnLinkDown, [this] { connection_.LinkDown(); });
  QObject::connect(&server_, &TStreamServer::OnNotice, [this](const QString& text) {
    ctx_.Trace(std::string(" ").append(text.toStdString()));
    ctx_.view.ShowConnectionNotice(text.toStdString());
  });
}

bool TSession::StartStreamServer(const QString& address, quint16 port, std::string& why) {
  return server_.Start(address, port, why);
}

void TSession::Tm1sTimer() {
  supervisor_.Tm1sTimer();
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  bench_.Sample(std::chrono::duration<double>(now).count());
}

TSession::~TSession() {
  ctx_.CommGPS.CloseComm();
  ctx_.NetGPS.Close();
}

}  // namespace orlimo
