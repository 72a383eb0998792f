// The diagnostic side of the window: the four trace panes (written always, shown
// only in the wide layout), and the strip right of the instruments with the
// colour legend, the test slider and the test buttons: frame self-test, the SiRF
// switch to NMEA, baud detection, the receive time-outs, saving the timing log and
// the log checker.
#include <QFile>
#include <QFileDialog>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QSpinBox>

#include "app/fonts.h"
#include "app/main_window.h"
#include "app/monitor_list.h"
#include "app/views/speed_view.h"
#include "session/raw_data_log.h"

namespace orlimo {
namespace {

QString Latin1(std::string_view s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// The log checker's choice of files, written as pairs of caption and pattern.
constexpr const char* kLogFileFilter =
    "NMEA log File (*.log)|*.log|Text File (*.txt)|*.txt|Other type (*.*)|*.*";

// "caption|pattern|caption|pattern" as the toolkit's dialog wants it: the captions,
// which carry their patterns, one per ";;".
QString DialogFilter(const QString& pairs) {
  const QStringList parts = pairs.split(QLatin1Char('|'));
  QStringList captions;
  for (qsizetype i = 0; i < parts.size(); i += 2) captions << parts[i];
  return captions.join(QStringLiteral(";;"));
}

// A text file's lines as a string list loads them: CR LF, LF or CR ends a line, and
// a last line needs no end.
std::vector<std::string> SplitLines(const QByteArray& data) {
  std::vector<std::string> lines;
  std::string line;
  for (qsizetype i = 0; i < data.size(); ++i) {
    const char c = data[i];
    if (c != '\r' && c != '\n') {
      line.push_back(c);
      continue;
    }
    if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
    lines.push_back(std::move(line));
    line.clear();
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

QPlainTextEdit* MakeMemo(QWidget* parent, const char* name, const QRect& geometry) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setObjectName(QString::fromLatin1(name));
  memo->setGeometry(geometry);
  memo->setReadOnly(true);
  memo->setFont(CourierFont(11));
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  return memo;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, const QRect& geometry) {
  auto* b = new QPushButton(QString::fromLatin1(caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setGeometry(geometry);
  return b;
}

}  // namespace

void TFrmOrlimo::BuildDiagnosticStrip() {
  // Children are placed in window coordinates less the strip's left edge.
  constexpr int kLeft = 848;
  diagnosticStrip_ = new QWidget(client_);
  diagnosticStrip_->setObjectName(QStringLiteral("DiagnosticStrip"));
  diagnosticStrip_->setGeometry(kLeft, 0, kDesignWidth - kLeft, kDesignHeight);
  QWidget* strip = diagnosticStrip_;
  auto at = [](int x, int y, int w, int h) { return QRect(x - kLeft, y, w, h); };

  memos_[1] = MakeMemo(strip, "Memo1", at(856, 6, 262, 120));
  memos_[1]->setToolTip(QStringLiteral("Port list changes"));
  memos_[4] = MakeMemo(strip, "Memo4", at(856, 130, 262, 232));
  memos_[4]->setToolTip(QStringLiteral("Timing log"));
  // Below the test slider, level with the message log.
  memos_[3] = MakeMemo(strip, "Memo3", at(856, 600, 262, 144));
  memos_[3]->setToolTip(QStringLiteral("Receive events each second"));
  memos_[2]->setObjectName(QStringLiteral("Memo2"));
  memos_[2]->setReadOnly(true);
  memos_[2]->setFont(CourierFont(11));
  memos_[2]->setLineWrapMode(QPlainTextEdit::NoWrap);
  memos_[2]->setToolTip(QStringLiteral("Message log"));

  QPushButton* openFile = MakeButton(strip, "Button7", "Open File", at(856, 366, 84, 26));
  QPushButton* setTimeOut = MakeButton(strip, "Button1", "SetTimeOut", at(945, 366, 84, 26));
  QPushButton* save = MakeButton(strip, "Button2", "Save", at(1034, 366, 84, 26));

  spinEditTimeOut_ = new QSpinBox(strip);
  spinEditTimeOut_->setObjectName(QStringLiteral("SpinEditTimeOut"));
  spinEditTimeOut_->setRange(1, 100);
  spinEditTimeOut_->setValue(30);
  spinEditTimeOut_->setGeometry(at(856, 430, 60, 24));
  QPushButton* autoDetect = MakeButton(strip, "AutoDetect", "AutoDetect", at(920, 429, 104, 26));
  QPushButton* buttonTest = MakeButton(strip, "ButtonTest", "ButtonTest", at(856, 462, 80, 26));
  QPushButton* sirf = MakeButton(strip, "Button20", "Sirf384N48", at(940, 462, 84, 26));

  // The colour legend: the monitor list's rule on the tags it knows.
  lbxTestColor_ = new QListWidget(strip);
  lbxTestColor_->setObjectName(QStringLiteral("lbxTestColor"));
  lbxTestColor_->setFont(CourierFont(11));
  lbxTestColor_->setItemDelegate(new TMonitorDelegate(lbxTestColor_));
  lbxTestColor_->setUniformItemSizes(true);
  lbxTestColor_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  lbxTestColor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QPalette legend = lbxTestColor_->palette();
  legend.setColor(QPalette::Base, Qt::black);
  lbxTestColor_->setPalette(legend);
  for (const char* tag : {"$GPRMC", "$GPGGA", "$GPGLL", "$GPGSA", "$GPGSV", "$GPVTG", "$PQX", "$PQY", ""}) {
    lbxTestColor_->addItem(QString::fromLatin1(tag));
  }
  lbxTestColor_->setGeometry(at(1030, 430, 88, 9 * TMonitorDelegate::kItemHeight + 4));

  scrollBarMeter_ = new QScrollBar(Qt::Horizontal, strip);
  scrollBarMeter_->setObjectName(QStringLiteral("ScrollBarMeter"));
  scrollBarMeter_->setRange(0, 360);
  scrollBarMeter_->setPageStep(0);
  scrollBarMeter_->setGeometry(at(856, 575, 233, 17));

  connect(buttonTest, &QPushButton::clicked, this, [this] { session_->ButtonTestClick(); });
  connect(openFile, &QPushButton::clicked, this, [this] { Button7Click(); });
  connect(sirf, &QPushButton::clicked, this, [this] { session_->Button20Click(); });
  connect(autoDetect, &QPushButton::clicked, this, [this] { session_->StartBaudDetection(); });
  connect(setTimeOut, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(save, &QPushButton::clicked, this, [this] { Button2Click(); });
  connect(scrollBarMeter_, &QScrollBar::valueChanged, this, [this](int p) { speedView_->ScrollBarMeterChange(p); });
}

// --- Trace panes ---

void TFrmOrlimo::AppendTrace(int memo, std::string_view text) {
  if (memo < 1 || memo > 4) return;
  // A pane takes CR LF, LF or CR as the end of a line.
  QString lines = Latin1(text);
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  memos_[memo]->appendPlainText(lines);
  memoLines_[memo] += 1 + static_cast<int>(lines.count(QLatin1Char('\n')));
}

int TFrmOrlimo::TraceLineCount(int memo) const { return memo >= 1 && memo <= 4 ? memoLines_[memo] : 0; }

void TFrmOrlimo::ClearTrace(int memo) {
  if (memo < 1 || memo > 4) return;
  memos_[memo]->clear();
  memoLines_[memo] = 0;
}

bool TFrmOrlimo::TraceVisible(int memo) const {
  return memo >= 1 && memo <= 4 && memos_[memo]->isVisibleTo(this);
}

std::vector<std::string> TFrmOrlimo::TraceLines(int memo) const {
  std::vector<std::string> lines;
  if (TraceLineCount(memo) == 0) return lines;
  for (const QString& line : memos_[memo]->toPlainText().split(QLatin1Char('\n'))) {
    lines.push_back(line.toLatin1().toStdString());
  }
  return lines;
}

void TFrmOrlimo::SaveTraceLines(int memo, const QString& path) {
  QByteArray text;
  for (const std::string& line : TraceLines(memo)) {
    text.append(line.data(), static_cast<qsizetype>(line.size()));
    text.append("\r\n");
  }
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit()) return;
  ShowErrorMsg("Unable to write " + path.toStdString() + " : " + file.errorString().toStdString());
}

// --- Buttons of the strip ---

void TFrmOrlimo::Button1Click() {
  TComm& comm = session_->CommGPS();
  AppendTrace(4, std::to_string(comm.ReadIntervalTimeout()));
  AppendTrace(4, std::to_string(comm.ReadTotalTimeoutMultiplier()));
  AppendTrace(4, std::to_string(comm.ReadTotalTimeoutConstant()));
}

void TFrmOrlimo::Button2Click() { SaveTraceLines(4, QStringLiteral("TTFFLog.txt")); }

void TFrmOrlimo::Button7Click() {
  const QString folder = QString::fromStdString(setup_.Places.AppDir);
  const QString filter = DialogFilter(QString::fromLatin1(kLogFileFilter));
  const QString file = setup_.GetOpenFileName
                           ? setup_.GetOpenFileName(folder, filter)
                           : QFileDialog::getOpenFileName(this, QStringLiteral("Open"), folder, filter);
  if (file.isEmpty()) return;
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly)) {
    ShowErrorMsg("Cannot open file " + file.toStdString() + ". " + in.errorString().toStdString());
    return;
  }
  // Its own list: the lines waiting for the raw-data log are not touched.
  for (const std::string& line : CheckLogLines(SplitLines(in.readAll()))) AppendTrace(4, line);
}

}  // namespace orlimo
