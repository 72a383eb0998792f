// Network sources in the port box, and the stream server behind File > Share.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>

#include "app/main_window.h"
#include "app/port_combo.h"
#include "serial/net_source.h"

namespace orlimo {

void TFrmOrlimo::FollowPortText(const QString& text) {
  cbCOMBR_->setEnabled(!IsNetworkSource(text.toStdString()));
  // The box is narrow: a source set from elsewhere shows from its scheme on.
  if (QLineEdit* edit = cbGPSCOM_->lineEdit(); edit != nullptr && !edit->hasFocus()) edit->setCursorPosition(0);
}

bool TFrmOrlimo::ShareReceiver(bool on, std::string* why) {
  const quint16 port = setup_.ServePort != 0 ? setup_.ServePort : kDefaultServePort;
  std::string reason;
  bool ok = true;
  if (!on) {
    session_->StopStreamServer();
  } else if (!session_->StreamServer().Listening()) {
    ok = session_->StartStreamServer(setup_.ServeAddress, port, reason);
  }
  if (shareAction_ != nullptr) shareAction_->setChecked(on && ok);
  if (ok) return true;
  if (why != nullptr) *why = reason;
  else ShowErrorMsg("Stream server: " + reason);
  return false;
}

}  // namespace orlimo
