#include "app/views/sky_labels.h"

#include <algorithm>
#include <array>

namespace orlimo {

namespace {

constexpr int r = kSkyDotRadius;

QRect DotBox(QPoint c) { return QRect(c.x() - r, c.y() - r, 2 * r, 2 * r); }

QRect OnDot(QPoint c, QSize s) { return QRect(QPoint(c.x() - s.width() / 2, c.y() - kSkyLabelRise), s); }

// Beside the dot: right and left first (names are wider than tall), then
// above, below and the corners.
std::array<QRect, 8> Beside(QPoint c, QSize s) {
  const int w = s.width(), h = s.height();
  const int right = c.x() + r + 1, left = c.x() - r - 1 - w;
  const int above = c.y() - r - 1 - h, below = c.y() + r + 1;
  const int midX = c.x() - w / 2, midY = c.y() - h / 2;
  return {QRect(right, midY, w, h),         QRect(left, midY, w, h),          QRect(midX, above, w, h),
          QRect(midX, below, w, h),         QRect(right - 2, above + 2, w, h), QRect(left + 2, above + 2, w, h),
          QRect(right - 2, below - 2, w, h), QRect(left + 2, below - 2, w, h)};
}

}  // namespace

std::vector<std::optional<TSkyLabel>> PlaceSkyLabels(std::span<const QPoint> dots, std::span<const QSize> sizes,
                                                     QSize area) {
  const std::size_t n = std::min(dots.size(), sizes.size());
  std::vector<std::optional<TSkyLabel>> placed(n);
  std::vector<QRect> taken;
  taken.reserve(n);
  const auto clear = [&](const QRect& rect) {
    return std::none_of(taken.begin(), taken.end(), [&](const QRect& t) { return t.intersects(rect); });
  };
  // Every name that fits on its dot first, so a moved name never pushes
  // another off its own dot.
  for (std::size_t i = 0; i < n; ++i) {
    if (sizes[i].isEmpty()) continue;
    const QRect rect = OnDot(dots[i], sizes[i]);
    if (!clear(rect)) continue;
    placed[i] = TSkyLabel{rect, true};
    taken.push_back(rect);
  }
  const QRect plot(QPoint(0, 0), area);
  for (std::size_t i = 0; i < n; ++i) {
    if (placed[i] || sizes[i].isEmpty()) continue;
    for (const QRect& rect : Beside(dots[i], sizes[i])) {
      if (!plot.contains(rect) || !clear(rect)) continue;
      bool onADot = false;
      for (std::size_t j = 0; j < n && !onADot; ++j) onADot = j != i && DotBox(dots[j]).intersects(rect);
      if (onADot) continue;
      placed[i] = TSkyLabel{rect, false};
      taken.push_back(rect);
      break;
    }
  }
  return placed;
}

}  // namespace orlimo
