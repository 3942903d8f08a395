#include "app/form1.h"

#include <cmath>

namespace kansu {

namespace {

PictureBox makeBox(const Control& c, int drawWidth, PictureBox::Memory memory) {
    const Rect client = pictureClientRect(c);
    return PictureBox(client.width, client.height, c.backColour,
                      c.foreColour.value_or(colours::windowText), c.font, drawWidth, memory);
}

int clientFromTwips(int twips, int frame) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / window::twipsPerPixel)) -
           frame;
}

} // namespace

Rect pictureClientRect(const Control& box) {
    const int b = window::pictureBorder;
    return Rect{static_cast<int>(box.left) + b, static_cast<int>(box.top) + b,
                static_cast<int>(box.width) - 2 * b, static_cast<int>(box.height) - 2 * b};
}

Form1::Form1(Host& host)
    : host_(host), controls_(designLayout()),
      kokuban_(makeBox(control(ControlId::kokuban), 3, PictureBox::Memory::Persistent)),
      gamen_(makeBox(control(ControlId::gamen), 1, PictureBox::Memory::Persistent)),
      hyo_(makeBox(control(ControlId::hyo), 1, PictureBox::Memory::Transient)) {
    // Until start-up sizes it, the window shows the whole design.
    geometry_.clientWidth = 1031;
    geometry_.clientHeight = 682;
    updateVisibleAreas();
}

PictureBox& Form1::box(ControlId id) {
    switch (id) {
    case ControlId::gamen:
        return gamen_;
    case ControlId::hyo:
        return hyo_;
    default:
        return kokuban_;
    }
}

const PictureBox& Form1::box(ControlId id) const {
    return const_cast<Form1*>(this)->box(id);
}

void Form1::updateVisibleAreas() {
    const Rect client{0, 0, geometry_.clientWidth, geometry_.clientHeight};
    for (ControlId id : {ControlId::kokuban, ControlId::gamen, ControlId::hyo}) {
        const Rect inBox = pictureClientRect(control(id));
        const Rect shown = inBox.intersected(client).translated(-inBox.x, -inBox.y);
        box(id).setVisibleArea(shown);
    }
}

void Form1::setWidthTwips(int twips) {
    geometry_.widthTwips = twips;
    if (geometry_.state == 0) {
        geometry_.clientWidth = clientFromTwips(twips, window::frameWidth);
        updateVisibleAreas();
    }
}

void Form1::setHeightTwips(int twips) {
    geometry_.heightTwips = twips;
    if (geometry_.state == 0) {
        geometry_.clientHeight = clientFromTwips(twips, window::frameHeight);
        updateVisibleAreas();
    }
}

void Form1::setClientSize(int width, int height) {
    geometry_.clientWidth = width;
    geometry_.clientHeight = height;
    updateVisibleAreas();
}

void Form1::setWindowState(int state) {
    if (ended_)
        return;
    geometry_.state = state == 2 ? 2 : 0;
    if (geometry_.state == 0) {
        // Restored: the window takes the outer size last written again.
        geometry_.clientWidth = clientFromTwips(geometry_.widthTwips, window::frameWidth);
        geometry_.clientHeight = clientFromTwips(geometry_.heightTwips, window::frameHeight);
        updateVisibleAreas();
    }
}

void Form1::setCheckValue(ControlId id, int value) {
    Control& c = control(id);
    if (c.value == value)
        return;
    c.value = value;
    runHandler(id);
}

void Form1::runHandler(ControlId id) {
    switch (id) {
    case ControlId::Command1:
        return Command1_Click();
    case ControlId::end:
        return end_Click();
    case ControlId::susumu:
        return susumu_Click();
    case ControlId::modoru:
        return modoru_Click();
    case ControlId::jidou:
        return jidou_Click();
    case ControlId::tomeru:
        return tomeru_Click();
    case ControlId::Check1:
        return Check1_Click();
    case ControlId::Check2:
        return Check2_Click();
    case ControlId::Check3:
        return Check3_Click();
    case ControlId::Check4:
        return Check4_Click();
    case ControlId::Check5:
        return Check5_Click();
    default:
        return; // no handler (Check6, labels, boxes)
    }
}

void Form1::click(ControlId id) {
    if (ended_)
        return;
    const Control& c = control(id);
    if (!c.enabled || !c.visible)
        return;
    if (c.kind == ControlKind::Check)
        setCheckValue(id, c.value == 0 ? 1 : 0);
    else if (c.kind == ControlKind::Button)
        runHandler(id);
}

void Form1::typeText(ControlId id, const std::string& text) {
    if (ended_)
        return;
    Control& c = control(id);
    if (c.kind == ControlKind::Text || c.kind == ControlKind::Combo)
        c.text = text;
}

void Form1::closeByFrame() {
    if (!ended_)
        end_Click();
}

void Form1::setTop(ControlId id, double top) {
    control(id).top = static_cast<float>(top);
}

void Form1::setLeft(ControlId id, double left) {
    control(id).left = static_cast<float>(left);
}

void Form1::setLine(ControlId id, double x1, double y1, double x2, double y2) {
    Control& c = control(id);
    c.x1 = static_cast<float>(x1);
    c.y1 = static_cast<float>(y1);
    c.x2 = static_cast<float>(x2);
    c.y2 = static_cast<float>(y2);
}

} // namespace kansu
