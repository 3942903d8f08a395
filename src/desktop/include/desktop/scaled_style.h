#pragma once

#include <QProxyStyle>

namespace kansu {

// The application's style with the sizes of its small parts (a check box's box, the gap to its
// caption, frames) grown by a scale, so that a zoomed lesson keeps the shapes of its controls.
class ScaledStyle : public QProxyStyle {
public:
    ScaledStyle() = default;
    void setScale(double scale) { scale_ = scale; }
    double scale() const { return scale_; }

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;

private:
    double scale_ = 1;
};

} // namespace kansu
