#include "ui/colour_contrast.h"

#include <algorithm>
#include <cmath>

namespace vornik {
namespace {

// The share of light a colour gives off, from its sRGB channels made linear.
double RelativeLuminance(const QColor& colour) {
  const auto linear = [](float v) {
    return v <= 0.03928f ? v / 12.92f : std::pow((v + 0.055f) / 1.055f, 2.4f);
  };
  return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
         0.0722 * linear(colour.blueF());
}

}  // namespace

double ColourContrast(const QColor& a, const QColor& b) {
  const double la = RelativeLuminance(a);
  const double lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace vornik
