#include "app/form1.h"

#include "app/problems.h"
#include "app/seen_picture.h"
#include "board/drawn_board.h"
#include "board/figure_board.h"
#include "surface/conversions.h"

#include <algorithm>

namespace kansu {

namespace {

PictureBox makeBox(const Control& c, int drawWidth, PictureBox::Memory memory) {
    const Rect client = pictureClientRect(c);
    return PictureBox(client.width, client.height, c.backColour,
                      c.foreColour.value_or(colours::windowText), c.font, drawWidth, memory);
}

board::Controls boardControls() {
    using enum ControlId;
    auto at = [](ControlId id) {
        return indexOf(id);
    };
    board::Controls roles{};
    roles.vertexA = at(Label4(0));
    roles.vertexB = at(Label4(1));
    roles.vertexC = at(Label4(2));
    roles.vertexD = at(Label4(3));
    roles.lengthBC = at(Label4(4));
    roles.lengthAB = at(Label4(5));
    roles.areaLabel = at(Label4(6));
    roles.areaSquared = at(Label4(7));
    roles.pLabel = at(Label4(8));
    roles.qLabel = at(Label4(9));
    roles.pDot = at(Shape1);
    roles.qDot = at(Shape2);
    roles.qPath = at(Line5(0));
    roles.pPathOnBA = at(Line5(1));
    roles.hint = at(Line5(2));
    roles.pPathOnAD = at(Line5(3));
    return roles;
}

// The marks a drawn board makes look as the lesson's own controls do.
board::MarkStyles markStyles(const ControlModel& controls) {
    auto c = [&](ControlId id) -> const Control& {
        return controls[indexOf(id)];
    };
    auto fore = [&](ControlId id) {
        return c(id).foreColour.value_or(colours::black);
    };
    board::MarkStyles s;
    s.vertexFont = c(Label4(0)).font;
    s.vertexColour = fore(Label4(0));
    s.lengthFont = c(Label4(4)).font;
    s.lengthColour = fore(Label4(4));
    s.pointFont = c(Label4(8)).font;
    s.pointColour = fore(Label4(8));
    s.areaFont = c(Label4(6)).font;
    s.areaColour = fore(Label4(6));
    s.squaredFont = c(Label4(7)).font;
    s.dotColour = c(ControlId::Shape1).backColour;
    s.dotSize = static_cast<int>(std::min(c(ControlId::Shape1).width, c(ControlId::Shape1).height));
    // P's orange and Q's blue, then a purple and an olive for a third and a fourth point.
    s.pathColours = {fore(Line5(1)), fore(Line5(0)), 0x800080, 0x008080};
    s.pathWidth = c(Line5(1)).lineWidth;
    s.hintColour = fore(Line5(2));
    s.hintWidth = c(Line5(2)).lineWidth;
    return s;
}

// Two problems of the same figure and motion, whatever they are called.
bool sameMotion(const motion::Problem& a, const motion::Problem& b) {
    return a.vertices == b.vertices && a.shape == b.shape && a.points == b.points &&
           a.area == b.area && a.end == b.end;
}

} // namespace

Rect pictureClientRect(const Control& box) {
    const int b = window::pictureBorder;
    return Rect{static_cast<int>(box.left) + b, static_cast<int>(box.top) + b,
                static_cast<int>(box.width) - 2 * b, static_cast<int>(box.height) - 2 * b};
}

Form1::Form1(Host& host)
    : host_(host), controls_(designLayout()),
      course_(std::make_shared<const motion::Course>(lessonsOwnProblem())),
      figure_(makeBox(control(role::figure), 3, PictureBox::Memory::Persistent)), motion_(course_),
      player_(host), board_(boardFor(*course_)),
      graph_(makeBox(control(role::graph), 1, PictureBox::Memory::Persistent), course_),
      table_(makeBox(control(role::table), 1, PictureBox::Memory::Transient), course_) {
    controlsChanged_ = controls_.changed().connect([this](ControlIndex i) {
        pending_.controls.set(i);
        // A label, dot or line in a picture box changes what the user sees of that box.
        if (const ControlId box = boxOf(controls_[i].container); box != ControlId::Count) {
            ++overlayRevision_[pictureSlot(box)];
            pending_.pictures.set(indexOf(box));
        }
    });
    const ControlId boxes[] = {role::figure, role::graph, role::table};
    for (std::size_t b = 0; b < std::size(boxes); ++b) {
        const ControlId id = boxes[b];
        picturesChanged_[b] =
            box(id).changed().connect([this, id] { pending_.pictures.set(indexOf(id)); });
    }
    windowChanged(true);
    pending_ = {};
}

Changes Changes::all() {
    Changes c;
    c.controls.set();
    for (ControlId box : {role::figure, role::graph, role::table})
        c.pictures.set(indexOf(box));
    c.window = true;
    return c;
}

std::unique_ptr<board::Board> Form1::boardFor(const motion::Course& course) {
    const ControlSet layout = designLayout();
    const bool own = sameMotion(course.problem(), lessonsOwnProblem());
    for (std::size_t i = 0; i < controlCount; ++i)
        if (layout[i].container == Container::Kokuban)
            controls_.setVisible(i, own && layout[i].visible);
    if (own)
        return std::make_unique<board::FigureBoard>(controls_, boardControls(), figure_, course_);
    return std::make_unique<board::DrawnBoard>(figure_, course_, markStyles(controls_));
}

void Form1::offerHint() {
    const ControlIndex hint = indexOf(ControlId::Check5);
    const bool offered = course_->height().has_value();
    if (!offered && control(ControlId::Check5).value != 0)
        controls_.setValue(hint, 0);
    controls_.setEnabled(hint, offered);
    controls_.setTip(hint, offered
                               ? std::string()
                               : "この問題の面積は、底辺が一つの直線上にある三角形ではないので、"
                                 "高さのヒントはありません。");
}

bool Form1::canChooseProblem() const {
    return !ended_ && control(role::initialScreenButton).enabled && !player_.running();
}

bool Form1::chooseProblem(motion::Problem problem) {
    if (!canChooseProblem())
        return false;
    course_ = std::make_shared<const motion::Course>(std::move(problem));
    motion_ = motion::Motion(course_);
    board_ = boardFor(*course_);
    graph_.setCourse(course_);
    table_.setCourse(course_);
    offerHint();
    InitScreen();
    publish();
    return true;
}

void Form1::publish() {
    // Whatever the board still has to draw for the action, before the batch is told.
    board_->settle();
    // Taken first: a view that answers by acting again announces its own batch.
    const Changes batch = std::exchange(pending_, {});
    if (!batch.empty())
        changes_.notify(batch);
}

double Form1::shownSeconds() const {
    // Too large a number reads as an infinity, which is no time of the lesson.
    return conv::numericValue(control(role::timeBox).text).value;
}

std::vector<std::pair<int, double>> Form1::tableValues() const {
    std::vector<std::pair<int, double>> values;
    for (const int second : table_.columns())
        values.emplace_back(second, table_.valueAt(second));
    return values;
}

std::size_t Form1::pictureSlot(ControlId box) {
    return box == role::graph ? 1 : box == role::table ? 2 : 0;
}

const Image& Form1::seen(ControlId id, double scale) const {
    const PictureBox& picture = box(id);
    const Container container = containerOf(id);
    const bool overlaid = std::any_of(controls().begin(), controls().end(), [&](const Control& c) {
        return c.container == container && c.visible;
    });
    if (!overlaid)
        return picture.imageAt(scale);
    const std::size_t slot = pictureSlot(id);
    Seen& s = seen_[slot];
    if (s.scale != scale || s.picture != picture.revision() ||
        s.overlays != overlayRevision_[slot] || s.image.isNull()) {
        s.image = picture.imageAt(scale);
        drawLightweightControls(s.image, controls(), container, scale);
        s.scale = scale;
        s.picture = picture.revision();
        s.overlays = overlayRevision_[slot];
    }
    return s.image;
}

const PictureBox& Form1::box(ControlId id) const {
    switch (id) {
    case role::graph:
        return graph_.picture();
    case role::table:
        return table_.picture();
    default:
        return figure_;
    }
}

LessonVars Form1::vars() const {
    LessonVars v;
    const board::Square& s = board_->square();
    v.Ax = s.a.x;
    v.Ay = s.a.y;
    v.Bx = s.b.x;
    v.By = s.b.y;
    v.Cx = s.c.x;
    v.Cy = s.c.y;
    v.Dx = s.d.x;
    v.Dy = static_cast<std::int16_t>(s.d.y);
    v.Px = motion_.p().x;
    v.Py = motion_.p().y;
    v.michinori = motion_.counter();
    // Q is the second point; a problem with one point has none.
    if (course_->points().size() > 1) {
        v.Qx = motion_.q().x;
        v.Qy = static_cast<std::int16_t>(motion_.q().y);
    }
    v.graphPrevX = graph_.lastX();
    v.graphPrevY = graph_.lastY();
    v.stopRequested = player_.stopRequested();
    return v;
}

Options Form1::options() const {
    using enum ControlId;
    auto ticked = [this](ControlId id) {
        return control(id).value != 0;
    };
    return {ticked(Check1), ticked(Check2), ticked(Check3),
            ticked(Check4), ticked(Check5), ticked(Check6)};
}

void Form1::windowChanged(bool clientAreaChanged) {
    if (clientAreaChanged) {
        // What each picture box shows of itself: the part of its client area inside the window's.
        const WindowGeometry& g = frame_.geometry();
        const Rect client{0, 0, g.clientWidth, g.clientHeight};
        auto shown = [&](ControlId id) {
            const Rect inBox = pictureClientRect(control(id));
            return inBox.intersected(client).translated(-inBox.x, -inBox.y);
        };
        figure_.setVisibleArea(shown(role::figure));
        graph_.setVisibleArea(shown(role::graph));
        table_.setVisibleArea(shown(role::table));
    }
    pending_.window = true;
}

void Form1::setClientSize(int width, int height) {
    if (frame_.setClientSize(width, height))
        windowChanged(true);
    publish();
}

void Form1::setWindowState(int state) {
    if (ended_)
        return;
    windowChanged(frame_.setState(state));
    publish();
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
    if (c.kind == ControlKind::Check) {
        // A check box's handler runs whenever its value changes.
        controls_.setValue(indexOf(id), c.value == 0 ? 1 : 0);
        runHandler(id);
    } else if (c.kind == ControlKind::Button) {
        runHandler(id);
    }
    publish();
}

void Form1::typeText(ControlId id, const std::string& text) {
    if (ended_)
        return;
    const Control& c = control(id);
    if (c.kind == ControlKind::Text || c.kind == ControlKind::Combo)
        controls_.setText(indexOf(id), text);
    publish();
}

void Form1::closeByFrame() {
    if (!ended_)
        end_Click();
    publish();
}

} // namespace kansu
