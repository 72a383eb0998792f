// The editions other than Pro as their activation lays them out (title, the unit
// switch, the banner and what is shown), the banner's picture, the logo's page, and
// the wide layout with its diagnostic strip and message log.
#include <QDir>
#include <QLineEdit>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

#include "app/artwork/artwork.h"
#include "app/hint_delay_style.h"
#include "app/status_bar.h"
#include "app_test_support.h"

namespace orlimo {
namespace {

template <typename T = QWidget>
T* Child(TFrmOrlimo& w, const char* name) { return w.findChild<T*>(QString::fromLatin1(name)); }
QRect InWindow(TFrmOrlimo& w, const QWidget* c) { return QRect(c->mapTo(&w, QPoint(0, 0)), c->size()); }
bool Shown(TFrmOrlimo& w, const char* name) { return Child(w, name)->isVisibleTo(&w); }

struct BrandCase {
  const char* name;
  Edition edition;
  const char* title;
  const char* hint;
  QRect unit;
  QRect logo;
  int toolBarWidth;
  bool rateGroup;
};

// Where the tools end the switch starts 2 pixels after them (the designed places
// would cover the last tool), and a banner that would leave the window is cut.
TEST(EditionLayouts, EachEditionPlacesTheRowAsItsActivationSays) {
  const BrandCase cases[] = {
      {"KELDAR", {}, "KELDAR Orlimo V:1.10", "Click here to visit KELDAR web site  ...",
       {530, 3, 120, 50}, {658, 8, 168, 44}, 320, false},
      {"KELDAR trickle", {.TrickleButtonEnabled = true}, "KELDAR Orlimo V:1.10",
       "Click here to visit KELDAR web site  ...", {569, 3, 60, 50}, {637, 8, 168, 44}, 320, false},
      {"maker", {.BrandCode = kBrandMaker}, "Quorvex Orlimo V:1.10", "Click to visit Quorvex web site  ...",
       {530, 3, 100, 50}, {634, 10, 210, 40}, 360, false},
      {"Fenwold trickle", {.BrandCode = kBrandFenwold, .TrickleButtonEnabled = true}, "Quorvex Orlimo V:1.10",
       "Click here to visit Fenwold web site  ...", {569, 3, 57, 50}, {630, 10, 214, 40}, 360, false},
      {"Tashvi", {.BrandCode = kBrandMaker, .TashviEdition = true}, "Quorvex Orlimo (for Tashvi) V:1.10",
       "Click to visit Quorvex web site  ...", {530, 3, 100, 50}, {634, 10, 210, 40}, 360, false},
      {"compact", {.TrickleButtonEnabled = true, .CompactLayout = true}, "KELDAR Orlimo V:1.10",
       "Click here to visit KELDAR web site  ...", {530, 3, 56, 50}, {718, 10, 126, 40}, 400, true},
  };
  for (const BrandCase& c : cases) {
    SCOPED_TRACE(c.name);
    test::WindowRig rig({QStringLiteral("/dev/ttyUSB0")}, c.edition);
    TFrmOrlimo& w = *rig.window;
    EXPECT_EQ(w.windowTitle(), QString::fromLatin1(c.title));
    EXPECT_EQ(Child(w, "rgUNIT")->geometry(), c.unit);
    EXPECT_EQ(Child(w, "ImgLogo")->geometry(), c.logo);
    EXPECT_EQ(Child(w, "ImgLogo")->toolTip(), QString::fromLatin1(c.hint));
    EXPECT_TRUE(Shown(w, "ImgLogo"));
    EXPECT_EQ(Shown(w, "gbxGPSRBSetting"), c.rateGroup);
    if (c.rateGroup) {
      EXPECT_EQ(Child(w, "gbxGPSRBSetting")->x(), c.unit.right() + 1 + 3);
    }
    // The compact layout drops the trickle button; the others follow the switch.
    EXPECT_EQ(w.ToolBar1()->Button(TTool::TBTP)->isVisibleTo(&w),
              c.edition.TrickleButtonEnabled && !c.edition.CompactLayout);
    for (TTool t : {TTool::TBNMEAOutput, TTool::TBHotStart, TTool::TBAbout})
      EXPECT_FALSE(w.ToolBar1()->Button(t)->isVisibleTo(&w));
    EXPECT_FALSE(Shown(w, "Panel7"));
    EXPECT_EQ(w.ToolBar1()->width(), c.toolBarWidth);
    EXPECT_TRUE(w.rect().contains(InWindow(w, Child(w, "ImgLogo"))));
    // The dial carries the KELDAR name only in the KELDAR editions.
    bool keldarDial = false;
    for (QLabel* l : w.Panel3()->findChildren<QLabel*>()) keldarDial = keldarDial || l->text() == " KELDAR";
    EXPECT_EQ(keldarDial, c.edition.BrandCode == kBrandKeldar);

    // Activation lays the window out again the same way.
    w.FormActivate();
    EXPECT_EQ(Child(w, "rgUNIT")->geometry(), c.unit);
    EXPECT_EQ(Child(w, "ImgLogo")->geometry(), c.logo);
  }
}

TEST(EditionLayouts, TheBannerShowsTheBrandPictureOrTheTextBetweenIcons) {
  test::App();
  auto iconAt = [&](const QImage& banner, int x) {
    QImage expected(32, 32, QImage::Format_RGB32);
    expected.fill(Qt::black);
    QPainter(&expected).drawImage(0, 0, artwork::ApplicationIcon().pixmap(32, 32).toImage());
    return banner.copy(x, 4, 32, 32) == expected;
  };
  const int textWidth = QFontMetrics(artwork::BannerFont()).horizontalAdvance(QStringLiteral("Orlimo Utility"));

  const QImage other = artwork::DrawBanner(218, 40, 6, 4, QStringLiteral("Orlimo Utility"), false);
  EXPECT_EQ(other.pixelColor(0, 0), QColor(128, 128, 128));
  EXPECT_EQ(other.pixelColor(217, 39), QColor(128, 128, 128));
  EXPECT_TRUE(iconAt(other, 6));
  ASSERT_GT(218 - textWidth - 38, 32);
  EXPECT_TRUE(iconAt(other, 6 + textWidth + 38));
  bool textPixel = false;
  for (int x = 41; x < 41 + textWidth; ++x)
    for (int y = 9; y < 34; ++y) textPixel = textPixel || other.pixelColor(x, y) == QColor(255, 255, 185);
  EXPECT_TRUE(textPixel);

  // No room for the second icon.
  const QImage compact = artwork::DrawBanner(133, 40, 6, 4, QStringLiteral(" Orlimo"), false);
  EXPECT_TRUE(iconAt(compact, 6));
  for (int x = 100; x < 132; ++x) EXPECT_NE(compact.pixelColor(x, 20), QColor(0x00, 0x40, 0x80));

  // The brand's picture and nothing else.
  const QImage brand = artwork::DrawBanner(168, 44, 6, 4, QStringLiteral(" Orlimo Utility "), true);
  QImage expected(168, 44, QImage::Format_RGB32);
  expected.fill(Qt::black);
  {
    QPainter p(&expected);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(0, 0, 167, 43);
    p.drawImage(10, 4, artwork::BrandBitmap());
  }
  EXPECT_EQ(brand, expected);
}

TEST(EditionLayouts, ALogoClickOpensTheBrandsPage) {
  QList<QUrl> opened;
  test::WindowRig rig({QStringLiteral("/dev/ttyUSB0")}, {},
                      [&](TFrmOrlimoSetup& s) { s.OpenUrl = [&](const QUrl& u) { opened << u; }; });
  QLabel* logo = rig.window->ImgLogo();
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent click(type, QPointF(20, 20), logo->mapToGlobal(QPointF(20, 20)), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(logo, &click);
  }
  EXPECT_EQ(opened, QList<QUrl>{QUrl(QStringLiteral("https://www.keldar.example/"))});
}

class WideWindow : public ::testing::Test {
 protected:
  WideWindow() {
    EXPECT_TRUE(dir.isValid());
    previous = QDir::currentPath();
    QDir::setCurrent(dir.path());  // TTFFLog.txt and debug.txt go to the current folder
  }
  ~WideWindow() override { QDir::setCurrent(previous); }
  QString File(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  QByteArray Read(const char* name) const {
    QFile f(File(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  QTemporaryDir dir;
  QString previous;
  QStringList checkerCall;
  test::WindowRig rig{{QStringLiteral("/dev/ttyUSB0")}, Edition{.WideLayout = true}, [this](TFrmOrlimoSetup& s) {
                        s.Places = {dir.path().toStdString() + "/", dir.path().toStdString() + "/orlimo.ini"};
                        s.GetOpenFileName = [this](const QString& folder, const QString& filter) {
                          checkerCall << folder << filter;
                          return File("check.log");
                        };
                      }};
  TFrmOrlimo& w = *rig.window;
};

TEST_F(WideWindow, KeepsTheDesignSizeWithTheStripAndTheMessageLog) {
  w.show();
  EXPECT_EQ(w.size(), QSize(1126, 750));
  EXPECT_EQ(InWindow(w, w.Memo(2)), QRect(0, 595, 846, 135));
  EXPECT_EQ(InWindow(w, w.StatusBar1()), QRect(0, 730, 846, 20));
  EXPECT_EQ(InWindow(w, Child(w, "ScrollBarMeter")), QRect(856, 575, 233, 17));
  EXPECT_EQ(InWindow(w, w.Edit1()).left(), 856);
  for (const char* name : {"Memo1", "Memo2", "Memo3", "Memo4", "lbxTestColor", "SpinEditTimeOut", "ScrollBarMeter",
                           "Edit1"}) {
    EXPECT_TRUE(Child(w, name)->isVisible()) << name;
    EXPECT_TRUE(w.rect().contains(InWindow(w, Child(w, name)))) << name;
  }
  for (int memo = 1; memo <= 4; ++memo) EXPECT_TRUE(w.TraceVisible(memo));
  // The log the session writes shows in the box.
  EXPECT_EQ(w.TraceLines(2), std::vector<std::string>{"FormShow"});
  w.AppendTrace(2, "one\r\ntwo");
  EXPECT_EQ(w.TraceLineCount(2), 3);
  EXPECT_EQ(w.Memo(2)->toPlainText(), QStringLiteral("FormShow\none\ntwo"));
  EXPECT_EQ(HintDelay(), 300);

  // The narrowed window hides the strip, the boxes and the message log.
  test::WindowRig narrow;
  for (int memo = 1; memo <= 4; ++memo) EXPECT_FALSE(narrow.window->TraceVisible(memo));
  EXPECT_FALSE(Child(*narrow.window, "DiagnosticStrip")->isVisibleTo(narrow.window.get()));
}

TEST_F(WideWindow, StripButtonsAndTheMessageLogAtClose) {
  w.show();
  auto press = [&](const char* caption) {
    for (QPushButton* b : w.findChildren<QPushButton*>())
      if (b->text() == QString::fromLatin1(caption)) return b->click();
    ADD_FAILURE() << caption;
  };
  press("SetTimeOut");
  const TComm& comm = w.Session().CommGPS();
  EXPECT_EQ(w.TraceLines(4),
            (std::vector<std::string>{std::to_string(comm.ReadIntervalTimeout()),
                                      std::to_string(comm.ReadTotalTimeoutMultiplier()),
                                      std::to_string(comm.ReadTotalTimeoutConstant())}));
  press("Save");
  std::string saved;
  for (const std::string& l : w.TraceLines(4)) saved += l + "\r\n";
  EXPECT_EQ(Read("TTFFLog.txt").toStdString(), saved);

  // The checker starts in the folder of the logs and reports the third line.
  {
    QFile log(File("check.log"));
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write(QByteArray::fromStdString(test::kRMC + "\r\n" + test::kGGA + "\r\n$GPGSA,A,3*00\r\n" + test::kGSV));
  }
  w.ClearTrace(4);
  press("Open File");
  EXPECT_EQ(checkerCall, (QStringList{dir.path() + "/",
                                      "NMEA log File (*.log);;Text File (*.txt);;Other type (*.*)"}));
  EXPECT_EQ(w.TraceLines(4), (std::vector<std::string>{"  itemIdx:002", "OK !"}));

  press("ButtonTest");
  EXPECT_EQ(w.TraceLines(2).back(), "SiRF format OK !");
  press("AutoDetect");
  EXPECT_EQ(rig.dialogs, std::vector<std::string>{"error:  COM Port not Open !!"});

  ASSERT_TRUE(w.close());
  const std::vector<std::string> log = w.TraceLines(2);
  std::string expected;
  for (const std::string& l : log) expected += l + "\r\n";
  EXPECT_EQ(Read("debug.txt").toStdString(), expected);
  EXPECT_EQ(log.front(), "FormShow");
}

}  // namespace
}  // namespace orlimo
