#include <gtest/gtest.h>

#include <QFile>

#include "app/views/artwork/view_art.h"
#include "app/views/jpeg_decode.h"
#include "app/views/sky_view.h"
#include "views_test_support.h"
#include "widget_test_support.h"

namespace orlimo {
namespace {

using test::px;

const QColor kUsed(0xBB, 0xFF, 0x77), kTracked(0x80, 0xBF, 0xFF), kIdle(0xFF, 0x80, 0xC0);

// Bounding box of the pixels of colour `c` within 10 pixels of `centre`.
QRect Extent(const QImage& img, QPoint centre, QColor c) {
  QRect box;
  for (int y = centre.y() - 10; y <= centre.y() + 10; ++y)
    for (int x = centre.x() - 10; x <= centre.x() + 10; ++x)
      if (img.rect().contains(x, y) && img.pixelColor(x, y) == c) box |= QRect(x, y, 1, 1);
  return box;
}

QByteArray ResourceBytes() {
  QFile f(QString::fromLatin1(kSkyBackgroundResource));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QImage Decode(const QByteArray& bytes) {
  return DecodeJpeg(reinterpret_cast<const unsigned char*>(bytes.constData()), size_t(bytes.size()));
}

class SkyViewTest : public test::WidgetFixture {
 protected:
  TSkyView view;
  TqvNMEA nmea = test::SampleReport();
};

TEST(PolarToPoint, CompassPointsOnTheLayer) {
  EXPECT_EQ(PolarToPoint(0, 0, 211, 211), QPoint(105, 106));
  EXPECT_EQ(PolarToPoint(0, 90, 211, 211), QPoint(105, 16));
  EXPECT_EQ(PolarToPoint(90, 90, 211, 211), QPoint(195, 106));
  EXPECT_EQ(PolarToPoint(180, 90, 211, 211), QPoint(105, 196));
  EXPECT_EQ(PolarToPoint(270, 90, 211, 211), QPoint(15, 106));
  EXPECT_EQ(PolarToPoint(45, SkyRadius(45), 211, 211), QPoint(137, 74));
}

TEST(SkyRadius, OnePixelPerDegreeOfZenithDistance) {
  for (int el = -128; el <= 127; ++el) ASSERT_EQ(SkyRadius(el), 90 - el) << el;
}

TEST_F(SkyViewTest, SampleReportDotsInStateColours) {
  view.DrawSkyView(nmea);
  const QImage& layer = view.Layer();
  ASSERT_EQ(layer.size(), QSize(211, 211));
  // 14-pixel dots: corners (x - 7, y - 7) and (x + 7, y + 7), far edge exclusive
  EXPECT_EQ(Extent(layer, {125, 91}, kUsed), QRect(QPoint(118, 84), QPoint(131, 97)));  // PRN 4
  EXPECT_EQ(Extent(layer, {185, 143}, kIdle), QRect(QPoint(178, 136), QPoint(191, 149)));  // PRN 27
  EXPECT_EQ(Extent(layer, {39, 60}, kTracked), QRect(QPoint(32, 53), QPoint(45, 66)));  // PRN 30
  // the PRN in black on the dot
  EXPECT_GT(test::countPixels(layer, [](QColor c) { return c.alpha() == 255 && c.lightness() < 50; },
                              QRect(118, 86, 14, 10)),
            3);
  // transparent everywhere else
  EXPECT_EQ(layer.pixelColor(105, 106).alpha(), 0);
  EXPECT_EQ(layer.pixelColor(0, 210).alpha(), 0);
}

TEST_F(SkyViewTest, HorizonPointsAndNorthForEmptyFields) {
  nmea.GSV.SatsInView = 5;
  const std::int16_t azimuths[] = {0, 90, 180, 270, 0};
  for (int i = 0; i < 5; ++i) nmea.GSV.Sats[size_t(i)] = {std::int16_t(40 + i), 0, azimuths[i], 30};
  nmea.GSV.Sats[4] = {};  // PRN, elevation and azimuth left empty: due north on the horizon
  view.DrawSkyView(nmea);
  const QImage& layer = view.Layer();
  for (QPoint c : {QPoint(195, 106), QPoint(105, 196), QPoint(15, 106)})
    EXPECT_EQ(Extent(layer, c, kTracked).topLeft(), c - QPoint(7, 7)) << c.x() << "," << c.y();
  // the later dot due north covers the earlier one there
  EXPECT_EQ(Extent(layer, {105, 16}, kIdle), QRect(98, 9, 14, 14));
  EXPECT_TRUE(Extent(layer, {105, 16}, kTracked).isEmpty());
}

TEST_F(SkyViewTest, OnlyACompleteReportRedraws) {
  view.DrawSkyView(nmea);
  const QImage before = view.Layer();
  TqvNMEA partial = nmea;
  partial.GSV.MsgNum = 2;
  partial.GSV.Sats[0].Azimuth = 200;
  view.DrawSkyView(partial);
  EXPECT_EQ(view.Layer(), before);
  partial.GSV.MsgNum = 0;  // the mark the session clears after drawing
  view.DrawSkyView(partial);
  EXPECT_EQ(view.Layer(), before);

  TqvNMEA empty;
  view.DrawSkyView(empty);
  EXPECT_EQ(test::countPixels(view.Layer(), [](QColor c) { return c.alpha() != 0; }), 0);
  EXPECT_EQ(view.ComposedSky(), view.ComposedSky());
}

TEST_F(SkyViewTest, BackgroundPictureFromTheResource) {
  EXPECT_TRUE(view.HasBackgroundPicture());
  const QImage sky = view.ComposedSky();
  ASSERT_EQ(sky.size(), QSize(211, 211));
  // navy field, a white ring at the horizon (JPEG keeps colours only roughly)
  const QColor field = px(sky, 3, 200);
  EXPECT_LT(std::abs(field.blue() - viewart::kSkyNavy.blue()), 12);
  EXPECT_LT(field.red(), 20);
  int bright = 0;
  for (int x = 192; x <= 197; ++x) bright += px(sky, x, 106).lightness() > 150 ? 1 : 0;
  EXPECT_GT(bright, 0);
  // the widget shows the sky inside its frame
  const QImage shown = test::render(view);
  EXPECT_EQ(px(shown, 3 + 3, 3 + 200), field);
}

TEST_F(SkyViewTest, MissingOrDamagedPictureLeavesPlainNavy) {
  EXPECT_TRUE(LoadSkyBackground(QStringLiteral(":/no/such/picture.jpg")).isNull());
  view.SetBackgroundPicture(QImage());
  EXPECT_FALSE(view.HasBackgroundPicture());
  const QImage sky = view.ComposedSky();
  EXPECT_EQ(test::countColor(sky, viewart::kSkyNavy), 211 * 211);
  view.DrawSkyView(nmea);
  EXPECT_EQ(px(view.ComposedSky(), 118, 91), kUsed);
}

TEST(JpegDecode, WholePicturesOnly) {
  const QByteArray good = ResourceBytes();
  ASSERT_GT(good.size(), 1000);
  EXPECT_EQ(Decode(good).size(), QSize(211, 211));

  // cut off half way through the scan data
  EXPECT_TRUE(Decode(good.left(good.size() / 2)).isNull());
  // only the start of the header
  EXPECT_TRUE(Decode(good.left(20)).isNull());
  // scan data overwritten with marker bytes and garbage
  QByteArray damaged = good;
  for (qsizetype i = good.size() / 2; i < good.size() / 2 + 64; ++i) damaged[i] = char(i % 3 ? 0xFF : 0xD9);
  EXPECT_TRUE(Decode(damaged).isNull());
  // a wrong frame header: a zero height
  QByteArray badHeader = good;
  const qsizetype sof = good.indexOf(QByteArray("\xFF\xC0", 2));
  ASSERT_GT(sof, 0);
  badHeader[sof + 5] = 0;
  badHeader[sof + 6] = 0;
  EXPECT_TRUE(Decode(badHeader).isNull());
  EXPECT_TRUE(Decode(QByteArray("not a picture at all")).isNull());
  EXPECT_TRUE(DecodeJpeg(nullptr, 0).isNull());
}

}  // namespace
}  // namespace orlimo
