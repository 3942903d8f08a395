// The lesson in the browser: the core with a host whose wait yields to the page, and the few
// calls the page's script makes. The page shows what the core announces; it keeps no state.
#include "app/form1.h"
#include "app/layout.h"
#include "app/state_json.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <emscripten.h>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace kansu;

// ---- The page's side, provided by app.js as Module.kansuPage ----------------------------------

// Shows what changed since it last looked (it asks kansu_take_changes).
EM_JS(void, pageShowChanges, (), { Module.kansuPage.showChanges(); });

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
        // The page shows the step, then the browser has the rest of the time: it paints, and the
        // user's clicks are queued and wake the wait; they are delivered here, inside it.
        const std::uint32_t start = tickCount();
        pageShowChanges();
        const auto shown = static_cast<std::int32_t>(tickCount() - start);
        pageWait(std::max(maxMilliseconds - shown, 0));
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

// ---- The lesson and what changed in it -------------------------------------------------------

struct Lesson {
    PageHost host;
    Form1 form{host};
    std::set<int> controls;
    std::set<int> pictures;
    bool window = true;
    Subscription subscription;

    Lesson() {
        host.deliver = [this](int kind, int control, const std::string& text) {
            act(kind, control, text);
        };
        subscription = form.changes().connect([this](const Change& change) {
            switch (change.kind) {
            case Change::Kind::Control:
                controls.insert(static_cast<int>(change.id));
                return;
            case Change::Kind::Picture:
                pictures.insert(static_cast<int>(change.id));
                return;
            case Change::Kind::Window:
                window = true;
                return;
            }
        });
        form.Form_Load();
        for (std::size_t i = 0; i < controlCount; ++i)
            controls.insert(static_cast<int>(i));
        for (ControlId box : {ControlId::kokuban, ControlId::gamen, ControlId::hyo})
            pictures.insert(static_cast<int>(box));
    }

