#include "app/navi_panel.h"

#include <QPainter>

#include <memory>

#include "app/fonts.h"
#include "nmea/decoder.h"
#include "widgets/pz_label.h"

namespace orlimo {
namespace {

const QColor kPanelColour(0x15, 0x2B, 0x21);
const QColor kCaptionColour(0xFF, 0xFF, 0xCE);
const QColor kValueColour(0xFF, 0xB3, 0xB3);

struct TLabelPlace {
  int left, top, width, height, fontPx;
};
constexpr std::array<TLabelPlace, kNaviLabelCount> kPlaces = {{
    {97, 4, 143, 25, 15},    // lbLat
    {97, 31, 143, 25, 15},   // lbLon
    {97, 60, 143, 25, 15},   // lbAlt
    {97, 92, 143, 25, 15},   // lbFix
    {97, 122, 143, 25, 15},  // lbSOG
    {97, 151, 143, 25, 15},  // lbCOG
    {144, 183, 95, 25, 15},  // lbSVCNT
    {87, 213, 153, 25, 11},  // lbGPSTime
    {87, 243, 153, 25, 11},  // lbLocalTime
}};

constexpr std::array<const char*, kNaviLabelCount> kCaptions = {
    "Latitude :", "Longitude : ", "Altitude :", "Fix Mode :", "Speed (SOG) :",
    "Course (COG) :", "Number of SVs Used :", "GPS   Time:", "Local Time:"};

}  // namespace

TNaviCaptions::TNaviCaptions(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFont(ArialFont(12, true));
}

QString TNaviCaptions::text() const {
  QStringList lines;
  for (const char* c : kCaptions) {
    if (!lines.isEmpty()) lines << QString();
    lines << QString::fromLatin1(c);
  }
  return lines.join(QLatin1Char('\n'));
}

void TNaviCaptions::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setFont(font());
  p.setPen(kCaptionColour);
  for (int i = 0; i < kNaviLabelCount; ++i) {
    const TLabelPlace& place = kPlaces[i];
    const QRect row(4, place.top - y(), width() - 4, place.height);
    p.drawText(row, Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(kCaptions[i]));
  }
}

TNaviPanel::TNaviPanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Panel10"));
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kPanelColour);
  setPalette(pal);
  resize(kWidth, kHeight);

  captions_ = new TNaviCaptions(this);
  captions_->setObjectName(QStringLiteral("lblNaviInfo"));
  captions_->setGeometry(0, 0, kWidth, kHeight);

  static constexpr std::array<const char*, kNaviLabelCount> kNames = {
      "lbLat", "lbLon", "lbAlt", "lbFix", "lbSOG", "lbCOG", "lbSVCNT", "lbGPSTime", "lbLocalTime"};
  const auto fonts = std::make_shared<TAsciiFonts>();
  for (int i = 0; i < kNaviLabelCount; ++i) {
    const TLabelPlace& place = kPlaces[i];
    auto* label = new TpzLabel(this);
    label->shareAsciiFonts(fonts);
    label->setObjectName(QString::fromLatin1(kNames[i]));
    label->setGeometry(place.left, place.top, place.width, place.height);
    label->setAlignment(TAlignment::taRightJustify);
    label->setBevelOuter(TLabelBevel::lbRaised);
    label->setColor(Qt::black);
    label->setFont(CourierFont(place.fontPx, true));
    label->setFontColor(kValueColour);
    labels_[i] = label;
  }
}

void TNaviPanel::ClearNaviPanel() {
  for (TpzLabel* label : labels_) label->setCaption(QString());
  altitudeMetres_.reset();
  speedKnots_.reset();
}

void TNaviPanel::ShowInUnit(const TUnitSelection& unit) {
  if (altitudeMetres_) labels_[nlAlt]->setCaption(QString::fromLatin1(AltitudeText(*altitudeMetres_, unit)));
  if (speedKnots_) labels_[nlSOG]->setCaption(QString::fromLatin1(SpeedText(*speedKnots_, unit)));
}

void TNaviPanel::UpdateNaviPanel(const TqvNMEA& nmea, const TUnitSelection& unit) {
  const TNaviTexts texts = ComputeNaviTexts(nmea, unit, utcOffset_());
  if (texts.Clear) {
    ClearNaviPanel();
    return;
  }
  for (int i = 0; i < kNaviLabelCount; ++i) {
    if (texts.Text[i]) labels_[i]->setCaption(QString::fromLatin1(*texts.Text[i]));
  }
  if (texts.AltitudeMetres) altitudeMetres_ = texts.AltitudeMetres;
  if (texts.SpeedKnots) speedKnots_ = texts.SpeedKnots;
}

std::string TNaviPanel::Text(TNaviLabel which) const {
  return labels_[which]->caption().toLatin1().toStdString();
}

}  // namespace orlimo
