// The signal chart and satellite table: one bar and one table column per
// satellite of the last complete satellites-in-view report, coloured by the
// satellite's state (see satellite_state.h). A receiver of several systems fills
// the 12 columns from its whole sky instead (see satellite_choice.h), each
// satellite named with its system's letter (G05, R07, E11).
//
// Placement: the main window puts the view (Panel5, 353 x 214, #373737) at the
// left of the top strip, left of the sky view. Inside it the chart kx_GPSSI
// sits at (3, 3) 349 x 128 and the table xgGPSSI at (1, 130) 349 x 81, the
// latter with a sunken 2-pixel border drawn by this view around its cells.
//
// Use: ShowSatelliteTable on every view refresh, before the sky view draws. It
// acts only on a complete report and keeps a copy of it (with the GSA record
// of that moment), so chart and table always show the same satellites even
// when the chart repaints in the middle of the next GSV cycle. The record is
// never written.
#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

#include <array>
#include <span>

#include "app/views/satellite_state.h"
#include "nmea/decoder.h"
#include "widgets/string_grid.h"
#include "widgets/xy_plot.h"

namespace orlimo {

// Where the bar of 1-based `slot` goes for a C/N0 of `snr` dB-Hz, and which
// part of the colour strip it shows: 2 pixels per dB-Hz standing on row 125
// of the chart (bottom exclusive), 12 pixels wide, slots 26 pixels apart; the
// source is the bottom of the strip's 13 signal columns, as tall as the bar.
// Both rectangles are empty when the C/N0 is 0 or below.
struct TSignalBar {
  QRect target;
  QRect source;
};
TSignalBar SignalBarRect(int slot, int snr);

class TSatelliteView : public QWidget {
  Q_OBJECT

 public:
  static constexpr QSize kSize{353, 214};
  static constexpr QRect kChartGeometry{3, 3, 349, 128};
  static constexpr QRect kTableGeometry{1, 130, 349, 81};

  explicit TSatelliteView(QWidget* parent = nullptr);

  // Empties row 0 and writes the row captions "C/No", "SV", "Az", "El" into
  // column 0. The constructor already did it; calling again does no harm.
  void InitSatelliteTable();
  // Fills the table from a complete report (or the several-constellation sky)
  // and has the chart repainted at the window's next paint; an incomplete
  // report leaves both as they are.
  void ShowSatelliteTable(const TqvNMEA& nmea);
  // State of 1-based `slot` of the report shown.
  TSatelliteState GetSatelliteState(int slot) const;

  // Chart and table hooks, wired by the constructor.
  void kx_GPSSIFieldDraw(Tkx_XYPlot& sender);
  void kx_GPSSIDrawEnd(Tkx_XYPlot& sender);
  void xgGPSSICellProps(TXStringGrid& sender, TCellCanvas& canvas, TAlignment& alignment,
                        QString& cellText, unsigned state, int row, int col);
  void xgGPSSISelectCell(TXStringGrid& sender, int col, int row, bool& canSelect);

  Tkx_XYPlot* kx_GPSSI() const { return m_chart; }
  TXStringGrid* xgGPSSI() const { return m_table; }
  // The report shown (all zero before the first complete one).
  const TGSVRecord& ShownReport() const { return m_gsv; }
  // The satellites in the columns while a several-constellation sky is on show.
  std::span<const TSkySat> ShownSky() const { return {m_shown.data(), m_showsSky ? m_shownCount : 0}; }

  QSize sizeHint() const override { return kSize; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  void ConfigureChart();
  void ConfigureTable();

  Tkx_XYPlot* m_chart;
  TXStringGrid* m_table;
  QImage m_strip;  // Image2, the colour strip
  int ShownCount() const;
  int ShownSNR(int slot) const;  // 1-based
  void ShowSky(const TSkyPicture& sky);
  void ShowStatesAndBars();

  TGSVRecord m_gsv;
  TGSARecord m_gsa;
  // The several-constellation columns, when the sky picture is on show.
  bool m_showsSky = false;
  std::uint32_t m_skyRevision = 0;
  std::array<TSkySat, 12> m_shown{};
  std::size_t m_shownCount = 0;
  // What the table's colours and the chart's bars show, per column: the state's colour
  // (invalid for an empty column) and the C/N0 (0 for no bar).
  std::array<QColor, 12> m_shownStates{};
  std::array<int, 12> m_shownBars{};
};

}  // namespace orlimo
