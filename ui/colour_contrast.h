// How far apart two colours stand for the eye, as text and its background must.
#pragma once

#include <QColor>

namespace vornik {

// The ratio of the two colours' relative luminances, the lighter's over the darker's, each
// with 0.05 of ambient light added: 1 for colours alike, 21 for black on white. Text reads
// well from 4.5, large text and the lines of a control from 3.
double ColourContrast(const QColor& a, const QColor& b);

}  // namespace vornik
