#pragma once

#include "surface/control.h"
#include "surface/signal.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kansu {

// A control's place in its window's model.
using ControlIndex = std::size_t;

// The state of a window's controls as the program reads and writes it. Every change is announced
// with the control's index; views subscribe and show it, they never own it. Setting a property to
// the value it already has changes nothing and announces nothing.
class ControlModel {
public:
    explicit ControlModel(std::vector<Control> controls);
    ControlModel(const ControlModel&) = delete;
    ControlModel& operator=(const ControlModel&) = delete;

    std::size_t size() const { return controls_.size(); }
    const Control& operator[](ControlIndex i) const { return controls_[i]; }
    const std::vector<Control>& all() const { return controls_; }
    Signal<ControlIndex>& changed() const { return changed_; }

    // Positions are handed over in double precision and kept in single, as a control keeps them.
    void setLeft(ControlIndex i, double left);
    void setTop(ControlIndex i, double top);
    void setLine(ControlIndex i, double x1, double y1, double x2, double y2);
    void setVisible(ControlIndex i, bool visible);
    void setEnabled(ControlIndex i, bool enabled);
    void setTip(ControlIndex i, std::string tip);
    void setText(ControlIndex i, std::string text);
    void setValue(ControlIndex i, int value);

private:
    template <typename Member, typename Value> void set(ControlIndex i, Member member, Value value);

    std::vector<Control> controls_;
    mutable Signal<ControlIndex> changed_;
};

} // namespace kansu
