// The four message dialogs of the window. The program shows message boxes; tests
// hand in a recorder that answers from a script.
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
  void ShowNotice(const QString& msg) override;

 private:
  QWidget* parent_;
  QPointer<QMessageBox> notice_;
};

}  // namespace orlimo
