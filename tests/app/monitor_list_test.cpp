#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>

#include <fstream>

#include <gtest/gtest.h>

#include "app/monitor_list.h"
#include "app_test_support.h"

namespace orlimo {
namespace {

using test::kGSV;
using test::kRMC;

const std::string kPQY = "$PQYVER,GSW3.2.4*6B";
const std::string kZDA = "$GPZDA,023441.00,20,04,2006,00,00*6A";
const std::string kPQXWithGGA = "$PQXGGA,1*00";

// Pixels of exactly `colour` in the band of row `row`.
int CountInRow(const QImage& img, int row, const QColor& colour) {
  int n = 0;
  for (int y = row * TMonitorDelegate::kItemHeight; y < (row + 1) * TMonitorDelegate::kItemHeight; ++y) {
    for (int x = 0; x < img.width(); ++x) n += img.pixelColor(x, y) == colour;
  }
  return n;
}

// A click in row `row` of the rows shown.
void Click(TMonitorList& list, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  const QPointF pos(20, row * list.sizeHintForRow(0) + 5);
  const QPointF global = list.viewport()->mapToGlobal(pos);
  QMouseEvent press(QEvent::MouseButtonPress, pos, global, Qt::LeftButton, Qt::LeftButton, modifiers);
  QMouseEvent release(QEvent::MouseButtonRelease, pos, global, Qt::LeftButton, Qt::NoButton, modifiers);
  QApplication::sendEvent(list.viewport(), &press);
  QApplication::sendEvent(list.viewport(), &release);
}

// Lines that differ from each other, in several colours.
std::string NumberedLine(int n) {
  const std::string kinds[] = {kGSV, kRMC, kPQY, kZDA, kPQXWithGGA};
  return kinds[n % 5] + "," + std::to_string(n);
}

QImage ViewportImage(QAbstractScrollArea& area) {
  QImage img(area.viewport()->size(), QImage::Format_RGB32);
  area.viewport()->render(&img);
  return img;
}

// Showing or hiding the scroll bar lays the list out in a queued call, and that
// paints again: a few rounds settle both.
void Settle() {
  for (int i = 0; i < 4; ++i) {
    QApplication::sendPostedEvents();
    QApplication::processEvents();
  }
}

// What the screen shows of the list's rows: what was painted and flushed, not a fresh
// rendering.
QImage OnScreen(TMonitorList& list) {
  Settle();
  const QImage window =
      QGuiApplication::primaryScreen()->grabWindow(list.winId()).toImage().convertToFormat(QImage::Format_RGB32);
  return window.copy(list.viewport()->geometry());
}

struct PaintLog : QObject {
  QRegion painted;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(e)->region();
    return false;
  }
};

class MonitorListTest : public ::testing::Test {
 protected:
  MonitorListTest() {
    list.resize(560, 200);
    QFont f = list.font();
    f.setStyleStrategy(QFont::NoAntialias);  // glyph pixels in the pen colour only
    list.setFont(f);
    list.setFrameShape(QFrame::NoFrame);
    list.SetInspectionBox(&edit1);
  }
  QImage Render() {
    list.show();
    QApplication::processEvents();
    QImage img(list.viewport()->size(), QImage::Format_RGB32);
    list.viewport()->render(&img);
    return img;
  }
  // The application exists before the widgets below are made, also when a test
  // runs alone in its own process.
  bool appReady_ = (test::App(), true);
  TMonitorList list;
  QLineEdit edit1;
};

TEST_F(MonitorListTest, EachLineInTheColourOfItsTypeOnBlack) {
  for (const std::string& l : {kGSV, kRMC, kPQY, kZDA, kPQXWithGGA}) list.AppendLine(l);
  const QImage img = Render();
  const QColor gsv(0xFF, 0x97, 0x97), rmc(0x7B, 0xF7, 0x00), pqy(0x80, 0xBF, 0xFF), gga(0xF2, 0x00, 0xF2);
  EXPECT_GT(CountInRow(img, 0, gsv), 20);
  EXPECT_EQ(CountInRow(img, 0, rmc), 0);
  EXPECT_GT(CountInRow(img, 1, rmc), 20);
  EXPECT_GT(CountInRow(img, 2, pqy), 5);
  EXPECT_GT(CountInRow(img, 3, Qt::white), 20);  // a type without a colour of its own
  EXPECT_GT(CountInRow(img, 4, gga), 5);         // found by tag anywhere in the line
  EXPECT_EQ(img.pixelColor(img.width() - 1, 2), QColor(Qt::black));
  EXPECT_EQ(list.sizeHintForRow(0), 14);
}

// What each row should show: the line drawn by QPainter::drawText in the list's font and
// its type colour, on the row's background only as wide as the text.
QImage ExpectedRows(const TMonitorList& list, const QStringList& lines, int selected, QSize size) {
  QImage img(size, QImage::Format_RGB32);
  img.fill(Qt::black);
  QPainter p(&img);
  p.setFont(list.font());
  const QFontMetrics fm(list.font());
  for (int i = 0; i < lines.size(); ++i) {
    const QRect box(0, i * TMonitorDelegate::kItemHeight, fm.horizontalAdvance(lines[i]), TMonitorDelegate::kItemHeight);
    if (i == selected) p.fillRect(box, list.palette().color(QPalette::Active, QPalette::Highlight));
    p.setPen(MonitorColor(lines[i].toLatin1().toStdString()));
    p.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, lines[i]);
  }
  return img;
}

