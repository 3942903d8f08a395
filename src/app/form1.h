#pragma once

#include "app/control_id.h"
#include "app/layout.h"
#include "surface/host.h"
#include "surface/picture_box.h"

#include <cstdint>
#include <string>

namespace kansu {

// The lesson's window-level variables.
struct LessonVars {
    double Ax = 0, Ay = 0, Bx = 0, By = 0, Cx = 0, Cy = 0, Dx = 0;
    std::int16_t Dy = 0;
    double Px = 0, Py = 0;
    double michinori = 0; // travel counter: pixels travelled by Q, half those travelled by P
    double Qx = 0;
    std::int16_t Qy = 0;
    double graphPrevX = 0;
    std::int16_t graphPrevY = 0;
    std::int16_t stopRequested = 0;
};

// The outer size last written (twips), the client area (pixels) and the window state.
struct WindowGeometry {
    int widthTwips = 0;
    int heightTwips = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    int state = 0; // 0 normal, 2 maximised
};

// The lesson window without its widgets: every control's state, the three picture boxes, the
// window-level variables and the handlers and procedures that work on them. Views show it and
// turn the user's actions into the calls under "What the user does".
class Form1 {
public:
    explicit Form1(Host& host);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // ---- What the user does -------------------------------------------------------------------
    // A mouse click: a button runs its handler when enabled, a check box toggles between 0 and 1.
    void click(ControlId id);
    // Replaces the text of Text1 or Combo1; no handler runs.
    void typeText(ControlId id, const std::string& text);
    // Closing the window by its frame ends the program like "終了".
    void closeByFrame();
    // Maximising (2) or restoring (0) the window.
    void setWindowState(int state);
    // The client area the real window actually has (after a move of the frame by hand, say).
    void setClientSize(int width, int height);

    bool ended() const { return ended_; }
    bool running() const { return runActive_; }
    // How often the views were brought up to date for the counter (by a step or the initial
    // screen), and whether the last time was a step.
    std::uint64_t motionUpdates() const { return motionUpdates_; }
    bool lastUpdateWasStep() const { return lastUpdateWasStep_; }

    // ---- State --------------------------------------------------------------------------------
    LessonVars vars;
    const Control& control(ControlId id) const { return controls_[indexOf(id)]; }
    Control& control(ControlId id) { return controls_[indexOf(id)]; }
    const ControlSet& controls() const { return controls_; }
    const WindowGeometry& geometry() const { return geometry_; }
    PictureBox& kokubanBox() { return kokuban_; }
    PictureBox& gamenBox() { return gamen_; }
    PictureBox& hyoBox() { return hyo_; }
    const PictureBox& box(ControlId id) const;
    PictureBox& box(ControlId id);

    // Sets a check box's value; its handler runs when the value changes.
    void setCheckValue(ControlId id, int value);
    bool ticked(ControlId id) const { return control(id).value != 0; }

    // Outer size in twips; the client area follows unless the window is maximised.
    void setWidthTwips(int twips);
    void setHeightTwips(int twips);

    // ---- Handlers -----------------------------------------------------------------------------
    void Form_Load();
    void Command1_Click();
    void end_Click();
    void susumu_Click();
    void modoru_Click();
    void jidou_Click();
    void tomeru_Click();
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();
    void Check5_Click();

    // ---- Procedures ---------------------------------------------------------------------------
    void InitScreen();
    void RedrawFigure();
    void DrawGrid();
    void DrawGraphAxes(std::int16_t keep);
    void PlotGraphSegment(std::int16_t erase);
    void PlotTableEntry(std::int16_t erase);
    void Wait(std::int32_t milliseconds);

    // The wait per automatic step that Combo1's text asks for.
    std::int32_t stepWait() const;

private:
    // Steps 3 to 13 of a step: P and Q, the time text, the figure, markers, labels and overlays
    // for the counter as it now stands.
    void ShowMotion();
    void placePathLines(double d);
    void placeAreaLabel(double d);
    void setButtonStates(bool running);
    void runHandler(ControlId id);
    void setTop(ControlId id, double top);
    void setLeft(ControlId id, double left);
    void setLine(ControlId id, double x1, double y1, double x2, double y2);
    void updateVisibleAreas();

    Host& host_;
    ControlSet controls_;
    WindowGeometry geometry_;
    PictureBox kokuban_;
    PictureBox gamen_;
    PictureBox hyo_;
    bool ended_ = false;
    bool runActive_ = false;
    std::uint64_t motionUpdates_ = 0;
    bool lastUpdateWasStep_ = false;
};

// Client area of a picture box inside its border, in window coordinates.
Rect pictureClientRect(const Control& box);

} // namespace kansu
