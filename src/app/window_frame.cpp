#include "app/window_frame.h"

#include "app/layout.h"

#include <cmath>

namespace kansu {

namespace {
int clientFromTwips(int twips, int frame) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / window::twipsPerPixel)) -
           frame;
}
} // namespace

WindowFrame::WindowFrame() {
    geometry_.clientWidth = geometry_.askedWidth = 1031;
    geometry_.clientHeight = geometry_.askedHeight = 682;
}

bool WindowFrame::setWidthTwips(int twips) {
    geometry_.widthTwips = twips;
    geometry_.askedWidth = clientFromTwips(twips, window::frameWidth);
    return !maximised() && setClientSize(geometry_.askedWidth, geometry_.clientHeight);
}

bool WindowFrame::setHeightTwips(int twips) {
    geometry_.heightTwips = twips;
    geometry_.askedHeight = clientFromTwips(twips, window::frameHeight);
    return !maximised() && setClientSize(geometry_.clientWidth, geometry_.askedHeight);
}

bool WindowFrame::setState(int state) {
    geometry_.state = state == 2 ? 2 : 0;
    if (maximised())
        return false;
    return setClientSize(clientFromTwips(geometry_.widthTwips, window::frameWidth),
                         clientFromTwips(geometry_.heightTwips, window::frameHeight));
}

bool WindowFrame::setClientSize(int width, int height) {
    if (geometry_.clientWidth == width && geometry_.clientHeight == height)
        return false;
    geometry_.clientWidth = width;
    geometry_.clientHeight = height;
    return true;
}

} // namespace kansu
