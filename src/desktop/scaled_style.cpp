#include "desktop/scaled_style.h"

#include <cmath>

namespace kansu {

int ScaledStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                             const QWidget* widget) const {
    const int base = QProxyStyle::pixelMetric(metric, option, widget);
    switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_CheckBoxLabelSpacing:
    case PM_DefaultFrameWidth:
    case PM_ComboBoxFrameWidth:
        return static_cast<int>(std::lround(base * scale_));
    default:
        return base;
    }
}

} // namespace kansu
