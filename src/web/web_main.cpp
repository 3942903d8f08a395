// The lesson in the browser: the core with a host whose wait yields to the page, and the few
// calls the page's script makes. The page shows what the core announces; it keeps no state.
#include "app/form1.h"
#include "app/json.h"
#include "app/layout.h"
#include "app/moment_link.h"
#include "app/problems.h"
#include "app/questions.h"
#include "app/state_json.h"
#include "app/worksheet.h"
#include "surface/font.h"

#include <algorithm>
#include <cstdint>
#include <emscripten.h>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace kansu;

// ---- The page's side, provided by app.js as Module.kansuPage ----------------------------------

// Shows one batch of changes, given as JSON.
EM_JS(void, pageShow, (const char* changes), { Module.kansuPage.show(UTF8ToString(changes)); });

// Resolves after the time, or as soon as the user does something.
EM_ASYNC_JS(void, pageWait, (int milliseconds), { await Module.kansuPage.wait(milliseconds); });

// The user's next queued action: its text's size in bytes, -1 when there is none.
EM_JS(int, pageNextEventTextBytes, (), {
    const e = Module.kansuPage.queue[0];
    return e ? lengthBytesUTF8(e.text || "") + 1 : -1;
});

// Takes the next queued action: returns kind * 1000 + control (kind 1 a click, 2 typing) and
// writes its text.
EM_JS(int, pageTakeEvent, (char* text, int capacity), {
    const e = Module.kansuPage.queue.shift();
    stringToUTF8(e.text || "", text, capacity);
    return e.kind * 1000 + e.control;
});

EM_JS(void, pageEnded, (), { Module.kansuPage.ended(); });

// ---- The host --------------------------------------------------------------------------------

class PageHost : public Host {
public:
    std::function<void(int kind, int control, const std::string& text)> deliver;
    bool ended = false;

    std::uint32_t tickCount() override {
        return static_cast<std::uint32_t>(static_cast<std::uint64_t>(emscripten_get_now()));
    }

    void runPendingEvents(std::int32_t maxMilliseconds) override {
        // The browser has the time: it paints what the step showed, and the user's clicks are
        // queued and wake the wait; they are delivered here, inside it.
        pageWait(std::max(maxMilliseconds, 0));
        for (int bytes = pageNextEventTextBytes(); bytes >= 0 && !ended;
             bytes = pageNextEventTextBytes()) {
            std::string text(static_cast<std::size_t>(bytes), '\0');
            const int event = pageTakeEvent(text.data(), bytes);
            text.resize(text.find('\0'));
            deliver(event / 1000, event % 1000, text);
        }
    }

    void endProgram() override {
        ended = true;
        pageEnded();
    }
};

// ---- What the page is told -------------------------------------------------------------------

std::string colour(OleColour c) {
    static constexpr char hex[] = "0123456789abcdef";
    const std::uint32_t rgb = rrggbb(toRgb(c));
    std::string css = "#";
    for (int shift = 20; shift >= 0; shift -= 4)
        css += hex[(rgb >> shift) & 15];
    return css;
}

// What changes of a control while the lesson runs.
std::string stateOf(std::size_t id, const Control& c) {
    json::Object o;
    o.field("id", json::number(id));
    o.field("left", json::number(c.left)).field("top", json::number(c.top));
    o.field("x1", json::number(c.x1)).field("y1", json::number(c.y1));
    o.field("x2", json::number(c.x2)).field("y2", json::number(c.y2));
    o.field("visible", json::boolean(c.visible)).field("enabled", json::boolean(c.enabled));
    o.field("value", json::number(c.value)).field("text", json::string(c.text));
    o.field("tip", json::string(c.tip));
    return o.close();
}

// A batch of changes as the page shows it, with what the figure and the graph now show in words.
std::string changesJson(const Form1& form, const Changes& changes) {
    json::Array controls;
    json::Array pictures;
    for (std::size_t i = 0; i < controlCount; ++i) {
        if (changes.controls.test(i))
            controls.item(stateOf(i, form.controls()[i]));
        if (changes.pictures.test(i))
            pictures.item(json::number(i));
    }
    json::Object o;
    o.field("controls", controls.close()).field("pictures", pictures.close());
    if (changes.window) {
        const WindowGeometry& g = form.geometry();
        json::Object window;
        window.field("width", json::number(g.clientWidth))
            .field("height", json::number(g.clientHeight))
            .field("state", json::number(g.state));
        o.field("window", window.close());
    }
    json::Array table;
    for (const auto& [second, area] : form.tableValues())
        table.item(json::Array().item(json::number(second)).item(json::number(area)).close());
    o.field("table", table.close());
    o.field("figure", json::string(form.describeFigure()));
    o.field("graph", json::string(form.describeGraph()));
    o.field("ended", json::boolean(form.ended()));
    return o.close();
}

