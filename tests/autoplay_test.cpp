#include "lesson_fixture.h"

#include <limits>

namespace kansu::testing {
namespace {

using enum ControlId;

class AutoPlay : public Lesson {
protected:
    void expectIdle() {
        EXPECT_TRUE(c(susumu).enabled);
        EXPECT_TRUE(c(modoru).enabled);
        EXPECT_TRUE(c(Command1).enabled);
        EXPECT_TRUE(c(jidou).enabled);
        EXPECT_FALSE(c(tomeru).enabled);
        EXPECT_EQ(form.vars().stopRequested, 0);
    }
    void expectRunning() {
        EXPECT_FALSE(c(susumu).enabled);
        EXPECT_FALSE(c(modoru).enabled);
        EXPECT_FALSE(c(Command1).enabled);
        EXPECT_FALSE(c(jidou).enabled);
        EXPECT_TRUE(c(tomeru).enabled);
        EXPECT_EQ(form.vars().stopRequested, 0);
    }
};

TEST_F(AutoPlay, RunsFromTheStartToTheEnd) {
    click(jidou);
    EXPECT_EQ(form.vars().michinori, 320);
    EXPECT_EQ(text1(), " 8.0");
    EXPECT_EQ(host.waits(), std::vector<std::int32_t>(80, 100));
    EXPECT_EQ(host.elapsed(), 8000u);
    expectIdle();
}

TEST_F(AutoPlay, StartsAgainFromZeroAtTheEnd) {
    stepTo(320);
    tick(Check3);
    click(jidou);
    EXPECT_EQ(host.waits().size(), 80u);
    EXPECT_EQ(form.vars().michinori, 320);
}

TEST_F(AutoPlay, ContinuesFromWhereTheMotionStands) {
    stepTo(12);
    click(jidou);
    EXPECT_EQ(host.waits().size(), 77u);
    EXPECT_EQ(text1(), " 8.0");
}

TEST_F(AutoPlay, ButtonsShowTheRunningStateDuringTheRun) {
    bool checked = false;
    host.deliverInWait(5, [&] {
        expectRunning();
        checked = true;
    });
    click(jidou);
    EXPECT_TRUE(checked);
    expectIdle();
}

// ストップ ends the run after the wait it falls in has run out, as the design's run does.
TEST_F(AutoPlay, StopEndsTheRunAfterItsWaitRunsOut) {
    form.typeText(Combo1, std::string("80"));
    host.deliverInWait(3, [&] {
        click(tomeru);
        EXPECT_EQ(form.vars().stopRequested, 1);
        EXPECT_TRUE(c(jidou).enabled);
        EXPECT_TRUE(c(tomeru).enabled);
        EXPECT_FALSE(c(susumu).enabled);
    });
    click(jidou);
    EXPECT_EQ(form.vars().michinori, 12);
    EXPECT_EQ(text1(), " 0.3");
    EXPECT_EQ(host.waits(), std::vector<std::int32_t>(3, 400));
    EXPECT_EQ(host.elapsed(), 1200u); // three whole waits
    expectIdle();
    // A later press continues from there.
    click(jidou);
    EXPECT_EQ(form.vars().michinori, 320);
    EXPECT_EQ(host.waits().size(), 80u);
}

TEST_F(AutoPlay, PressedAgainWhileStoppingResumesTheSameRun) {
    int runningChecks = 0;
    host.deliverInWait(3, [&] { click(tomeru); });
    host.deliverInWait(3, [&] {
        click(jidou);
        expectRunning();
    });
    host.deliverInWait(10, [&] {
        expectRunning();
        ++runningChecks;
        // Nothing but ストップ and 終了 may act mid-run.
        const double before = form.vars().michinori;
        click(susumu);
        click(modoru);
        click(Command1);
        click(jidou);
        EXPECT_EQ(form.vars().michinori, before);
    });
    click(jidou);
    EXPECT_EQ(runningChecks, 1);
    EXPECT_EQ(form.vars().michinori, 320);
    EXPECT_EQ(host.waits().size(), 80u); // one run, one wait per step
    expectIdle();
}

TEST_F(AutoPlay, ZeroSpeedRunsStraightThroughWithoutEvents) {
    form.typeText(Combo1, std::string(" 0"));
    bool delivered = false;
    host.deliverInWait(3, [&] {
        click(tomeru);
        delivered = true;
    });
    click(jidou);
    EXPECT_FALSE(delivered);
    EXPECT_EQ(form.vars().michinori, 320);
    EXPECT_EQ(host.waits(), std::vector<std::int32_t>(80, 0));
    EXPECT_EQ(host.elapsed(), 0u);
    // The click is handled after the run, when ストップ is disabled again.
    host.deliverOverdue();
    EXPECT_TRUE(delivered);
    expectIdle();
}

TEST_F(AutoPlay, SpeedChangeTakesEffectFromTheNextWait) {
    host.deliverInWait(2, [&] { form.typeText(Combo1, std::string("80")); });
    click(jidou);
    ASSERT_EQ(host.waits().size(), 80u);
    EXPECT_EQ(host.waits()[0], 100);
    EXPECT_EQ(host.waits()[1], 100);
    EXPECT_EQ(host.waits()[2], 400);
    EXPECT_EQ(host.waits()[79], 400);
}

TEST_F(AutoPlay, WaitPerStepFromTheSpeedText) {
    constexpr auto longest = std::numeric_limits<std::int32_t>::max();
    const struct {
        const char* text;
        std::int32_t wait;
    } cases[] = {
        {" 0", 0},
        {"10", 50},
        {"20", 100},
        {"50", 250},
        {"80", 400},
        {"3.5", 18},
        {"0.5", 2},
        {"2.5", 12},
        {"abc", 0},
        {"", 0},
        {"-5", -25},
        {"  7x", 35},
        {"429496729", 2147483645},
        {"1e400", longest},
        {"&H7FFFFFFF", longest},
        {"2147483648", longest},
        {"-1e400", std::numeric_limits<std::int32_t>::min()},
        {"１２", 0},
    };
    for (const auto& e : cases)
        EXPECT_EQ(motion::Player::waitFor(e.text), e.wait) << e.text;
}

TEST_F(AutoPlay, NegativeSpeedMeansNoWait) {
    form.typeText(Combo1, std::string("-5"));
    click(jidou);
    EXPECT_EQ(host.elapsed(), 0u);
    EXPECT_EQ(form.vars().michinori, 320);
}

TEST_F(AutoPlay, AWaitLongerThanAnyListedSpeedEndsAtOnceOnStop) {
    // A wait up to the longest of the list (400 ms at "80") runs out; a longer one, up to the
    // longest there is (about 24.8 days), ends at once: no one waits days for the buttons.
    const struct {
        const char* speed;
        std::uint64_t waited;
    } cases[] = {{"80", 400},       {"80.2", 0},       {"100000000", 0}, {"1e400", 0},
                 {"&H7FFFFFFF", 0}, {"2147483648", 0}, {"10", 50},       {"79.9", 400}};
    for (const auto& e : cases) {
        click(Command1);
        const std::uint64_t before = host.elapsed();
        form.typeText(Combo1, e.speed);
        host.deliverInWait(1, [&] { click(tomeru); });
        click(jidou);
        EXPECT_EQ(form.vars().michinori, 4) << e.speed;
        EXPECT_EQ(host.elapsed() - before, e.waited) << e.speed;
        expectIdle();
    }
}

TEST_F(AutoPlay, PressedInTheLastWaitOfARunStoppedAtTheEndStartsAfresh) {
    host.deliverInWait(80, [&] { click(tomeru); });
    host.deliverInWait(80, [&] {
        click(jidou);
        EXPECT_EQ(text1(), " 0.0");
        expectRunning();
    });
    host.deliverInWait(100, [&] {
        // Still one run, and ストップ still stops it.
        expectRunning();
        click(tomeru);
    });
    click(jidou);
    EXPECT_EQ(form.vars().michinori, 80);
    EXPECT_EQ(host.waits().size(), 100u);
    expectIdle();
}

TEST_F(AutoPlay, EndDuringAWaitStopsEverythingAtOnce) {
    host.deliverInWait(2, [&] { click(end); });
    click(jidou);
    EXPECT_TRUE(form.ended());
    EXPECT_TRUE(host.ended());
    EXPECT_EQ(form.vars().michinori, 8); // no further step
    EXPECT_EQ(host.waits().size(), 2u);
    // Nothing was touched after the end: the buttons still show the running state.
    EXPECT_FALSE(c(susumu).enabled);
    // And nothing runs any more.
    click(susumu);
    click(Check1);
    EXPECT_EQ(form.vars().michinori, 8);
    EXPECT_EQ(c(Check1).value, 0);
}

TEST_F(AutoPlay, ClosingTheWindowDuringAWaitEndsLikeTheEndButton) {
    host.deliverInWait(4, [&] { form.closeByFrame(); });
    click(jidou);
    EXPECT_TRUE(form.ended());
    EXPECT_EQ(form.vars().michinori, 16);
    EXPECT_EQ(host.waits().size(), 4u);
}

TEST_F(AutoPlay, TickingThePathMidRunRefreshesAndContinues) {
    tick(Check2);
    host.deliverInWait(10, [&] {
        tick(Check4);
        EXPECT_EQ(form.vars().michinori, 40);
        EXPECT_EQ(c(Line5_0).x2, 140);
    });
    host.deliverInWait(20, [&] { tick(Check1); });
    click(jidou);
    EXPECT_EQ(form.vars().michinori, 320);
    EXPECT_EQ(host.waits().size(), 80u);
    EXPECT_EQ(c(Line5_3).x2, 420);
    EXPECT_NEAR(form.vars().graphPrevX, 259, 1e-9);
}

// A clock that moves a few milliseconds each time events run, starting just before its wrap.
class CreepingHost : public Host {
public:
    std::uint32_t ticks = 0xFFFFFFF0u;
    int pumps = 0;
    std::uint32_t tickCount() override { return ticks; }
    void runPendingEvents(std::int32_t) override {
        ++pumps;
        ticks += 7;
    }
    void endProgram() override {}
};

TEST(Wait, EndsAfterItsTimeAcrossTheWrapOfTheCounter) {
    CreepingHost host;
    motion::Player player(host);
    const std::uint32_t start = host.ticks;
    player.wait(100);
    const std::uint32_t waited = host.ticks - start;
    EXPECT_GE(waited, 100u);
    EXPECT_LT(waited, 107u);
    EXPECT_EQ(host.pumps, 15);
}

TEST(Wait, NoWaitLetsNoEventRun) {
    CreepingHost host;
    motion::Player player(host);
    player.wait(0);
    player.wait(-40);
    player.wait(std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(host.pumps, 0);
}

TEST(Wait, TheLongestWaitDoesNotOverflow) {
    VirtualHost host(0x80000000u);
    motion::Player player(host);
    player.wait(std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(host.elapsed(), static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()));
}

} // namespace
} // namespace kansu::testing