// Lines of many widths (the text's right edge falls anywhere in a pixel), lines with
// Latin-1 letters and with a tab, the last one selected; smooth and plain glyphs.
TEST_F(MonitorListTest, EveryRowIsWhatDrawTextShows) {
  QStringList lines;
  for (const std::string& l : {kGSV, kRMC, test::kGGA, test::kGSA, kPQY, kZDA, kPQXWithGGA}) {
    lines << QString::fromStdString(l);
  }
  // The 'A's right edge falls beyond the rounded width of the text, where it is cut off.
  lines << QStringLiteral("$GPGSV,4,4,13,32,76,331,33*4A") << QStringLiteral("$GNGSA,A,3,73,82,80,71,72,79,,,,,,,1.2,0.7,0.9*2A");
  lines << QString::fromLatin1("$PQXTXT,M\xfcnchen \xe9t\xe9*00") << QStringLiteral("$GPTXT,a\tb*00");
  // More widths from a receiver's log, where the test data is at hand.
  std::ifstream log(ORLIMO_TESTDATA_DIR "/receiver-logs/sirfstarv-nmea.log");
  for (std::string l; lines.size() < 32 && std::getline(log, l);) {
    while (!l.empty() && (l.back() == '\r' || l.back() == '\n')) l.pop_back();
    if (l.rfind('$', 0) == 0) lines << QString::fromLatin1(l);
  }
  list.resize(720, 34 * TMonitorDelegate::kItemHeight);
  for (const QString& l : lines) list.AppendLine(l.toLatin1().toStdString());
  list.SelectLastLine();
  for (bool smooth : {false, true}) {
    QFont f = list.font();
    f.setStyleStrategy(smooth ? QFont::PreferDefault : QFont::NoAntialias);
    list.setFont(f);
    const QImage shown = Render();
    ASSERT_EQ(list.verticalScrollBar()->value(), 0);
    const QImage expected = ExpectedRows(list, lines, int(lines.size()) - 1, shown.size());
    for (int row = 0; row < lines.size(); ++row) {
      const QRect band(0, row * TMonitorDelegate::kItemHeight, shown.width(), TMonitorDelegate::kItemHeight);
      EXPECT_EQ(shown.copy(band), expected.copy(band)) << "smooth " << smooth << ", row " << row << ": "
                                                       << lines[row].toStdString();
    }
  }
}

TEST_F(MonitorListTest, WithoutSyntaxColourBlackTextOnSilver) {
  list.AppendLine(kRMC);
  list.SetSyntaxColor(false);
  const QImage img = Render();
  EXPECT_EQ(img.pixelColor(img.width() - 1, img.height() - 1), QColor(0xC0, 0xC0, 0xC0));
  EXPECT_EQ(CountInRow(img, 0, QColor(0x7B, 0xF7, 0x00)), 0);
  list.SetSyntaxColor(true);
  EXPECT_GT(CountInRow(Render(), 0, QColor(0x7B, 0xF7, 0x00)), 20);
}