// ---- The lesson --------------------------------------------------------------------------------

// The lesson shows each batch of changes as it is announced, as the desktop does.
struct Lesson {
    PageHost host;
    Form1 form{host};
    Subscription subscription;

    Lesson() {
        host.deliver = [this](int kind, int control, const std::string& text) {
            act(kind, control, text);
        };
        form.Form_Load();
        subscription = form.changes().connect([this](const Changes& changes) { show(changes); });
    }

    // Until the page has been shown everything once, there is nothing to keep in step.
    bool shown = false;
    void show(const Changes& changes) {
        if (shown)
            pageShow(changesJson(form, changes).c_str());
    }
    void showAll() {
        shown = true;
        show(Changes::all());
    }

    KANSU_SUSPENDS_IN_THE_BROWSER void act(int kind, int control, const std::string& text) {
        if (control < 0 || control >= static_cast<int>(controlCount))
            return;
        const auto id = static_cast<ControlId>(control);
        if (kind == 1)
            form.click(id);
        else if (kind == 2)
            form.typeText(id, text);
    }
};

std::unique_ptr<Lesson> lesson;
// The last worksheet asked for, whose pictures the page draws. Its figure is the lesson's own, so
// it goes with the lesson.
std::unique_ptr<Worksheet> worksheet;
std::string reply; // the last text handed to the page
int pictureWidth = 0, pictureHeight = 0;

// A picture's RGBA bytes for the page, their size kept for the two calls that ask it.
const std::uint8_t* handedOver(const Image& image) {
    pictureWidth = image.width();
    pictureHeight = image.height();
    return reinterpret_cast<const std::uint8_t*>(image.data());
}

// Nothing to hand over: no bytes, and a size of nothing.
const std::uint8_t* nothingHandedOver() {
    pictureWidth = pictureHeight = 0;
    return nullptr;
}

// The page asks for pictures only at the scales a screen shows (a fraction up to a few device
// pixels a pixel); anything else, not a number or too large to hold, is no picture.
constexpr double largestScale = 16;
bool sensibleScale(double scale) {
    return scale > 0 && scale <= largestScale;
}

bool isPictureBox(int control) {
    return control == indexOf(role::figure) || control == indexOf(role::graph) ||
           control == indexOf(role::table);
}

} // namespace

