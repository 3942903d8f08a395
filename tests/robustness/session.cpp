#include "session.h"

#include "app/form1.h"
#include "motion/motion.h"
#include "surface/virtual_host.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace kansu::robustness {

namespace {

using enum ControlId;

// Texts a class may type into the time box or the speed box.
const std::string& typedText(std::uint8_t pick) {
    static const std::string corpus[] = {
        std::string(),
        std::string("   "),
        std::string("abc"),
        std::string("-5"),
        std::string("1e400"),
        std::string("nan"),
        std::string("inf"),
        std::string("&H7FFFFFFF"),
        std::string("2147483648"),
        std::string("１２"),
        std::string(10000, '9'),
        std::string("4\0"
                    "5",
                    3),
        std::string("3\n5"),
        std::string(" 0"),
        std::string("10"),
        std::string("20"),
        std::string(" 4.0"),
        std::string("8"),
        std::string("0.1"),
        std::string("-0"),
        std::string("7.95"),
        std::string("1e-400"),
    };
    return corpus[pick % std::size(corpus)];
}

// A virtual clock that knows when it is inside a wait of automatic play.
class SessionHost : public VirtualHost {
public:
    void runPendingEvents(std::int32_t maxMilliseconds) override {
        ++depth;
        VirtualHost::runPendingEvents(maxMilliseconds);
        --depth;
    }
    int depth = 0;
};

class Session {
public:
    explicit Session(Totals& totals) : totals_(totals) {
        form_.Form_Load();
        // A view of the lesson kept only by its announcements, compared with the lesson itself.
        mirror_ = form_.controls();
        geometry_ = form_.geometry();
        for (std::size_t b = 0; b < std::size(boxes); ++b)
            revisions_[b] = form_.box(boxes[b]).revision();
        subscription_ =
            form_.changes().connect([this](const Changes& changes) { follow(changes); });
    }

    std::string play(std::span<const std::uint8_t> bytes) {
        std::size_t i = 0;
        auto next = [&]() -> std::uint8_t {
            return i < bytes.size() ? bytes[i++] : 0;
        };
        while (i < bytes.size() && failure_.empty()) {
            const std::uint8_t kind = next();
            if (kind % 8 == 7) {
                // Queue an action for one of the next waits of automatic play.
                const int wait = 1 + next() % 6;
                const std::uint8_t a = next(), b = next();
                host_.deliverInWait(wait, [this, a, b] {
                    perform(a, b);
                    ++totals_.actions;
                    // Inside a wait of a run, or after the line when no wait came.
                    check(host_.depth > 0);
                });
                continue;
            }
            const std::size_t waitsBefore = waitsLettingEventsRun();
            batches_ = 0;
            perform(kind, next());
            ++totals_.actions;
            // One batch of changes an action, unless its run gave the window turns between steps.
            expect(batches_ <= 1 || waitsLettingEventsRun() > waitsBefore,
                   "an action announces its changes as one batch");
            host_.deliverAll();
            check(false);
        }
        // Every session ends the program, with the button or the frame.
        if (failure_.empty()) {
            if (bytes.empty() || bytes.back() % 2 == 0)
                form_.click(end);
            else
                form_.closeByFrame();
            ++totals_.actions;
            if (!form_.ended() || !host_.ended())
                fail("the program did not end");
        }
        return failure_;
    }

private:
    void perform(std::uint8_t kind, std::uint8_t arg) {
        switch (kind % 8) {
        case 0:
        case 1:
        case 2:
            return form_.click(static_cast<ControlId>(arg % controlCount));
        case 3: {
            // The buttons that move the lesson, more often than the rest.
            static constexpr ControlId steps[] = {susumu, susumu,   modoru, jidou,
                                                  tomeru, Command1, Check4, Check1};
            return form_.click(steps[arg % std::size(steps)]);
        }
        case 4:
            typing_ = true;
            form_.typeText(Text1, typedText(arg));
            typing_ = false;
            textTyped_ =
                form_.control(Text1).text != motion::Motion::timeTextFor(form_.vars().michinori);
            return;
        case 5:
            return form_.typeText(Combo1, typedText(arg));
        case 6:
            return form_.setWindowState(arg % 2 == 0 ? 2 : 0);
        default:
            return;
        }
    }

    void fail(const std::string& what) {
        if (!failure_.empty())
            return;
        std::ostringstream out;
        out << what << " (after " << totals_.actions << " actions, michinori "
            << form_.vars().michinori << ")";
        failure_ = out.str();
    }

    void expect(bool condition, const char* what) {
        ++totals_.checks;
        if (!condition)
            fail(what);
    }

