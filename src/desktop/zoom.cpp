#include "desktop/zoom.h"

#include <cmath>
#include <iterator>

namespace kansu {

namespace {
constexpr double slack = 1e-9;
} // namespace

double zoomStep(double kept) {
    const double first = zoomSteps[0], last = zoomSteps[std::size(zoomSteps) - 1];
    if (!std::isfinite(kept) || kept < first - slack || kept > last + slack)
        return first;
    // Between steps: the step below, so that a kept zoom never grows.
    double step = first;
    for (double s : zoomSteps)
        if (s <= kept + slack)
            step = s;
    return step;
}

bool fits(QSize client, double zoom, QSize frame, QSize available) {
    const long width = std::lround(client.width() * zoom) + frame.width();
    const long height = std::lround(client.height() * zoom) + frame.height();
    return width <= available.width() && height <= available.height();
}

double fittingZoom(double preferred, QSize client, QSize frame, QSize available) {
    double best = zoomSteps[0];
    for (double step : zoomSteps)
        if (step <= preferred + slack && fits(client, step, frame, available))
            best = step;
    return best;
}

std::optional<double> stepAbove(double zoom) {
    for (double step : zoomSteps)
        if (step > zoom + slack)
            return step;
    return std::nullopt;
}

std::optional<double> stepBelow(double zoom) {
    for (auto it = std::rbegin(zoomSteps); it != std::rend(zoomSteps); ++it)
        if (*it < zoom - slack)
            return *it;
    return std::nullopt;
}

} // namespace kansu