TEST_F(MonitorListTest, CopyPutsTheSelectedLineWithCRLFOnTheClipboard) {
  for (const std::string& l : {kGSV, kRMC, kPQY, kZDA}) list.AppendLine(l);
  list.SelectRow(2);
  list.CopytoClipboard1Click();
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromStdString(kPQY + "\r\n"));

  list.ClearSelection();
  list.CopytoClipboard1Click();
  EXPECT_EQ(QApplication::clipboard()->text(), QString());

  const auto actions = list.PopupMenu()->actions();
  ASSERT_EQ(actions.size(), 2);
  EXPECT_EQ(actions[0]->text(), QStringLiteral("Clear"));
  EXPECT_EQ(actions[1]->text(), QStringLiteral("Copy to Clipboard"));
  actions[0]->trigger();
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(MonitorListTest, InspectionBoxFollowsClicksAndArrowKeys) {
  for (const std::string& l : {kGSV, kRMC, kPQY}) list.AppendLine(l);
  list.SelectLastLine();
  EXPECT_EQ(list.SelectedIndex(), 2);
  Click(list, 1);
  EXPECT_EQ(list.SelectedIndex(), 1);
  EXPECT_EQ(edit1.text().toStdString(), kRMC);
  Click(list, 2);
  EXPECT_EQ(edit1.text().toStdString(), kPQY);

  list.setFocus();
  QKeyEvent upPress(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
  QKeyEvent upRelease(QEvent::KeyRelease, Qt::Key_Up, Qt::NoModifier);
  QApplication::sendEvent(&list, &upPress);
  QApplication::sendEvent(&list, &upRelease);
  EXPECT_EQ(edit1.text().toStdString(), kRMC);

  QKeyEvent esc(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&list, &esc);
  EXPECT_EQ(edit1.text(), QString());

  // A click below the lines selects nothing and leaves the box alone.
  edit1.setText(QStringLiteral("kept"));
  Click(list, 5);
  EXPECT_EQ(list.SelectedIndex(), -1);
  EXPECT_EQ(edit1.text(), QStringLiteral("kept"));
}

// A binary frame is a line in its protocol's colour, and a click shows its bytes.
TEST_F(MonitorListTest, BinaryFramesInTheirProtocolsColourInspectedAsHex) {
  list.AppendLine(kRMC);
  list.AppendFrame("UBX NAV-DOP", std::string("\xB5\x62\x01\x04", 4));
  list.AppendFrame("SiRF 41 3D 8 SV", std::string("\xA0\xA2\x00\x5B", 4));
  const QImage img = Render();
  EXPECT_GT(CountInRow(img, 1, MonitorFrameColor("\xB5\x62")), 20);
  EXPECT_GT(CountInRow(img, 2, MonitorFrameColor("\xA0\xA2")), 20);
  EXPECT_NE(MonitorFrameColor("\xB5\x62"), MonitorFrameColor("\xA0\xA2"));
  Click(list, 1);
  EXPECT_EQ(edit1.text().toStdString(), "B5 62 01 04");
  EXPECT_EQ(list.Line(2), "SiRF 41 3D 8 SV");
}

TEST_F(MonitorListTest, ShiftAndControlClicksSelectSeveralLinesToCopy) {
  for (const std::string& l : {kGSV, kRMC, kPQY, kZDA}) list.AppendLine(l);
  Click(list, 0);
  Click(list, 2, Qt::ShiftModifier);
  Click(list, 1, Qt::ControlModifier);
  list.CopytoClipboard1Click();
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromStdString(kGSV + "\r\n" + kPQY + "\r\n"));
}

// The list view with uniform rows that the monitor list was, set up as it was set up.
void LikeTheOldList(QListWidget& old, const TMonitorList& list, bool colour, QAbstractItemDelegate* delegate) {
  old.resize(list.size());
  old.setFont(list.font());
  old.setFrameShape(QFrame::NoFrame);
  old.setUniformItemSizes(true);
  old.setSelectionMode(QAbstractItemView::ExtendedSelection);
  old.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  old.setItemDelegate(delegate);
  QPalette pal = old.palette();
  if (colour) {
    pal.setColor(QPalette::Base, Qt::black);
  } else {
    pal.setColor(QPalette::Base, QColor(0xC0, 0xC0, 0xC0));
    pal.setColor(QPalette::Text, QApplication::palette().color(QPalette::Text));
  }
  old.setPalette(pal);
}