    void act(int kind, int control, const std::string& text) {
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
std::string reply; // the last text handed to the page
int pictureWidth = 0, pictureHeight = 0;

std::string colour(OleColour c) {
    static constexpr char hex[] = "0123456789abcdef";
    const std::uint32_t rgb = rrggbb(toRgb(c));
    std::string css = "#";
    for (int shift = 20; shift >= 0; shift -= 4)
        css += hex[(rgb >> shift) & 15];
    return css;
}

std::string number(double v) {
    // Whole numbers as such; others, like the positions the steps give, to single precision.
    if (v == std::trunc(v) && std::fabs(v) < 1e9)
        return std::to_string(static_cast<long long>(v));
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", v);
    return text;
}

const char* containerName(Container c) {
    switch (c) {
    case Container::Form:
        return "window";
    case Container::Kokuban:
        return "kokuban";
    case Container::Gamen:
        return "gamen";
    case Container::Hyo:
        return "hyo";
    }
    return "";
}

// What changes of a control while the lesson runs.
std::string stateOf(int id, const Control& c) {
    std::string json = "{\"id\":" + std::to_string(id);
    json += ",\"left\":" + number(c.left) + ",\"top\":" + number(c.top);
    json += ",\"x1\":" + number(c.x1) + ",\"y1\":" + number(c.y1);
    json += ",\"x2\":" + number(c.x2) + ",\"y2\":" + number(c.y2);
    json += ",\"visible\":" + std::string(c.visible ? "true" : "false");
    json += ",\"enabled\":" + std::string(c.enabled ? "true" : "false");
    json += ",\"value\":" + std::to_string(c.value);
    json += ",\"text\":" + jsonString(c.text) + "}";
    return json;
}

} // namespace

extern "C" {

// The window as the layout table gives it, for the page to build itself from.
EMSCRIPTEN_KEEPALIVE const char* kansu_layout() {
    const ControlSet set = designLayout();
    reply = "{\"title\":" + jsonString("４.関数") + ",\"back\":\"" + colour(window::backColour) +
            "\",\"border\":" + std::to_string(window::pictureBorder) + ",\"controls\":[";
    for (std::size_t i = 0; i < set.size(); ++i) {
        const Control& c = set[i];
        reply += i ? "," : "";
        reply += "{\"id\":" + std::to_string(i) + ",\"name\":" + jsonString(c.name);
        reply += ",\"kind\":\"" + std::string(kindName(c.kind)) + "\"";
        reply += ",\"container\":\"" + std::string(containerName(c.container)) + "\"";
        reply += ",\"width\":" + number(c.width) + ",\"height\":" + number(c.height);
        reply += ",\"caption\":" + jsonString(c.caption);
        reply += ",\"back\":\"" + colour(c.backColour) + "\"";
        reply += ",\"fore\":" + (c.foreColour ? "\"" + colour(*c.foreColour) + "\"" : "null");
        reply += ",\"transparent\":" + std::string(c.transparentBack ? "true" : "false");
        reply += ",\"fontPx\":" + std::to_string(pixelSizeForPoints(c.font.points));
        reply += ",\"bold\":" + std::string(c.font.bold ? "true" : "false");
        reply += ",\"lineWidth\":" + std::to_string(c.lineWidth);
        reply += ",\"tab\":" + (c.tabIndex ? std::to_string(*c.tabIndex) : std::string("null"));
        reply += ",\"state\":" + stateOf(static_cast<int>(i), c) + "}";
    }
    reply += "]}";
    return reply.c_str();
}

EMSCRIPTEN_KEEPALIVE void kansu_start() {
    lesson.reset();
    lesson = std::make_unique<Lesson>();
}

// What changed since the page last asked: controls, pictures and the window; and what the figure
// and the graph now show, in words.
EMSCRIPTEN_KEEPALIVE const char* kansu_take_changes() {
    reply = "{\"controls\":[";
    bool first = true;
    for (int id : lesson->controls) {
        reply += first ? "" : ",";
        first = false;
        reply += stateOf(id, lesson->form.control(static_cast<ControlId>(id)));
    }
    reply += "],\"pictures\":[";
    first = true;
    for (int id : lesson->pictures) {
        reply += first ? "" : ",";
        first = false;
        reply += std::to_string(id);
    }
    reply += "]";
    if (lesson->window) {
        const WindowGeometry& g = lesson->form.geometry();
        reply += ",\"window\":{\"width\":" + std::to_string(g.clientWidth) +
                 ",\"height\":" + std::to_string(g.clientHeight) +
                 ",\"state\":" + std::to_string(g.state) + "}";
    }
    // What a screen reader is told of the figure and the graph, as the desktop tells it.
    reply += ",\"figure\":" + jsonString(lesson->form.describeFigure());
    reply += ",\"graph\":" + jsonString(lesson->form.describeGraph());
    reply += ",\"ended\":" + std::string(lesson->form.ended() ? "true" : "false") + "}";
    lesson->controls.clear();
    lesson->pictures.clear();
    lesson->window = false;
    return reply.c_str();
}

// A click or typing from the page; a click on 自動 returns only when its run has ended.
EMSCRIPTEN_KEEPALIVE void kansu_click(int control) {
    lesson->act(1, control, {});
}

EMSCRIPTEN_KEEPALIVE void kansu_type(int control, const char* text) {
    lesson->act(2, control, text ? text : "");
}

// The picture of a box at a device scale: RGBA bytes, as a canvas takes them, valid until the
// lesson draws again; its size by the next two calls.
EMSCRIPTEN_KEEPALIVE const std::uint8_t* kansu_picture(int control, double scale) {
    const Image& image = lesson->form.box(static_cast<ControlId>(control)).imageAt(scale);
    pictureWidth = image.width();
    pictureHeight = image.height();
    return reinterpret_cast<const std::uint8_t*>(image.data());
}

EMSCRIPTEN_KEEPALIVE int kansu_picture_width() {
    return pictureWidth;
}

EMSCRIPTEN_KEEPALIVE int kansu_picture_height() {
    return pictureHeight;
}

// The state as kansu-script writes it, for tests and for whoever wants to look.
EMSCRIPTEN_KEEPALIVE const char* kansu_state() {
    RunRecord run;
    run.closed = lesson->form.ended();
    reply = stateJson(lesson->form, run);
    return reply.c_str();
}

} // extern "C"
