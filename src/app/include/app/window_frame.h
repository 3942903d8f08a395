#pragma once

namespace kansu {

// The outer size last written (twips), the client area (pixels) and the window state.
struct WindowGeometry {
    int widthTwips = 0;
    int heightTwips = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    int state = 0; // 0 normal, 2 maximised
    // The client area the outer size last written gives: what the lesson asks for, whatever the
    // window's state or a resize by hand made of it.
    int askedWidth = 0;
    int askedHeight = 0;
    bool operator==(const WindowGeometry&) const = default;
};

// The lesson's window as the lesson sizes it: an outer size in twips gives a client area in
// pixels, unless the window is maximised. Each change says whether the client area changed.
class WindowFrame {
public:
    // Until start-up sizes it, the window shows the whole design.
    WindowFrame();

    const WindowGeometry& geometry() const { return geometry_; }
    bool maximised() const { return geometry_.state == 2; }

    bool setWidthTwips(int twips);
    bool setHeightTwips(int twips);
    // Maximised (2) or normal (anything else); restored, it takes the outer size last written.
    bool setState(int state);
    // The client area the real window has, after the user moved its frame, say.
    bool setClientSize(int width, int height);

private:
    WindowGeometry geometry_;
};

} // namespace kansu
