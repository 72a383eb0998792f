#include <gtest/gtest.h>

#include "app/views/artwork/view_art.h"
#include "app/views/satellite_view.h"
#include "views_test_support.h"
#include "widget_test_support.h"

namespace orlimo {
namespace {

using test::px;

const QColor kNavy(0x00, 0x00, 0x40);
const QColor kGreen(0x32, 0xC9, 0x48);

class SatelliteViewTest : public test::WidgetFixture {
 protected:
  TSatelliteView view;
  TqvNMEA nmea = test::SampleReport();

  QImage Chart() { return test::render(*view.kx_GPSSI()); }
  QImage Table() { return test::render(*view.xgGPSSI()); }
  // A pixel near the left edge of a cell, clear of its right-aligned text.
  QColor CellBackground(const QImage& table, int col, int row) {
    const QRect r = view.xgGPSSI()->cellRect(col, row);
    return px(table, r.left() + 1, r.top() + 2);
  }
  // Every pixel of `area` is chart background or grid line.
  bool OnlyBackground(const QImage& chart, QRect area) {
    return test::countPixels(chart, [](QColor c) { return c == kNavy || c == kGreen; }, area) ==
           area.width() * area.height();
  }
};

TEST(SatelliteState, UsedBeforeTrackedBeforeNotTracked) {
  TGSVRecord gsv;
  TGSARecord gsa;
  gsv.Sats[0] = {4, 65, 54, 0};     // used, no signal
  gsv.Sats[1] = {200, 10, 10, 30};  // PRN compared with the zero-extended byte
  gsv.Sats[2] = {7, 10, 10, 12};
  gsv.Sats[3] = {9, 10, 10, -3};
  gsv.Sats[4] = {13, 10, 10, 20};  // in the list but beyond UsedCount
  gsa.UsedPRN = {4, 200, 13};
  gsa.UsedCount = 2;
  EXPECT_EQ(GetSatelliteState(gsv, gsa, 1).state, kSatUsed);
  EXPECT_EQ(GetSatelliteState(gsv, gsa, 1).color, QColor(0xBB, 0xFF, 0x77));
  EXPECT_EQ(GetSatelliteState(gsv, gsa, 2).state, kSatUsed);
  EXPECT_EQ(GetSatelliteState(gsv, gsa, 3).color, QColor(0x80, 0xBF, 0xFF));
  EXPECT_EQ(GetSatelliteState(gsv, gsa, 4).color, QColor(0xFF, 0x80, 0xC0));
  EXPECT_EQ(GetSatelliteState(gsv, gsa, 5).state, kSatTracked);
  // a count past the 12 stored PRNs and slots outside the record are harmless
  gsa.UsedCount = 255;
  EXPECT_EQ(GetSatelliteState(gsv, gsa, 5).state, kSatUsed);
  EXPECT_EQ(GetSatelliteState(gsv, gsa, 0).state, kSatNotTracked);
  EXPECT_EQ(GetSatelliteState(gsv, gsa, 13).state, kSatNotTracked);
}

TEST(SignalBar, TwoPixelsPerDbHzUpToTheStripHeight) {
  const TSignalBar first = SignalBarRect(1, 42);
  EXPECT_EQ(first.target, QRect(QPoint(38, 41), QPoint(49, 124)));
  EXPECT_EQ(first.source, QRect(QPoint(47, 35), QPoint(59, 118)));
  EXPECT_EQ(SignalBarRect(12, 30).target, QRect(QPoint(324, 65), QPoint(335, 124)));
  EXPECT_EQ(SignalBarRect(3, 60).target.height(), 119);
  EXPECT_EQ(SignalBarRect(3, 127).target.height(), 119);
  EXPECT_TRUE(SignalBarRect(3, 0).target.isEmpty());
  EXPECT_TRUE(SignalBarRect(3, -128).target.isEmpty());
}

TEST_F(SatelliteViewTest, CaptionColumnAndEmptyStart) {
  const char* captions[] = {"C/No", "SV", "Az", "El"};
  for (int row = 0; row < 4; ++row) EXPECT_EQ(view.xgGPSSI()->cell(0, row), captions[row]);
  for (int col = 1; col <= 12; ++col) EXPECT_EQ(view.xgGPSSI()->cell(col, 0), "");
  EXPECT_EQ(view.kx_GPSSI()->fieldRect(), QRect(QPoint(31, 6), QPoint(342, 123)));
}

TEST_F(SatelliteViewTest, SampleReportFillsTheTable) {
  view.ShowSatelliteTable(nmea);
  const TXStringGrid& g = *view.xgGPSSI();
  const int prns[] = {4, 2, 13, 10, 24, 17, 5, 23, 30, 27};
  for (int col = 1; col <= 10; ++col) EXPECT_EQ(g.cell(col, 1), QString::number(prns[col - 1]));
  EXPECT_EQ(g.cell(1, 0), "42");
  EXPECT_EQ(g.cell(1, 2), "54");
  EXPECT_EQ(g.cell(1, 3), "65");
  EXPECT_EQ(g.cell(10, 0), "0");
  EXPECT_EQ(g.columnText(11), "");
  EXPECT_EQ(g.columnText(12), "");

  const QImage table = Table();
  const QColor used(0xBB, 0xFF, 0x77), tracked(0x80, 0xBF, 0xFF), idle(0xFF, 0x80, 0xC0);
  for (int row = 0; row <= 1; ++row) {
    for (int col : {1, 2, 3, 4, 5, 6, 8}) EXPECT_EQ(CellBackground(table, col, row), used) << col;
    EXPECT_EQ(CellBackground(table, 7, row), tracked);
    EXPECT_EQ(CellBackground(table, 9, row), tracked);
    EXPECT_EQ(CellBackground(table, 10, row), idle);
    EXPECT_EQ(CellBackground(table, 11, row), QColor(Qt::black));
  }
  EXPECT_EQ(CellBackground(table, 5, 2), QColor(0x01, 0x28, 0x45));
  EXPECT_EQ(CellBackground(table, 5, 3), QColor(0x37, 0x37, 0x37));
  EXPECT_EQ(CellBackground(table, 12, 3), QColor(Qt::black));
  EXPECT_EQ(CellBackground(table, 0, 2), QColor(0x1A, 0x30, 0x55));
}

TEST_F(SatelliteViewTest, BarsStandOnTheFieldBottom) {
  view.ShowSatelliteTable(nmea);
  const QImage chart = Chart();
  // slot 1, C/N0 42: rows 41..124, the last one hidden by the field's edge
  for (int y = 41; y <= 123; ++y)
    for (int x = 38; x <= 49; ++x) {
      const QColor c = px(chart, x, y);
      if (c != kGreen) {
        ASSERT_EQ(c, viewart::SignalStripColour(y - 6)) << x << "," << y;
      }
    }
  EXPECT_TRUE(OnlyBackground(chart, QRect(QPoint(38, 6), QPoint(49, 40))));
  EXPECT_TRUE(OnlyBackground(chart, QRect(QPoint(32, 6), QPoint(37, 123))));
  EXPECT_TRUE(OnlyBackground(chart, QRect(QPoint(50, 6), QPoint(56, 123))));
  // slot 9, C/N0 16: 32 rows from 93; slot 10 (no C/N0) and beyond: nothing
  EXPECT_EQ(px(chart, 250, 93), viewart::SignalStripColour(87));
  EXPECT_TRUE(OnlyBackground(chart, QRect(QPoint(246, 6), QPoint(257, 92))));
  EXPECT_TRUE(OnlyBackground(chart, QRect(QPoint(272, 6), QPoint(342, 123))));
}

TEST_F(SatelliteViewTest, IncompleteCycleLeavesTableAndChartAlone) {
  view.ShowSatelliteTable(nmea);
  const QImage table = Table(), chart = Chart();
  // message 1 of a new cycle has cleared the record and brought four satellites
  TqvNMEA next;
  next.GSV.TotalMsgs = 3;
  next.GSV.MsgNum = 1;
  next.GSV.SatsInView = 4;
  next.GSV.Sats[0] = {99, 10, 10, 50};
  view.ShowSatelliteTable(next);
  EXPECT_EQ(view.xgGPSSI()->cell(1, 1), "4");
  EXPECT_EQ(Table(), table);
  // also when the chart has to repaint from scratch in the middle of the cycle
  view.kx_GPSSI()->invalidatePlot();
  EXPECT_EQ(Chart(), chart);
  // the completeness mark cleared after drawing counts as incomplete as well
  nmea.GSV.MsgNum = 0;
  nmea.GSV.SatsInView = 2;
  view.ShowSatelliteTable(nmea);
  EXPECT_EQ(view.xgGPSSI()->cell(10, 1), "27");
}

TEST_F(SatelliteViewTest, EmptyAndOversizedReports) {
  view.ShowSatelliteTable(nmea);
  TqvNMEA empty;  // before any GSV: 0 of 0 messages, an empty complete report
  view.ShowSatelliteTable(empty);
  for (int col = 1; col <= 12; ++col) EXPECT_EQ(view.xgGPSSI()->columnText(col), "") << col;
  EXPECT_TRUE(OnlyBackground(Chart(), view.kx_GPSSI()->fieldRect()));
  EXPECT_EQ(CellBackground(Table(), 1, 0), QColor(Qt::black));

  // more satellites announced than the 12 stored slots: all 12 shown, no more
  TqvNMEA many;
  many.GSV.TotalMsgs = many.GSV.MsgNum = 4;
  many.GSV.SatsInView = 16;
  for (int i = 0; i < 12; ++i) many.GSV.Sats[size_t(i)] = {std::int16_t(i + 1), 20, std::int16_t(i * 30), 40};
  view.ShowSatelliteTable(many);
  EXPECT_EQ(view.xgGPSSI()->cell(12, 1), "12");
  EXPECT_EQ(px(Chart(), 330, 100), viewart::SignalStripColour(94));

  TqvNMEA negative;
  negative.GSV.SatsInView = -5;
  view.ShowSatelliteTable(negative);
  EXPECT_EQ(view.xgGPSSI()->columnText(1), "");
}

TEST_F(SatelliteViewTest, NoCellCanBeSelected) {
  view.ShowSatelliteTable(nmea);
  TXStringGrid& g = *view.xgGPSSI();
  const int col = g.currentCol(), row = g.currentRow();
  g.setCurrentCell(5, 2);
  EXPECT_EQ(g.currentCol(), col);
  EXPECT_EQ(g.currentRow(), row);
}

}  // namespace
}  // namespace orlimo
