#include "app/accuracy_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <vector>

#include "measure/accuracy.h"
#include "measure/fix_quality.h"
#include "session/bench_recorder.h"
#include "widgets/scatter_plot.h"

namespace orlimo {
namespace {

// Enough dots to show the spread; the figures still use every stored fix.
constexpr std::size_t kPlottedFixes = 4000;

QString Metres(const std::optional<double>& m) {
  return m ? QString::number(*m, 'f', 2) + QStringLiteral(" m") : QStringLiteral("–");
}

QString Number(const std::optional<double>& v) { return v ? QString::number(*v, 'f', 2) : QStringLiteral("–"); }

// What the receiver says of its fix: GGA's quality, the dilutions, GST's errors.
QString QualityText(const TFixQuality& q) {
  const QString quality = q.quality ? QStringLiteral("%1 (%2)")
                                          .arg(QString::fromLatin1(QualityName(*q.quality).data(),
                                                                   static_cast<qsizetype>(QualityName(*q.quality).size())))
                                          .arg(*q.quality)
                                    : QStringLiteral("–");
  return QStringLiteral("\nFix quality: %1\nHDOP / VDOP / PDOP: %2 / %3 / %4\nReceiver's errors (GST): %5, %6, %7")
      .arg(quality, Number(q.hdop), Number(q.vdop), Number(q.pdop), QStringLiteral("lat ") + Metres(q.gstLat),
           QStringLiteral("lon ") + Metres(q.gstLon), QStringLiteral("alt ") + Metres(q.gstAlt));
}

QString Degrees(const std::optional<double>& d, char positive, char negative) {
  if (!d) return QStringLiteral("–");
  return QString::number(std::abs(*d), 'f', 7) + QStringLiteral("° ") + QChar::fromLatin1(*d < 0 ? negative : positive);
}

std::optional<double> ReadNumber(const QLineEdit* edit) {
  bool ok = false;
  const double v = QLocale::c().toDouble(edit->text().trimmed(), &ok);
  if (!ok || !std::isfinite(v)) return std::nullopt;
  return v;
}

}  // namespace

TAccuracyDialog::TAccuracyDialog(TBenchRecorder& bench, QWidget* parent) : TBenchDialog(bench, parent), bench_(bench) {
  setObjectName(QStringLiteral("AccuracyDialog"));
  setWindowTitle(QStringLiteral("Accuracy"));

  lat_ = new QLineEdit(this);
  lon_ = new QLineEdit(this);
  height_ = new QLineEdit(this);
  lat_->setPlaceholderText(QStringLiteral("degrees, north positive"));
  lon_->setPlaceholderText(QStringLiteral("degrees, east positive"));
  height_->setPlaceholderText(QStringLiteral("metres above mean sea level (optional)"));
  auto* reference = new QFormLayout;
  reference->addRow(QStringLiteral("Reference latitude"), lat_);
  reference->addRow(QStringLiteral("Reference longitude"), lon_);
  reference->addRow(QStringLiteral("Reference height"), height_);

  auto* apply = new QPushButton(QStringLiteral("Use this point"), this);
  auto* mean = new QPushButton(QStringLiteral("Use the mean"), this);
  auto* reset = new QPushButton(QStringLiteral("Reset"), this);
  reset->setToolTip(QStringLiteral("Forget every fix so far"));
  connect(apply, &QPushButton::clicked, this, [this] { ApplyReference(); });
  connect(mean, &QPushButton::clicked, this, [this] { UseMean(); });
  connect(reset, &QPushButton::clicked, this, [this] { Reset(); });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(apply);
  buttons->addWidget(mean);
  buttons->addStretch();
  buttons->addWidget(reset);

  figures_ = new QLabel(this);
  figures_->setObjectName(QStringLiteral("Figures"));
  figures_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  figures_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  status_ = new QLabel(this);
  status_->setWordWrap(true);
  plot_ = new TScatterPlot(this);
  plot_->setMinimumSize(320, 320);

  auto* body = new QHBoxLayout;
  body->addWidget(figures_);
  body->addWidget(plot_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(reference);
  layout->addLayout(buttons);
  layout->addWidget(status_);
  layout->addLayout(body, 1);

  if (const auto& ref = bench_.Accuracy().Reference()) {
    lat_->setText(QString::number(ref->lat, 'f', 8));
    lon_->setText(QString::number(ref->lon, 'f', 8));
    if (ref->height) height_->setText(QString::number(*ref->height, 'f', 3));
  }
  status_->setText(bench_.Accuracy().Reference() ? QStringLiteral("Against the point given.")
                                                 : QStringLiteral("Against the mean of the fixes."));
  Refresh();
}

std::optional<TGeoPoint> TAccuracyDialog::TypedReference(QString& why) const {
  const std::optional<double> lat = ReadNumber(lat_), lon = ReadNumber(lon_);
  if (!lat || std::abs(*lat) > 90) {
    why = QStringLiteral("The latitude is not a number of degrees from -90 to 90.");
    return std::nullopt;
  }
  if (!lon || std::abs(*lon) > 180) {
    why = QStringLiteral("The longitude is not a number of degrees from -180 to 180.");
    return std::nullopt;
  }
  TGeoPoint point{*lat, *lon, std::nullopt};
  if (!height_->text().trimmed().isEmpty()) {
    point.height = ReadNumber(height_);
    if (!point.height) {
      why = QStringLiteral("The height is not a number of metres.");
      return std::nullopt;
    }
  }
  return point;
}

bool TAccuracyDialog::ApplyReference() {
  QString why;
  const std::optional<TGeoPoint> point = TypedReference(why);
  if (!point) {
    status_->setText(why);
    return false;
  }
  bench_.Accuracy().SetReference(*point);
  status_->setText(QStringLiteral("Against the point given."));
  Refresh();
  return true;
}

void TAccuracyDialog::UseMean() {
  bench_.Accuracy().ClearReference();
  status_->setText(QStringLiteral("Against the mean of the fixes."));
  Refresh();
}

void TAccuracyDialog::Reset() {
  bench_.Accuracy().Reset();
  Refresh();
}

void TAccuracyDialog::Refresh() {
  TakeRevision();
  const TAccuracy& accuracy = bench_.Accuracy();
  const TAccuracyFigures f = accuracy.Figures();
  QString mean = QStringLiteral("–");
  if (f.meanLat) mean = Degrees(f.meanLat, 'N', 'S') + QStringLiteral("  ") + Degrees(f.meanLon, 'E', 'W');
  figures_->setText(QStringLiteral("Fixes: %1\nLast fix error: %2\nCEP50: %3\nCEP95: %4\n2DRMS: %5\n"
                                   "Mean position: %6\nMean height: %7\nVertical error 95 %: %8")
                        .arg(f.fixes)
                        .arg(Metres(f.lastError), Metres(f.cep50), Metres(f.cep95), Metres(f.drms2), mean,
                             Metres(f.meanHeight), Metres(f.vertical95)) +
                    QualityText(FixQualityOf(bench_.Records())));

  const TAccuracy::TScatter scatter = accuracy.Scatter(kPlottedFixes);
  std::vector<QPointF> points;
  points.reserve(scatter.points.size());
  for (const TPlaneOffset& p : scatter.points) points.emplace_back(p.east, p.north);
  plot_->SetPoints(points);
  plot_->SetLastPoint(scatter.last ? std::optional<QPointF>(QPointF(scatter.last->east, scatter.last->north))
                                   : std::nullopt);
  std::vector<TScatterCircle> circles;
  if (f.cep50) circles.push_back({*f.cep50, QStringLiteral("CEP50 ") + Metres(f.cep50), QColor(0, 128, 0)});
  if (f.cep95) circles.push_back({*f.cep95, QStringLiteral("CEP95 ") + Metres(f.cep95), QColor(200, 0, 0)});
  plot_->SetCircles(std::move(circles));
}

QString TAccuracyDialog::FiguresText() const { return figures_->text(); }
QString TAccuracyDialog::StatusText() const { return status_->text(); }

}  // namespace orlimo
