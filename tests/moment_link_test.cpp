#include "app/moment_link.h"
#include "lesson_fixture.h"
#include "motion/problem.h"

#include <gtest/gtest.h>

namespace kansu::testing {
namespace {

using MomentLink = Lesson;

// A link written for any moment opens that same moment on a fresh lesson: every combination of
// the check boxes, at the start, in each part of P's path and at the end.
TEST_F(MomentLink, EveryMomentOpensAsItWasWritten) {
    for (const int tenths : {0, 1, 45, 40, 80})
        for (unsigned boxes = 0; boxes < 64; ++boxes) {
            Moment m;
            m.tenths = tenths;
            for (std::size_t i = 0; i < m.ticked.size(); ++i)
                m.ticked[i] = (boxes >> i) & 1;
            m.speed = boxes % 3 ? "20" : "5 0";
            const std::string link = linkOf(m).value_or("");
            SCOPED_TRACE(link);
            const auto read = readLink(link);
            ASSERT_TRUE(read);
            EXPECT_EQ(*read, m);
            VirtualHost freshHost;
            Form1 fresh{freshHost};
            fresh.Form_Load();
            bringTo(fresh, m);
            EXPECT_EQ(momentOf(fresh), m);
        }
}

TEST_F(MomentLink, TheMomentShownNow) {
    tick(ControlId::Check1);
    tick(ControlId::Check6);
    stepTo(45 * motion::counterPerStep); // 4.5 s
    form.typeText(role::speedBox, "速く");
    EXPECT_EQ(linkOf(momentOf(form)), "x=4.5&c=100001&s=%E9%80%9F%E3%81%8F");
}

// A link is written only if it opens what it names: a speed text no link carries gives none.
TEST(MomentLinks, NameOnlyWhatTheyCanOpen) {
    const struct {
        std::string speed;
        bool named;
    } rows[] = {
        {std::string(64, '2'), true},
        {std::string(65, '2'), false},
        {"速い速い速い速い速い速い速い速い速い速い速", true},    // 63 bytes
        {"速い速い速い速い速い速い速い速い速い速い速い", false}, // 66 bytes
        {"2\t0", false},
        {"20\x7F", false},
        {"", true},
    };
    for (const auto& r : rows) {
        Moment m;
        m.speed = r.speed;
        const std::optional<std::string> link = linkOf(m);
        EXPECT_EQ(link.has_value(), r.named) << r.speed;
        if (link) {
            EXPECT_EQ(readLink(*link), m) << r.speed;
        }
    }
}

TEST(MomentLinks, AreReadStrictly) {
    const struct {
        const char* fragment;
        bool read;
    } rows[] = {
        {"x=4.5&c=010001&s=20", true},
        {"#x=4.5&c=010001&s=20", true},
        {"s=20&x=8.0&c=111111", true},
        {"x=0.0&c=000000&s=", true},
        {"x=10.0&c=000000&s=20", false}, // after the end
        {"x=8.1&c=000000&s=20", false},
        {"x=-1.0&c=000000&s=20", false},
        {"x=4.55&c=000000&s=20", false},
        {"x=4&c=000000&s=20", false},
        {"x=4.5e0&c=000000&s=20", false},
        {"x=0x4.5&c=000000&s=20", false},
        {"x=４.5&c=000000&s=20", false},
        {"x=4.5&c=01000&s=20", false},
        {"x=4.5&c=0100012&s=20", false},
        {"x=4.5&c=01a001&s=20", false},
        {"x=4.5&c=010001", false},
        {"x=4.5&s=20", false},
        {"x=4.5&c=010001&s=20&x=1.0", false},
        {"x=4.5&c=010001&s=20&q=1", false},
        {"x=4.5&c=010001&s=20&", false},
        {"&x=4.5&c=010001&s=20", false},
        {"x=4.5&&c=010001&s=20", false},
        {"x:4.5&c=010001&s=20", false},
        {"x=4.5&c=010001&s=%", false},
        {"x=4.5&c=010001&s=%4", false},
        {"x=4.5&c=010001&s=%G0", false},
        {"x=4.5&c=010001&s=%+1", false},
        {"x=4.5&c=010001&s=%-1", false},
        {"x=4.5&c=010001&s=%00", false}, // a control character
        {"x=4.5&c=010001&s=%0A", false},
        {"x=4.5&c=010001&s=%FF%FE", false}, // not UTF-8
        {"x=4.5&c=010001&s=%E9%80", false}, // cut inside a character
        {"", false},
        {"#", false},
        {"garbage", false},
    };
    for (const auto& r : rows)
        EXPECT_EQ(readLink(r.fragment).has_value(), r.read) << r.fragment;
    // Too long to be one this program wrote, whatever it holds.
    EXPECT_FALSE(readLink("x=4.5&c=010001&s=" + std::string(300, '2')));
    EXPECT_FALSE(readLink("x=4.5&c=010001&s=" + std::string(70, '2')));
    EXPECT_TRUE(readLink("x=4.5&c=010001&s=" + std::string(64, '2')));
}

} // namespace
} // namespace kansu::testing