extern "C" {

// The window as the layout table gives it, for the page to build itself from.
EMSCRIPTEN_KEEPALIVE const char* kansu_layout() {
    const ControlSet set = designLayout();
    json::Array controls;
    for (std::size_t i = 0; i < set.size(); ++i) {
        const Control& c = set[i];
        json::Array items;
        for (const std::string& item : c.items)
            items.item(json::string(item));
        const ControlId box = boxOf(c.container);
        json::Object o;
        o.field("id", json::number(i)).field("name", json::string(c.name));
        o.field("kind", json::string(kindName(c.kind)));
        o.field("box", box == ControlId::Count ? "null" : json::number(indexOf(box)));
        o.field("width", json::number(c.width)).field("height", json::number(c.height));
        o.field("caption", json::string(c.caption));
        o.field("accessibleName", json::string(c.accessibleName));
        o.field("heading", json::boolean(c.heading));
        o.field("items", items.close());
        o.field("back", json::string(colour(c.backColour)));
        o.field("fore", c.foreColour ? json::string(colour(*c.foreColour)) : "null");
        o.field("transparent", json::boolean(c.transparentBack));
        o.field("fontPx", json::number(pixelSizeForPoints(c.font.points)));
        o.field("bold", json::boolean(c.font.bold));
        o.field("lineWidth", json::number(c.lineWidth));
        o.field("tab", c.tabIndex ? json::number(*c.tabIndex) : "null");
        o.field("state", stateOf(i, c));
        controls.item(o.close());
    }
    // The client area at the start size: the window without the graph and the table.
    WindowFrame frame;
    frame.setWidthTwips(window::startWidthTwips);
    frame.setHeightTwips(window::startHeightTwips);
    json::Object start;
    start.field("width", json::number(frame.geometry().clientWidth))
        .field("height", json::number(frame.geometry().clientHeight));
    json::Object layout;
    layout.field("title", json::string(window::title));
    layout.field("startClient", start.close());
    layout.field("back", json::string(colour(window::backColour)));
    layout.field("border", json::number(window::pictureBorder));
    layout.field("controls", controls.close());
    reply = layout.close();
    return reply.c_str();
}

// The lesson's font, as the page fetched it, or none when it did not come: handed over before
// anything else is asked. The core in the browser looks for no font of its own.
EMSCRIPTEN_KEEPALIVE void kansu_font(const unsigned char* bytes, int size) {
    Typeface::giveLessonFont(bytes && size > 0 ? std::vector<unsigned char>(bytes, bytes + size)
                                               : std::vector<unsigned char>());
}

// Why the lesson cannot be shown (its font is missing or damaged), or an empty text.
EMSCRIPTEN_KEEPALIVE const char* kansu_problem() {
    return Typeface::lesson().problem().c_str();
}

// A fresh lesson, brought to the moment an address's fragment names if it names one; the page is
// shown everything at once. Returns 0 for no fragment, 1 for a moment opened, 2 for a fragment
// that names no moment (the lesson then stays on its initial screen).
EMSCRIPTEN_KEEPALIVE int kansu_start(const char* fragment) {
    worksheet.reset();
    lesson.reset();
    lesson = std::make_unique<Lesson>();
    int opened = 0;
    if (fragment && *fragment && std::string_view(fragment) != "#") {
        const auto moment = readLink(fragment);
        if (moment)
            bringTo(lesson->form, *moment);
        opened = moment ? 1 : 2;
    }
    lesson->showAll();
    return opened;
}

// The moment the lesson shows now, as an address's fragment (without its "#"); empty when no
// link can name it.
EMSCRIPTEN_KEEPALIVE const char* kansu_link() {
    reply = linkOf(momentOf(lesson->form)).value_or(std::string());
    return reply.c_str();
}

// The built-in problems, for the page's chooser: each one's name and title, and which is shown.
EMSCRIPTEN_KEEPALIVE const char* kansu_problems() {
    json::Array all;
    for (const motion::Problem& p : builtInProblems()) {
        json::Object o;
        o.field("name", json::string(p.name)).field("title", json::string(p.title));
        o.field("shown", json::boolean(lesson && p == lesson->form.course().problem()));
        all.item(o.close());
    }
    reply = all.close();
    return reply.c_str();
}

// Another problem for the lesson: a built-in one by its name, or a teacher's own from its file's
// text (named after the file, fileName, when it names itself nothing). Returns why it cannot be
// shown, or an empty text once it shows.
EMSCRIPTEN_KEEPALIVE const char* kansu_choose_problem(const char* nameOrText,
                                                      const char* fileName) {
    reply.clear();
    if (!lesson || !nameOrText)
        return reply.c_str();
    ReadProblem read;
    if (const motion::Problem* builtIn = builtInNamed(nameOrText))
        read.problem = *builtIn;
    else
        read = readProblem(nameOrText, fileName && *fileName ? fileName : "mine");
    if (!read.problem)
        reply = "問題として読めませんでした（" + read.error + "）";
    else if (!lesson->form.chooseProblem(*read.problem))
        reply = "自動で動いている間は、問題を変えられません";
    return reply.c_str();
}

// A click or typing from the page; a click on 自動 returns only when its run has ended.
EMSCRIPTEN_KEEPALIVE void kansu_click(int control) {
    lesson->act(1, control, {});
}

EMSCRIPTEN_KEEPALIVE void kansu_type(int control, const char* text) {
    lesson->act(2, control, text ? text : "");
}

// What the user sees of a picture box at a device scale: RGBA bytes, as a canvas takes them,
// valid until the lesson draws again; its size by the next two calls.
// Nothing for a control that is no picture box or a scale no screen shows.
EMSCRIPTEN_KEEPALIVE const std::uint8_t* kansu_picture(int control, double scale) {
    if (!lesson || !isPictureBox(control) || !sensibleScale(scale))
        return nothingHandedOver();
    return handedOver(lesson->form.seen(static_cast<ControlId>(control), scale));
}

EMSCRIPTEN_KEEPALIVE int kansu_picture_width() {
    return pictureWidth;
}

EMSCRIPTEN_KEEPALIVE int kansu_picture_height() {
    return pictureHeight;
}

// The worksheet of the moment, kind 0 the answers and 1 the students' copy, as the page prints
// it: its texts, rules and pictures, in millimetres from the paper's corner. Each picture's
// pixels come by its index from kansu_worksheet_picture.
// Any other kind is no worksheet: an empty text.
EMSCRIPTEN_KEEPALIVE const char* kansu_worksheet(int kind) {
    if (!lesson || (kind != 0 && kind != 1)) {
        worksheet.reset();
        reply.clear();
        return reply.c_str();
    }
    worksheet = std::make_unique<Worksheet>(
        worksheetOf(lesson->form, kind == 1 ? SheetKind::Blank : SheetKind::Answers));
    json::Array texts, rules, pictures;
    for (const Worksheet::Text& t : worksheet->texts) {
        json::Object o;
        o.field("x", json::number(t.x)).field("baseline", json::number(t.baseline));
        o.field("points", json::number(t.points)).field("bold", json::boolean(t.bold));
        o.field("colour", json::string(colour(t.colour & 0xFFFFFFu)));
        texts.item(o.field("text", json::string(t.text)).close());
    }
    for (const Worksheet::Rule& r : worksheet->rules) {
        json::Object o;
        o.field("x1", json::number(r.x1)).field("y1", json::number(r.y1));
        o.field("x2", json::number(r.x2)).field("y2", json::number(r.y2));
        rules.item(o.field("width", json::number(r.width)).close());
    }
    for (const Worksheet::Picture& p : worksheet->pictures) {
        json::Object o;
        o.field("x", json::number(p.x)).field("y", json::number(p.y));
        o.field("width", json::number(p.width())).field("height", json::number(p.height()));
        o.field("mmPerPixel", json::number(p.mmPerPixel));
        pictures.item(o.field("name", json::string(p.form->control(p.box).accessibleName)).close());
    }
    json::Object o;
    o.field("paperWidth", json::number(Worksheet::paperWidth));
    o.field("paperHeight", json::number(Worksheet::paperHeight));
    o.field("margin", json::number(Worksheet::margin));
    o.field("title", json::string(worksheet->title));
    o.field("texts", texts.close()).field("rules", rules.close());
    o.field("pictures", pictures.close());
    reply = o.close();
    return reply.c_str();
}

// A picture of the last worksheet as the user sees it at a device scale: RGBA bytes and their
// size, as kansu_picture gives them; nothing for an index it does not have, a scale no printer
// asks for, or when the lesson it was made from has been replaced since.
EMSCRIPTEN_KEEPALIVE const std::uint8_t* kansu_worksheet_picture(int index, double scale) {
    if (!worksheet || index < 0 || static_cast<std::size_t>(index) >= worksheet->pictures.size() ||
        !sensibleScale(scale))
        return nothingHandedOver();
    const Worksheet::Picture& p = worksheet->pictures[static_cast<std::size_t>(index)];
    return handedOver(p.form->seen(p.box, scale));
}

// The questions the moment asks (a class's teacher sends one of them): each one's kind ("y" at a
// time, "rule" on a piece, "x" for an area), its text, its answer as the answers sheet writes it,
// and what a right answer comes to.
EMSCRIPTEN_KEEPALIVE const char* kansu_questions() {
    json::Array questions;
    if (lesson && !lesson->form.ended())
        for (const Question& q : questionsOf(lesson->form)) {
            json::Array values;
            for (const double v : q.values)
                values.item(json::number(v));
            json::Object o;
            o.field("kind", json::string(q.kind == QuestionKind::AreaAt ? "y"
                                         : q.kind == QuestionKind::Rule ? "rule"
                                                                        : "x"));
            o.field("text", json::string(q.text)).field("answer", json::string(q.answer));
            questions.item(o.field("values", values.close()).close());
        }
    reply = questions.close();
    return reply.c_str();
}

// The state as kansu-script writes it, for tests and for whoever wants to look.
EMSCRIPTEN_KEEPALIVE const char* kansu_state() {
    RunRecord run;
    run.closed = lesson->form.ended();
    reply = stateJson(lesson->form, run);
    return reply.c_str();
}

} // extern "C"
