#include "app/state_json.h"

#include "app/form1.h"
#include "app/json.h"

namespace kansu {

namespace {

using json::boolean;
using json::number;

std::string string(std::string_view text) {
    return json::string(text);
}

std::string controlJson(const Control& c) {
    json::Object o;
    o.field("kind", string(kindName(c.kind)));
    if (c.kind == ControlKind::Line) {
        o.field("x1", number(c.x1)).field("y1", number(c.y1));
        o.field("x2", number(c.x2)).field("y2", number(c.y2));
    } else {
        o.field("left", number(c.left)).field("top", number(c.top));
        o.field("width", number(c.width)).field("height", number(c.height));
        o.field("enabled", boolean(c.enabled));
    }
    if (c.kind == ControlKind::Label || c.kind == ControlKind::Check ||
        c.kind == ControlKind::Button)
        o.field("caption", string(c.caption));
    if (c.kind == ControlKind::Text || c.kind == ControlKind::Combo)
        o.field("text", string(c.text));
    if (c.kind == ControlKind::Check)
        o.field("value", number(c.value));
    o.field("visible", boolean(c.visible));
    return o.close();
}

} // namespace

const char* kindName(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label:
        return "label";
    case ControlKind::Check:
        return "check";
    case ControlKind::Button:
        return "button";
    case ControlKind::Text:
        return "text";
    case ControlKind::Combo:
        return "combo";
    case ControlKind::Picture:
        return "picture";
    case ControlKind::Line:
        return "line";
    case ControlKind::Shape:
        return "shape";
    }
    return "";
}

std::string stateJson(const Form1& form, const RunRecord& run) {
    std::string waits = "[";
    for (std::size_t i = 0; i < run.waits.size(); ++i)
        waits += (i ? ", " : "") + number(run.waits[i]);
    waits += "]";

    const WindowGeometry& g = form.geometry();
    json::Object window;
    window.field("width", number(g.widthTwips)).field("height", number(g.heightTwips));
    window.field("client_width", number(g.clientWidth))
        .field("client_height", number(g.clientHeight));
    window.field("state", number(g.state));

    const LessonVars v = form.vars();
    json::Object vars;
    vars.field("michinori", number(v.michinori));
    vars.field("Ax", number(v.Ax)).field("Ay", number(v.Ay));
    vars.field("Bx", number(v.Bx)).field("By", number(v.By));
    vars.field("Cx", number(v.Cx)).field("Cy", number(v.Cy));
    vars.field("Dx", number(v.Dx)).field("Dy", number(v.Dy));
    vars.field("Px", number(v.Px)).field("Py", number(v.Py));
    vars.field("Qx", number(v.Qx)).field("Qy", number(v.Qy));
    vars.field("graphPrevX", number(v.graphPrevX)).field("graphPrevY", number(v.graphPrevY));
    vars.field("stopRequested", number(v.stopRequested));

    std::string controls = "{";
    bool first = true;
    for (const Control& c : form.controls()) {
        controls += first ? "\n    " : ",\n    ";
        first = false;
        controls += string(c.name) + ": " + controlJson(c);
    }
    controls += "\n  }";

    // The problem, and where its points stand now, worked out in centimetres from the time alone.
    const motion::Course& course = form.course();
    const double seconds = form.motion().seconds();
    json::Object points;
    for (std::size_t i = 0; i < course.points().size(); ++i) {
        const PointF at = course.pointAt(i, seconds);
        points.field(std::string(1, course.points()[i].name),
                     json::Array().item(number(at.x)).item(number(at.y)).close());
    }
    json::Object problem;
    problem.field("name", string(course.problem().name)).field("x", number(seconds));
    problem.field("y", number(course.areaAt(seconds))).field("points", points.close());

    return "{\n  \"closed\": " + boolean(run.closed) + ",\n  \"clock_ms\": " + number(run.clockMs) +
           ",\n  \"waits\": " + waits + ",\n  \"window\": " + window.close() +
           ",\n  \"vars\": " + vars.close() + ",\n  \"controls\": " + controls +
           ",\n  \"problem\": " + problem.close() + "\n}\n";
}

} // namespace kansu
