#include "app/dialogs.h"

#include <QMessageBox>

#include <cstdio>

namespace orlimo {
namespace {

// Messages carry CR LF line ends; the box wants LF.
QString Shown(const QString& msg) {
  QString s = msg;
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s;
}

}  // namespace

bool TMessageBoxDialogs::AskYesNo(const QString& msg) {
  return QMessageBox::question(parent_, QStringLiteral("Orlimo"), Shown(msg),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void TMessageBoxDialogs::ShowErrorMsg(const QString& msg) {
  QMessageBox::critical(parent_, QStringLiteral("Error"), Shown(msg));
}

void TMessageBoxDialogs::ShowWarningMsg(const QString& msg) {
  QMessageBox::warning(parent_, QStringLiteral("Warning"), Shown(msg));
}

void TMessageBoxDialogs::ShowNotice(const QString& msg) {
  if (notice_ == nullptr) {
    notice_ = new QMessageBox(QMessageBox::Warning, QStringLiteral("Warning"), QString(), QMessageBox::Ok, parent_);
    notice_->setModal(false);
    notice_->setAttribute(Qt::WA_DeleteOnClose);
  }
  notice_->setText(Shown(msg));
  notice_->show();
  notice_->raise();
}

void TMessageBoxDialogs::ShowInformationMsg(const QString& msg) {
  QMessageBox::information(parent_, QStringLiteral("Information"), Shown(msg));
}

void TMessageBoxDialogs::ShowConfirmMsg(const QString& msg) {
  QMessageBox::information(parent_, QStringLiteral("Confirm"), Shown(msg));
}

bool TStderrDialogs::AskYesNo(const QString& msg) {
  Print(msg + QStringLiteral(" -> no"));
  return false;
}

void TStderrDialogs::Print(const QString& msg) {
  QString line = Shown(msg);
  line.replace(QLatin1Char('\n'), QLatin1Char(' '));
  std::fprintf(stderr, "%s%s\n", qPrintable(prefix_), qPrintable(line));
}

}  // namespace orlimo