// More lines than fit, at the bottom with the last selected: in both modes the rows
// sit where a list view scrolling per item puts them, and look the same.
TEST_F(MonitorListTest, ShowsTheLinesAsAListViewDid) {
  TMonitorDelegate colourDelegate;
  QListWidget old;
  QAbstractItemDelegate* plainDelegate = old.itemDelegate();
  list.show();
  old.show();
  for (int i = 0; i < 40; ++i) {
    list.AppendLine(NumberedLine(i));
    old.addItem(QString::fromStdString(NumberedLine(i)));
  }
  for (bool colour : {true, false}) {
    list.SetSyntaxColor(colour);
    LikeTheOldList(old, list, colour, colour ? static_cast<QAbstractItemDelegate*>(&colourDelegate) : plainDelegate);
    QApplication::processEvents();
    list.SelectLastLine();
    old.setCurrentRow(old.count() - 1, QItemSelectionModel::ClearAndSelect);
    old.scrollToBottom();
    QApplication::processEvents();
    list.clearFocus();
    old.clearFocus();
    ASSERT_EQ(list.viewport()->size(), old.viewport()->size()) << colour;
    ASSERT_GT(list.TopRow(), 0);
    EXPECT_EQ(ViewportImage(list), ViewportImage(old)) << "colour " << colour;
  }
}

TEST_F(MonitorListTest, APassPaintsOnlyItsNewRowsAndTheRowThatLostTheSelectionATrimNone) {
  list.show();
  int n = 0;
  while (n < 40) list.AppendLine(NumberedLine(n++));
  list.SelectLastLine();
  Settle();
  PaintLog log;
  list.viewport()->installEventFilter(&log);
  for (int i = 0; i < 3; ++i) list.AppendLine(NumberedLine(n++));
  list.SelectLastLine();
  const QImage shown = OnScreen(list);
  const int h = TMonitorDelegate::kItemHeight;
  const QSize size = list.viewport()->size();
  const int fourthLast = (size.height() / h - 4) * h;  // whole rows fill the top, the rest stays blank
  EXPECT_FALSE(log.painted.isEmpty());
  EXPECT_EQ(log.painted - QRect(0, fourthLast, size.width(), size.height() - fourthLast), QRegion());
  EXPECT_EQ(shown, ViewportImage(list));

  // Trimming the top leaves the lines shown where they are: nothing is painted.
  Settle();
  const int top = list.TopRow();
  log.painted = QRegion();
  list.DeleteFirstLines(10);
  Settle();
  EXPECT_TRUE(log.painted.isEmpty());
  EXPECT_EQ(list.TopRow(), top - 10);
  EXPECT_EQ(list.SelectedIndex(), 32);
  EXPECT_EQ(list.Line(0), NumberedLine(10));
}

// Also when the rows were scrolled up by hand before a pass brings them back down.
TEST_F(MonitorListTest, TheScreenFollowsPassesTrimsAndScrollingFromEmptyToFull) {
  list.show();
  int n = 0;
  for (int pass = 0; pass < 14; ++pass) {
    for (int i = 0; i < 2 + pass % 5; ++i) list.AppendLine(NumberedLine(n++));
    if (pass % 3 == 2) {
      list.verticalScrollBar()->setValue(list.TopRow() - 1 - pass % 4);
      const QImage scrolled = OnScreen(list);
      ASSERT_EQ(scrolled, ViewportImage(list)) << "pass " << pass << ", scrolled to " << list.TopRow();
    }
    list.SelectLastLine();
    if (list.Count() > 30) list.DeleteFirstLines(list.Count() - 20);
    const QImage shown = OnScreen(list);
    ASSERT_EQ(shown, ViewportImage(list)) << "pass " << pass << ", " << list.Count() << " lines";
  }
  EXPECT_GT(list.TopRow(), 0);
}

TEST(MonitorTrim, TheSessionTrimsTheWindowListInOneStep) {
  test::WindowRig rig;
  TFrmOrlimo& w = *rig.window;
  for (int i = 0; i < 2401; ++i) w.AppendMonitorLine("line " + std::to_string(i));
  w.SelectLastMonitorLine();
  w.Session().Pipeline().TrimMonitorList();
  EXPECT_EQ(w.MonitorLineCount(), 1919);
  EXPECT_EQ(w.lbxNMEA()->Line(0), "line 482");
  EXPECT_EQ(w.MonitorSelectedIndex(), 1918);
}

}  // namespace
}  // namespace orlimo
