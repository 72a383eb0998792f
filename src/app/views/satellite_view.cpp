#include "app/views/satellite_view.h"

#include <QPainter>

#include <algorithm>

#include "app/views/artwork/view_art.h"
#include "app/views/satellite_choice.h"
#include "widgets/pz_label.h"

namespace orlimo {

namespace {

constexpr QColor kPanelColor{0x37, 0x37, 0x37};
constexpr QColor kChartNavy{0x00, 0x00, 0x40};
constexpr QColor kChartText{0x80, 0xFF, 0xFF};
constexpr QColor kAxisGreen{0x32, 0xC9, 0x48};
constexpr QColor kGridGrey{0x80, 0x80, 0x80};
constexpr QColor kCaptionBlue{0x1A, 0x30, 0x55};
constexpr QColor kSatNumberGreen{0x00, 0x80, 0x00};
constexpr QColor kAzimuthBrush{0x01, 0x28, 0x45};
constexpr QColor kAzimuthText{0xFF, 0xFF, 0xB9};
constexpr QColor kElevationBrush{0x37, 0x37, 0x37};

constexpr int kSlots = 12;
constexpr int kBarBottom = 125;  // exclusive
constexpr int kFirstBarLeft = 38;
constexpr int kBarPitch = 26;
constexpr int kBarWidth = 12;

QFont Arial(int pixels, bool bold) {
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

}  // namespace

TSignalBar SignalBarRect(int slot, int snr) {
  const int h = viewart::kColourStripHeight;
  // 2 pixels per dB-Hz, limited to the strip; SNR is 8-bit, so no overflow
  const int y = std::max(0, h - 2 * snr);
  if (y >= h) return {};
  const int left = kFirstBarLeft + kBarPitch * (slot - 1);
  const int top = y + 6;
  return {QRect(left, top, kBarWidth, kBarBottom - top),
          QRect(viewart::kSignalStripLeft, y, viewart::kSignalStripWidth, h - y)};
}

TSatelliteView::TSatelliteView(QWidget* parent)
    : QWidget(parent),
      m_chart(new Tkx_XYPlot(this)),
      m_table(new TXStringGrid(this)),
      m_strip(viewart::ColourStrip()) {
  setFixedSize(kSize);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kPanelColor);
  setPalette(pal);
  ConfigureChart();
  ConfigureTable();
  InitSatelliteTable();
}

void TSatelliteView::ConfigureChart() {
  Tkx_XYPlot& c = *m_chart;
  c.setGeometry(kChartGeometry);
  c.setFont(Arial(9, false));
  c.setFontColor(kChartText);
  c.setColor(kChartNavy);
  c.setFieldColor(kChartNavy);
  c.setBorderStyle(TBorderStyle::bs_None);
  c.setBufferedDisplay(true);
  for (Tkx_Axis* a : {c.leftAxis(), c.rightAxis(), c.bottomAxis(), c.topAxis()}) {
    a->lineAttr()->setColor(kAxisGreen);
    a->lineAttr()->setWidth(2);
    a->lineAttr()->setVisible(true);
    a->setTicksLines(false);
  }
  Tkx_Axis* l = c.leftAxis();
  l->setMargin(14);
  l->setCaption(QStringLiteral("dB-Hz"));
  l->setMin(0);
  l->setMax(60);
  l->setTicksCount(13);
  l->setLabelFormat(QStringLiteral("###0.##"));
  l->setNoTicksLabel(false);
  l->setTicksAdjusted(true);
  l->gridAttr()->setColor(kAxisGreen);
  l->gridAttr()->setVisible(true);

  Tkx_Axis* r = c.rightAxis();
  r->setMargin(4);
  r->setMin(0);
  r->setMax(10);
  r->setNoTicksLabel(true);
  r->gridAttr()->setColor(kGridGrey);
  r->gridAttr()->setVisible(false);

  Tkx_Axis* b = c.bottomAxis();
  b->setMargin(0);
  b->setMin(0);
  b->setMax(276);
  b->setTicksCount(13);
  b->setNoTicksLabel(true);
  b->setTicksAdjusted(false);
  b->gridAttr()->setColor(kAxisGreen);
  b->gridAttr()->setVisible(true);

  Tkx_Axis* t = c.topAxis();
  t->setMargin(2);
  t->setMin(0);
  t->setMax(10);
  t->setTicksCount(0);
  t->setNoTicksLabel(true);
  t->gridAttr()->setColor(kGridGrey);
  t->gridAttr()->setVisible(false);

  c.setOnFieldDraw([this](Tkx_XYPlot& sender) { kx_GPSSIFieldDraw(sender); });
  c.setOnDrawEnd([this](Tkx_XYPlot& sender) { kx_GPSSIDrawEnd(sender); });
}

void TSatelliteView::ConfigureTable() {
  TXStringGrid& g = *m_table;
  g.setGeometry(kTableGeometry.adjusted(2, 2, -2, -2));  // inside the border
  g.setFocusPolicy(Qt::NoFocus);
  g.setColCount(kSlots + 1);
  g.setRowCount(4);
  g.setFixedRows(0);
  g.setFixedCols(1);
  g.setDefaultRowHeight(18);
  g.setDefaultColWidth(25);
  g.setColWidth(0, 30);
  g.setColWidth(kSlots, 27);
  g.setOptions(goFixedVertLine | goFixedHorzLine | goVertLine);
  g.setColor(Qt::white);
  g.setFixedColor(kCaptionBlue);
  g.setFixedLineColor(Qt::black);
  g.setGridLineColor(kGridGrey);
  g.setSelectedColor(Qt::black);
  g.setSelectedTextColor(kSatNumberGreen);
  g.setMultiLine(false);
  const QFont font = Arial(11, true);
  g.setFont(font);
  g.setFontColor(Qt::yellow);
  for (int col = 0; col <= kSlots; ++col) {
    TXStringColumnItem* item = g.column(col);
    item->setColor(Qt::black);
    item->setFont(font);
    item->setFontColor(col == 0 ? QColor(Qt::yellow) : kSatNumberGreen);
    item->setAlignment(col == 0 ? TAlignment::taCenter : TAlignment::taRightJustify);
    item->setHeaderColor(QColor(0x38, 0x1D, 0x1D));
    item->setHeaderFont(font);
    item->setHeaderFontColor(Qt::yellow);
    item->setHeaderAlignment(col == 0 ? TAlignment::taCenter : TAlignment::taRightJustify);
    item->setEditorInheritsCellProps(false);
  }
  g.setOnCellProps([this](TXStringGrid& sender, TCellCanvas& canvas, TAlignment& alignment,
                          QString& text, unsigned state, int row, int col) {
    xgGPSSICellProps(sender, canvas, alignment, text, state, row, col);
  });
  g.setOnSelectCell([this](TXStringGrid& sender, int col, int row, bool& canSelect) {
    xgGPSSISelectCell(sender, col, row, canSelect);
  });
}

void TSatelliteView::InitSatelliteTable() {
  for (int col = 0; col < m_table->colCount(); ++col) m_table->setCell(col, 0, QString());
  m_table->setColumnText(0, QStringLiteral("C/No\r\nSV\r\nAz\r\nEl"));
}

void TSatelliteView::ShowSatelliteTable(const TqvNMEA& nmea) {
  if (nmea.Sky.SeveralCycles()) {
    ShowSky(nmea.Sky);
    return;
  }
  if (!IsCompleteReport(nmea.GSV)) return;
  m_showsSky = false;
  m_gsv = nmea.GSV;
  m_gsa = nmea.GSA;
  const int n = ShownSlotCount(m_gsv);
  for (int i = 1; i <= n; ++i) {
    const TSatInView& sat = m_gsv.Sats[static_cast<std::size_t>(i - 1)];
    m_table->setCell(i, 1, QString::number(sat.PRN));
    m_table->setCell(i, 3, QString::number(sat.Elevation));
    m_table->setCell(i, 2, QString::number(sat.Azimuth));
    m_table->setCell(i, 0, QString::number(sat.SNR));
  }
  for (int i = n + 1; i <= kSlots; ++i) m_table->setColumnText(i, QString());
  ShowStatesAndBars();
}

void TSatelliteView::ShowSky(const TSkyPicture& sky) {
  if (m_showsSky && sky.Revision() == m_skyRevision) return;
  const std::span<const TSkySat> before = ShownSky();
  std::array<TSkySat, kSlots> chosen{};
  m_shownCount = ChooseShownSatellites(sky.Satellites(), before, chosen);
  m_shown = chosen;
  m_showsSky = true;
  m_skyRevision = sky.Revision();
  for (int i = 1; i <= kSlots; ++i) {
    if (i > static_cast<int>(m_shownCount)) {
      m_table->setColumnText(i, QString());
      continue;
    }
    const TSkySat& sat = m_shown[static_cast<std::size_t>(i - 1)];
    m_table->setCell(i, 1, QString::fromLatin1(TSatName(sat.System, sat.Number).View()));
    m_table->setCell(i, 3, sat.HasPosition ? QString::number(sat.Elevation) : QString());
    m_table->setCell(i, 2, sat.HasPosition ? QString::number(sat.Azimuth) : QString());
    m_table->setCell(i, 0, QString::number(sat.SNR));
  }
  ShowStatesAndBars();
}

// A cell whose text changed repainted itself. The colours of the satellites' states
// and the bars are looked up as they are painted: the table is repainted when a colour
// changed, the chart when a bar did, and neither when both stayed.
void TSatelliteView::ShowStatesAndBars() {
  std::array<QColor, kSlots> states{};
  std::array<int, kSlots> bars{};
  const int n = ShownCount();
  for (int i = 1; i <= n; ++i) {
    states[static_cast<std::size_t>(i - 1)] = GetSatelliteState(i).color;
    bars[static_cast<std::size_t>(i - 1)] = std::max(0, ShownSNR(i));
  }
  if (states != m_shownStates) {
    m_shownStates = states;
    m_table->update();
  }
  if (bars != m_shownBars) {
    m_shownBars = bars;
    m_chart->redraw();
  }
}

int TSatelliteView::ShownCount() const {
  return m_showsSky ? static_cast<int>(m_shownCount) : ShownSlotCount(m_gsv);
}

int TSatelliteView::ShownSNR(int slot) const {
  const std::size_t i = static_cast<std::size_t>(slot - 1);
  return m_showsSky ? m_shown[i].SNR : m_gsv.Sats[i].SNR;
}

TSatelliteState TSatelliteView::GetSatelliteState(int slot) const {
  if (m_showsSky) {
    if (slot < 1 || slot > static_cast<int>(m_shownCount)) return {kSatNotTrackedColor, kSatNotTracked};
    return orlimo::GetSatelliteState(m_shown[static_cast<std::size_t>(slot - 1)]);
  }
  return orlimo::GetSatelliteState(m_gsv, m_gsa, slot);
}

void TSatelliteView::kx_GPSSIFieldDraw(Tkx_XYPlot& sender) {
  QPainter* p = sender.DrawCanvas();
  if (p == nullptr) return;
  const int n = ShownCount();
  for (int i = 1; i <= n; ++i) {
    const TSignalBar bar = SignalBarRect(i, ShownSNR(i));
    if (!bar.target.isEmpty()) p->drawImage(bar.target, m_strip, bar.source);
  }
}

void TSatelliteView::kx_GPSSIDrawEnd(Tkx_XYPlot&) {}

void TSatelliteView::xgGPSSICellProps(TXStringGrid&, TCellCanvas& canvas, TAlignment&, QString&,
                                      unsigned, int row, int col) {
  if (col <= 0 || col > ShownCount()) return;
  switch (row) {
    case 0:
    case 1:
      canvas.brushColor = GetSatelliteState(col).color;
      break;
    case 2:
      canvas.brushColor = kAzimuthBrush;
      canvas.fontColor = kAzimuthText;
      break;
    case 3:
      canvas.brushColor = kElevationBrush;
      canvas.fontColor = Qt::white;
      break;
    default:
      break;
  }
}

void TSatelliteView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QRect r = kTableGeometry;
  frame3D(p, r, palette().color(QPalette::Dark), palette().color(QPalette::Light), 1);
  frame3D(p, r, palette().color(QPalette::Shadow), palette().color(QPalette::Midlight), 1);
}

void TSatelliteView::xgGPSSISelectCell(TXStringGrid&, int, int, bool& canSelect) { canSelect = false; }

}  // namespace orlimo
