#include "surface/controls.h"

namespace kansu {

ControlModel::ControlModel(std::vector<Control> controls) : controls_(std::move(controls)) {}

template <typename Member, typename Value>
void ControlModel::set(ControlIndex i, Member member, Value value) {
    Control& c = controls_[i];
    if (c.*member == value)
        return;
    c.*member = std::move(value);
    changed_.notify(i);
}

void ControlModel::setLeft(ControlIndex i, double left) {
    set(i, &Control::left, static_cast<float>(left));
}

void ControlModel::setTop(ControlIndex i, double top) {
    set(i, &Control::top, static_cast<float>(top));
}

void ControlModel::setLine(ControlIndex i, double x1, double y1, double x2, double y2) {
    Control& c = controls_[i];
    const float ends[] = {static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                          static_cast<float>(y2)};
    if (c.x1 == ends[0] && c.y1 == ends[1] && c.x2 == ends[2] && c.y2 == ends[3])
        return;
    c.x1 = ends[0];
    c.y1 = ends[1];
    c.x2 = ends[2];
    c.y2 = ends[3];
    changed_.notify(i);
}

void ControlModel::setVisible(ControlIndex i, bool visible) {
    set(i, &Control::visible, visible);
}

void ControlModel::setEnabled(ControlIndex i, bool enabled) {
    set(i, &Control::enabled, enabled);
}

void ControlModel::setTip(ControlIndex i, std::string tip) {
    set(i, &Control::tip, std::move(tip));
}

void ControlModel::setText(ControlIndex i, std::string text) {
    set(i, &Control::text, std::move(text));
}

void ControlModel::setValue(ControlIndex i, int value) {
    set(i, &Control::value, value);
}

} // namespace kansu
