// The editions other than Pro as their activation lays them out, the banner, the
// logo's page, and the wide layout with its diagnostic strip and message log.
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
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

QWidget* Child(TFrmOrlimo& w, const char* name) { return w.findChild<QWidget*>(QString::fromLatin1(name)); }
// Where a part sits in the window below the menu bar, whose positions the layout gives.
QRect InWindow(TFrmOrlimo& w, const QWidget* c) { return QRect(c->mapTo(w.Client(), QPoint(0, 0)), c->size()); }

// Where the designed place would cover the last tool the switch starts 2 pixels
// after it, and a banner that would leave the window is cut at its edge.
TEST(EditionLayouts, EachEditionPlacesTheRowAsItsActivationSays) {
  struct Case {
    Edition edition;
    const char* title;
    QRect unit, logo;
    int toolBarWidth;
  };
  const Case cases[] = {
      {{}, "KELDAR Orlimo V:1.10", {530, 3, 120, 50}, {658, 8, 168, 44}, 320},
      {{.TrickleButtonEnabled = true}, "KELDAR Orlimo V:1.10", {569, 3, 60, 50}, {637, 8, 168, 44}, 320},
      {{.BrandCode = kBrandMaker}, "Quorvex Orlimo V:1.10", {530, 3, 100, 50}, {634, 10, 210, 40}, 360},
      {{.BrandCode = kBrandFenwold, .TrickleButtonEnabled = true}, "Quorvex Orlimo V:1.10", {569, 3, 57, 50},
       {630, 10, 214, 40}, 360},
      {{.BrandCode = kBrandMaker, .TashviEdition = true}, "Quorvex Orlimo (for Tashvi) V:1.10", {530, 3, 100, 50},
       {634, 10, 210, 40}, 360},
      {{.TrickleButtonEnabled = true, .CompactLayout = true}, "KELDAR Orlimo V:1.10", {530, 3, 56, 50},
       {718, 10, 126, 40}, 400},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title + std::to_string(c.unit.x()));
    test::WindowRig rig({QStringLiteral("/dev/ttyUSB0")}, c.edition);
    TFrmOrlimo& w = *rig.window;
    w.FormActivate();  // again: the same layout
    EXPECT_EQ(w.windowTitle(), QString::fromLatin1(c.title));
    EXPECT_EQ(Child(w, "rgUNIT")->geometry(), c.unit);
    EXPECT_EQ(w.ImgLogo()->geometry(), c.logo);
    EXPECT_EQ(w.ImgLogo()->toolTip().toStdString(), c.edition.LogoHint());
    EXPECT_TRUE(w.ImgLogo()->isVisibleTo(&w));
    EXPECT_EQ(w.ToolBar1()->width(), c.toolBarWidth);
    // Only the compact layout shows the rate group, 3 after the switch, and drops
    // the trickle button.
    QWidget* rates = Child(w, "gbxGPSRBSetting");
    EXPECT_EQ(rates->isVisibleTo(&w), c.edition.CompactLayout);
    if (c.edition.CompactLayout) {
      EXPECT_EQ(rates->x(), c.unit.x() + c.unit.width() + 3);
    }
    EXPECT_EQ(w.ToolBar1()->Button(TTool::TBTP)->isVisibleTo(&w),
              c.edition.TrickleButtonEnabled && !c.edition.CompactLayout);
    for (TTool t : {TTool::TBNMEAOutput, TTool::TBHotStart, TTool::TBAbout})
      EXPECT_FALSE(w.ToolBar1()->Button(t)->isVisibleTo(&w));
    EXPECT_FALSE(Child(w, "Panel7")->isVisibleTo(&w));
  }
}

