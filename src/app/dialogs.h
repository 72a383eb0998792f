// The message dialogs of the window. The program shows message boxes; tests hand in
// a recorder that answers from a script.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QString>

class QWidget;

namespace orlimo {

class IDialogs {
 public:
  virtual ~IDialogs() = default;
  virtual bool AskYesNo(const QString& msg) = 0;
  virtual void ShowErrorMsg(const QString& msg) = 0;
  virtual void ShowWarningMsg(const QString& msg) = 0;
  virtual void ShowConfirmMsg(const QString& msg) = 0;
  virtual void ShowInformationMsg(const QString& msg) = 0;
  // A warning that does not wait for an answer: nothing stops while it is shown, and
  // a newer one replaces it.
  virtual void ShowNotice(const QString& msg) = 0;
};

class TMessageBoxDialogs : public IDialogs {
 public:
  explicit TMessageBoxDialogs(QWidget* parent) : parent_(parent) {}
  bool AskYesNo(const QString& msg) override;
  void ShowErrorMsg(const QString& msg) override;
  void ShowWarningMsg(const QString& msg) override;
  void ShowConfirmMsg(const QString& msg) override;
  void ShowInformationMsg(const QString& msg) override;
  void ShowNotice(const QString& msg) override;

 private:
  QWidget* parent_;
  QPointer<QMessageBox> notice_;
};

// The dialogs of a close that nobody may be there to answer (a stop signal): each
// message goes to standard error after `prefix`, and every question is answered no.
class TStderrDialogs : public IDialogs {
 public:
  explicit TStderrDialogs(QString prefix) : prefix_(std::move(prefix)) {}
  bool AskYesNo(const QString& msg) override;
  void ShowErrorMsg(const QString& msg) override { Print(msg); }
  void ShowWarningMsg(const QString& msg) override { Print(msg); }
  void ShowConfirmMsg(const QString& msg) override { Print(msg); }
  void ShowInformationMsg(const QString& msg) override { Print(msg); }
  void ShowNotice(const QString& msg) override { Print(msg); }

 private:
  void Print(const QString& msg);
  QString prefix_;
};

}  // namespace orlimo