    void check(bool insideWait) {
        if (form_.ended())
            return;
        const LessonVars v = form_.vars();
        const double m = v.michinori;
        expect(m >= 0 && m <= 320 && std::fmod(m, 4) == 0,
               "michinori is a multiple of 4 in 0..320");

        auto on = [this](ControlId id) {
            return form_.control(id).enabled;
        };
        const bool idle = on(susumu) && on(modoru) && on(Command1) && on(jidou) && !on(tomeru) &&
                          v.stopRequested == 0;
        const bool running = !on(susumu) && !on(modoru) && !on(Command1) && !on(jidou) &&
                             on(tomeru) && v.stopRequested == 0;
        const bool stopping = !on(susumu) && !on(modoru) && !on(Command1) && on(jidou) &&
                              on(tomeru) && v.stopRequested == 1;
        if (insideWait)
            expect(running || stopping, "the buttons show a run during its wait");
        else
            expect(idle, "the buttons are idle between actions");

        const double px = m <= 160 ? 100 : 2 * m - 220, py = m <= 160 ? 370 - 2 * m : 50;
        expect(v.Px == px && v.Py == py && v.Qx == m + 100 && v.Qy == 370,
               "P and Q stand where the counter puts them");
        const Control &pDot = form_.control(Shape1), &qDot = form_.control(Shape2);
        expect(pDot.left == float(px - 4) && pDot.top == float(py - 4) &&
                   qDot.left == float(m + 100 - 4) && qDot.top == 366.0f,
               "the dots sit on P and Q");
        if (!textTyped_) {
            expect(form_.control(Text1).text == motion::Motion::timeTextFor(m),
                   "Text1 shows the time of the counter");
        }
        const Control &qLabel = form_.control(Label4_9), &pLabel = form_.control(Label4_8);
        const double pTop = m <= 160 ? 370 - 35 - 0.9 * (2 * m) : 15;
        const double pLeft = m <= 160 ? 75 : 104 + 0.9 * (2 * m - 320);
        // The initial screen puts "Ｐ" three pixels above where a step to time 0 does.
        const bool pAtStart = m == 0 && pLabel.top == 332.0f && pLabel.left == 75.0f;
        expect(qLabel.top == 370.0f && qLabel.left == float(104 + 0.9 * m) &&
                   ((pLabel.top == float(pTop) && pLabel.left == float(pLeft)) || pAtStart),
               "the labels of P and Q follow the step rules");
        expect(mirror_ == form_.controls(), "every change of a control is announced");
        expect(geometry_ == form_.geometry(), "every change of the window is announced");
        for (std::size_t b = 0; b < std::size(boxes); ++b)
            expect(revisions_[b] == form_.box(boxes[b]).revision(),
                   "every change of a picture is announced");
        expect(std::isfinite(v.graphPrevX) && v.graphPrevX >= 35 && v.graphPrevX <= 259,
               "the graph's last point is a point of the graph");
        checkBoxes();
    }

    // Whether every pixel of the image outside the area is white.
    static bool whiteOutside(const Image& image, const Rect& area) {
        const int width = image.width();
        auto white = [](const Rgb* from, const Rgb* to) {
            return std::all_of(from, to, [](Rgb p) { return p == 0xFFFFFFFF; });
        };
        for (int y = 0; y < image.height(); ++y) {
            const Rgb* row = image.row(y);
            if (area.isEmpty() || y < area.top() || y > area.bottom()) {
                if (!white(row, row + width))
                    return false;
            } else if (!white(row, row + area.left()) ||
                       !white(row + area.right() + 1, row + width)) {
                return false;
            }
        }
        return true;
    }

    // Nothing is drawn outside a box, and nothing of the board outside the square's lines.
    void checkBoxes() {
        const PictureBox& board = form_.box(kokuban);
        if (board.revision() != boardRevision_) {
            boardRevision_ = board.revision();
            expect(board.image().width() == 501 && board.image().height() == 451 &&
                       whiteOutside(board.image(), Rect{98, 48, 325, 325}),
                   "the board draws only inside the square");
        }
        const PictureBox& table = form_.box(hyo);
        if (table.revision() != tableRevision_) {
            tableRevision_ = table.revision();
            expect(table.image().width() == 645 && table.image().height() == 101 &&
                       whiteOutside(table.image(), table.visibleArea()),
                   "the table keeps nothing out of view");
        }
        expect(form_.box(gamen).image().width() == 317 && form_.box(gamen).image().height() == 525,
               "the graph keeps its size");
    }

    void follow(const Changes& changes) {
        ++batches_;
        expect(!changes.empty(), "a batch of changes holds a change");
        for (std::size_t i = 0; i < controlCount; ++i) {
            if (!changes.controls.test(i))
                continue;
            mirror_[i] = form_.controls()[i];
            // The lesson wrote the time box itself: it shows the counter's time again.
            if (static_cast<ControlId>(i) == Text1 && !typing_)
                textTyped_ = false;
        }
        for (std::size_t b = 0; b < std::size(boxes); ++b)
            if (changes.picture(boxes[b]))
                revisions_[b] = form_.box(boxes[b]).revision();
        if (changes.window)
            geometry_ = form_.geometry();
    }

    std::size_t waitsLettingEventsRun() const {
        const auto& waits = host_.waits();
        return static_cast<std::size_t>(
            std::count_if(waits.begin(), waits.end(), [](std::int32_t w) { return w > 0; }));
    }

    static constexpr ControlId boxes[] = {kokuban, gamen, hyo};

    Totals& totals_;
    SessionHost host_;
    Form1 form_{host_};
    std::string failure_;
    bool typing_ = false;
    bool textTyped_ = false;
    int batches_ = 0;
    std::vector<Control> mirror_;
    WindowGeometry geometry_;
    std::array<std::uint64_t, 3> revisions_{};
    Subscription subscription_;
    std::uint64_t boardRevision_ = ~0ull;
    std::uint64_t tableRevision_ = ~0ull;
};

} // namespace

std::string playSession(std::span<const std::uint8_t> bytes, Totals& totals) {
    Session session(totals);
    std::string failure = session.play(bytes);
    ++totals.sessions;
    return failure;
}

std::string randomSessionBytes(std::uint64_t seed, std::size_t actions) {
    std::mt19937_64 random(seed);
    std::string bytes;
    for (std::size_t a = 0; a < actions; ++a) {
        const auto kind = static_cast<std::uint8_t>(random());
        bytes += static_cast<char>(kind);
        bytes += static_cast<char>(random());
        if (kind % 8 == 7) {
            bytes += static_cast<char>(random());
            bytes += static_cast<char>(random());
        }
    }
    return bytes;
}

} // namespace kansu::robustness