TEST(EditionLayouts, TheBannerShowsTheBrandPictureOrTheTextBetweenIcons) {
  test::App();
  auto iconAt = [](const QImage& banner, int x) {
    QImage expected(32, 32, QImage::Format_RGB32);
    expected.fill(Qt::black);
    QPainter(&expected).drawPixmap(0, 0, artwork::ApplicationIcon().pixmap(32, 32));
    return banner.copy(x, 4, 32, 32) == expected;
  };
  const int textWidth = QFontMetrics(artwork::BannerFont()).horizontalAdvance(QStringLiteral("Orlimo Utility"));
  const QImage other = artwork::DrawBanner(218, 40, 6, 4, QStringLiteral("Orlimo Utility"), false);
  EXPECT_TRUE(iconAt(other, 6));
  EXPECT_TRUE(iconAt(other, 6 + textWidth + 38));  // room for it: 218 - width - 38 > 32
  EXPECT_FALSE(other.copy(41, 9, textWidth, 24).allGray());  // the pale yellow text

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
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(20, 20), logo->mapToGlobal(QPointF(20, 20)),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(logo, &release);
  EXPECT_EQ(opened, QList<QUrl>{QUrl(QStringLiteral("https://www.keldar.example/"))});
}

TEST(WideLayout, TheStripTheMessageLogAndTheirFiles) {
  QTemporaryDir dir;
  struct Cwd {
    QString previous = QDir::currentPath();
    ~Cwd() { QDir::setCurrent(previous); }
  } cwd;
  QDir::setCurrent(dir.path());  // TTFFLog.txt and debug.txt go to the current folder
  auto read = [&](const char* name) {
    QFile f(dir.filePath(QString::fromLatin1(name)));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
  };
  auto joined = [](const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\r\n";
    return text;
  };
  QStringList checker;
  {
    test::WindowRig rig({QStringLiteral("/dev/ttyUSB0")}, Edition{.WideLayout = true}, [&](TFrmOrlimoSetup& s) {
      s.Places = {dir.path().toStdString() + "/", dir.path().toStdString() + "/orlimo.ini"};
      s.GetOpenFileName = [&](const QString& folder, const QString& filter) {
        checker << folder << filter;
        return dir.filePath(QStringLiteral("check.log"));
      };
    });
    TFrmOrlimo& w = *rig.window;
    w.show();
    EXPECT_EQ(w.Client()->size(), QSize(1126, 750));
    EXPECT_EQ(InWindow(w, w.Memo(2)), QRect(0, 595, 846, 135));
    EXPECT_EQ(InWindow(w, w.StatusBar1()).top(), 730);
    EXPECT_EQ(InWindow(w, Child(w, "ScrollBarMeter")), QRect(856, 575, 233, 17));
    for (int memo = 1; memo <= 4; ++memo) {
      EXPECT_TRUE(w.TraceVisible(memo) && w.Client()->rect().contains(InWindow(w, w.Memo(memo))));
    }
    EXPECT_EQ(w.TraceLines(2), std::vector<std::string>{"FormShow"});
    EXPECT_EQ(HintDelay(), 300);

    auto press = [&](const char* caption) {
      for (QPushButton* b : w.findChildren<QPushButton*>())
        if (b->text() == QString::fromLatin1(caption)) return b->click();
      ADD_FAILURE() << caption;
    };
    press("SetTimeOut");
    const TComm& comm = w.Session().CommGPS();
    EXPECT_EQ(w.TraceLines(4), (std::vector<std::string>{std::to_string(comm.ReadIntervalTimeout()),
                                                         std::to_string(comm.ReadTotalTimeoutMultiplier()),
                                                         std::to_string(comm.ReadTotalTimeoutConstant())}));
    press("Save");
    EXPECT_EQ(read("TTFFLog.txt"), joined(w.TraceLines(4)));

    // The checker starts in the folder of the logs and names the damaged third line.
    QFile log(dir.filePath(QStringLiteral("check.log")));
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write(QByteArray::fromStdString(test::kRMC + "\r\n" + test::kGGA + "\r\n$GPGSA,A,3*00\n" + test::kGSV));
    log.close();
    w.ClearTrace(4);
    press("Open File");
    EXPECT_EQ(checker, (QStringList{dir.path() + "/", "NMEA log File (*.log);;Text File (*.txt);;Other type (*.*)"}));
    EXPECT_EQ(w.TraceLines(4), (std::vector<std::string>{"  itemIdx:002", "OK !"}));

    press("AutoDetect");
    EXPECT_EQ(rig.dialogs, std::vector<std::string>{"error:  COM Port not Open !!"});
    ASSERT_TRUE(w.close());
    EXPECT_EQ(read("debug.txt"), joined(w.TraceLines(2)));
  }
}

}  // namespace
}  // namespace orlimo
