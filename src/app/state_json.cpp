#include "app/state_json.h"

#include "app/form1.h"
#include "surface/utf8.h"

#include <charconv>
#include <cmath>
#include <iomanip>
#include <locale>
#include <sstream>
#include <type_traits>

namespace kansu {

namespace {

#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
constexpr bool floatCharconv = true;
#else
constexpr bool floatCharconv = false; // the browser build's standard library
#endif

// Shortest text that reads back to the same value.
template <typename Number> std::string number(Number value) {
    if constexpr (std::is_floating_point_v<Number>) {
        if (!std::isfinite(value))
            return "null";
    }
    if constexpr (std::is_floating_point_v<Number> && !floatCharconv) {
        // Whole numbers as such, others with the fewest digits that read back.
        if (std::fabs(value) < 1e15 && value == std::trunc(value))
            return number(static_cast<long long>(value));
        for (int digits = 1;; ++digits) {
            std::ostringstream out;
            out.imbue(std::locale::classic());
            out << std::setprecision(digits) << value;
            std::istringstream in(out.str());
            in.imbue(std::locale::classic());
            Number back{};
            in >> back;
            if (back == value || digits >= 17)
                return out.str();
        }
    } else {
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
        return std::string(buffer, result.ptr);
    }
}

std::string string(std::string_view text) {
    return jsonString(text);
}

std::string boolean(bool b) {
    return b ? "true" : "false";
}

class ObjectWriter {
public:
    ObjectWriter& field(const char* key, const std::string& json) {
        out_ += first_ ? "" : ", ";
        first_ = false;
        out_ += '"';
        out_ += key;
        out_ += "\": ";
        out_ += json;
        return *this;
    }
    std::string close() { return "{" + out_ + "}"; }

private:
    std::string out_;
    bool first_ = true;
};

std::string controlJson(const Control& c) {
    ObjectWriter o;
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

std::string jsonString(std::string_view text) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string json = "\"";
    for (const char c : utf8::sanitized(text)) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            json += "\\\"";
            break;
        case '\\':
            json += "\\\\";
            break;
        case '\b':
            json += "\\b";
            break;
        case '\f':
            json += "\\f";
            break;
        case '\n':
            json += "\\n";
            break;
        case '\r':
            json += "\\r";
            break;
        case '\t':
            json += "\\t";
            break;
        default:
            if (u < 0x20) {
                json += "\\u00";
                json += hex[u >> 4];
                json += hex[u & 15];
            } else {
                json += c;
            }
        }
    }
    return json + '"';
}

std::string stateJson(const Form1& form, const RunRecord& run) {
    std::string waits = "[";
    for (std::size_t i = 0; i < run.waits.size(); ++i)
        waits += (i ? ", " : "") + number(run.waits[i]);
    waits += "]";

    const WindowGeometry& g = form.geometry();
    ObjectWriter window;
    window.field("width", number(g.widthTwips)).field("height", number(g.heightTwips));
    window.field("client_width", number(g.clientWidth))
        .field("client_height", number(g.clientHeight));
    window.field("state", number(g.state));

    const LessonVars v = form.vars();
    ObjectWriter vars;
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

    return "{\n  \"closed\": " + boolean(run.closed) + ",\n  \"clock_ms\": " + number(run.clockMs) +
           ",\n  \"waits\": " + waits + ",\n  \"window\": " + window.close() +
           ",\n  \"vars\": " + vars.close() + ",\n  \"controls\": " + controls + "\n}\n";
}

} // namespace kansu
