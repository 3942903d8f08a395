#pragma once

#include "app/control_id.h"
#include "app/description.h"
#include "app/layout.h"
#include "app/window_frame.h"
#include "board/board.h"
#include "graph/graph.h"
#include "graph/table.h"
#include "motion/course.h"
#include "motion/motion.h"
#include "motion/player.h"
#include "surface/controls.h"
#include "surface/host.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <string>

namespace kansu {

// The lesson's window-level variables, as the state of the lesson reports them.
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

// What one action of the user changed, announced as one batch: the controls (their state in
// controls()), the picture boxes whose picture or lightweight controls changed (what the user
// sees of them: seen()), and whether the window's size or state did. During automatic play each
// step is a batch of its own, announced before its wait lets the window show it.
struct Changes {
    std::bitset<controlCount> controls;
    std::bitset<controlCount> pictures; // by the picture box's id
    bool window = false;

    bool empty() const { return controls.none() && pictures.none() && !window; }
    bool control(ControlId id) const { return controls.test(indexOf(id)); }
    bool picture(ControlId id) const { return pictures.test(indexOf(id)); }
    // Everything, as a view that starts from nothing needs it.
    static Changes all();
};

// The six check boxes read together.
struct Options {
    bool grid = false;  // 方眼
    bool graph = false; // グラフ
    bool table = false; // 表
    bool paths = false; // 動いた道のり
    bool hint = false;  // ヒント
    bool area = false;  // y cm²
};

// The lesson window without its widgets: the controls' state, the moving points, the figure
// board, the graph and the table, and the handlers that tie them together. Views subscribe to its
// changes and turn the user's actions into the calls under "What the user does".
class Form1 {
public:
    explicit Form1(Host& host);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // ---- What the user does -------------------------------------------------------------------
    // A mouse click: a button runs its handler when enabled, a check box toggles between 0 and 1.
    KANSU_SUSPENDS_IN_THE_BROWSER void click(ControlId id);
    // Replaces the text of Text1 or Combo1; no handler runs.
    void typeText(ControlId id, const std::string& text);
    // Closing the window by its frame ends the program like "終了".
    void closeByFrame();
    // Maximising (2) or restoring (0) the window.
    void setWindowState(int state);
    // The client area the real window actually has (after a move of the frame by hand, say).
    void setClientSize(int width, int height);
    // Another problem for the lesson, or the same again: its initial screen, the check boxes,
    // the speed and the window's size kept. Only while 初期画面 could be pressed: false, and
    // nothing changed, during automatic play or once the lesson has ended.
    bool chooseProblem(motion::Problem problem);
    bool canChooseProblem() const;

    bool ended() const { return ended_; }

    // ---- State --------------------------------------------------------------------------------
    const Control& control(ControlId id) const { return controls_[indexOf(id)]; }
    const std::vector<Control>& controls() const { return controls_.all(); }
    const WindowGeometry& geometry() const { return frame_.geometry(); }
    const PictureBox& box(ControlId id) const;
    // What the user sees of a picture box: its picture with the labels, dots and lines that lie
    // in it, drawn at a device scale. The screen, a copy, a saved picture and the page all show
    // this one. Valid until the lesson changes.
    const Image& seen(ControlId box, double scale) const;
    LessonVars vars() const;
    Options options() const;
    // The problem the lesson shows, and all that follows from it.
    const motion::Course& course() const { return *course_; }
    std::shared_ptr<const motion::Course> sharedCourse() const { return course_; }
    const motion::Motion& motion() const { return motion_; }
    // Announced once an action has changed anything, with all that it changed.
    Signal<const Changes&>& changes() const { return changes_; }

    // What assistive technology says of the pictures: the figure's moment, the graph's last
    // point, and the whole seconds whose column the table shows.
    std::string describeFigure() const { return figureDescription(motion_); }
    std::string describeGraph() const { return graphDescription(*course_, graph_.lastTime()); }
    std::vector<int> tableColumns() const { return table_.columns(); }
    // Which seconds the table has columns for.
    const graph::Columns& tableLayout() const { return table_.layout(); }
    // The same columns with their values: each whole second shown and its area.
    std::vector<std::pair<int, double>> tableValues() const;

    // ---- Handlers -----------------------------------------------------------------------------
    void Form_Load();
    void Command1_Click();
    void end_Click();
    void susumu_Click();
    void modoru_Click();
    KANSU_SUSPENDS_IN_THE_BROWSER void jidou_Click();
    void tomeru_Click();
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();
    void Check5_Click();

    void InitScreen();

private:
    // The named steps the handlers are made of.
    // The moment as the counter now stands: the time text, the figure, the markers and labels,
    // the paths, the area label, the grid and the hint.
    void showMoment();
    // The hint placed for the moment, or parked while it is off.
    void placeHint();
    // The graph and the table extended to the time the time box shows.
    void extendGraphAndTable();
    // The moment shown again in full, graph and table included, without moving the counter.
    void refreshMoment();
    // The time the time box shows, in seconds: the graph and the table take the time from there,
    // so that a time typed by hand is the time they draw for. Read once per step.
    double shownSeconds() const;
    void showRunning(bool running);
    // The longest wait of a speed in the list: a stop lets a wait up to this long run out.
    std::int32_t longestListedWait() const;
    KANSU_SUSPENDS_IN_THE_BROWSER void runHandler(ControlId id);
    void windowChanged(bool clientAreaChanged);
    // Announces what the action so far has changed, if anything.
    void publish();
    // The place of a picture box among the three: the figure, the graph, the table.
    static std::size_t pictureSlot(ControlId box);
    // The figure board for the problem: the lesson's own square moves the design's controls,
    // any other problem is drawn; the board's controls shown as the layout has them, or hidden.
    std::unique_ptr<board::Board> boardFor(const motion::Course& course);
    // The hint check box, where the problem has no height to show, disabled and saying why.
    void offerHint();

    Host& host_;
    ControlModel controls_;
    WindowFrame frame_;
    std::shared_ptr<const motion::Course> course_;
    PictureBox figure_;
    motion::Motion motion_;
    motion::Player player_;
    std::unique_ptr<board::Board> board_;
    graph::Graph graph_;
    graph::Table table_;
    bool ended_ = false;
    Changes pending_;
    mutable Signal<const Changes&> changes_;
    // What each picture box shows, composed when asked and kept until its picture or one of its
    // controls changes: the figure, the graph, the table.
    struct Seen {
        double scale = 0;
        std::uint64_t picture = 0;
        std::uint64_t overlays = 0;
        Image image;
    };
    mutable std::array<Seen, 3> seen_;
    std::array<std::uint64_t, 3> overlayRevision_{1, 1, 1};
    Subscription controlsChanged_;
    std::array<Subscription, 3> picturesChanged_;
};

// Client area of a picture box inside its border, in window coordinates.
Rect pictureClientRect(const Control& box);

} // namespace kansu
