#pragma once

#include <QSize>
#include <optional>

namespace kansu {

// The zooms a teacher steps through, 100 to 300 %.
inline constexpr double zoomSteps[] = {1, 1.25, 1.5, 1.75, 2, 2.5, 3};

// A zoom as kept between runs, as a step: anything that is not a finite number between the first
// and the last step is 100 %.
double zoomStep(double kept);

// Whether a window of the client size at a zoom, with its frame, fits the available area.
bool fits(QSize client, double zoom, QSize frame, QSize available);

// The largest step, at most the preferred one, at which the window fits; the smallest step when
// none does.
double fittingZoom(double preferred, QSize client, QSize frame, QSize available);

// The steps next above and below a zoom, if there are.
std::optional<double> stepAbove(double zoom);
std::optional<double> stepBelow(double zoom);

} // namespace kansu
