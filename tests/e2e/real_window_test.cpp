#include "x_display.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

#ifndef KANSU_BINARY
#error "KANSU_BINARY names the program under test"
#endif

namespace kansu::e2e {
namespace {

// Where the user clicks, in window pixels: the middle of each control (the box of a check box).
constexpr QPoint susumu(624, 264), jidou(584, 80), tomeru(608, 136), command1(288, 24),
    endButton(624, 528), check2(560, 461), check3(560, 429), check6(424, 24), combo1(612, 186),
    text1(336, 528);
// Client-area origins of the picture boxes inside the window.
constexpr QPoint board(10, 50), graph(698, 18), table(10, 562);

// How long the program may take to end once asked; a sanitized build starts and stops slower.
constexpr int exitBudgetMs = KANSU_EXIT_BUDGET_MS;

QString run(const QString& program, const QStringList& arguments, int timeoutMs = 10000) {
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(timeoutMs);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

class RealWindow : public ::testing::Test {
protected:
    void SetUp() override {
        kansu_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        kansu_.start(QStringLiteral(KANSU_BINARY), {});
        ASSERT_TRUE(kansu_.waitForStarted(5000));
        const QString found = run(QStringLiteral("xdotool"),
                                  {QStringLiteral("search"), QStringLiteral("--sync"),
                                   QStringLiteral("--name"), QStringLiteral("^４.関数$")},
                                  15000);
        window_ = found.section(u'\n', 0, 0).toULong();
        ASSERT_NE(window_, 0u) << "the window \"４.関数\" did not appear";
        id_ = QString::number(window_);
        // Painted once the window's pale green shows.
        ASSERT_TRUE(waitUntil([this] { return shot().pixel(5, 300) == qRgb(0xC0, 0xFF, 0xC0); }));
    }

    void TearDown() override {
        if (kansu_.state() != QProcess::NotRunning) {
            kansu_.kill();
            kansu_.waitForFinished(3000);
        }
    }

    QImage shot() const {
        return QGuiApplication::primaryScreen()->grabWindow(window_).toImage().convertToFormat(
            QImage::Format_RGB32);
    }

    bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000) const {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            if (condition())
                return true;
            QThread::msleep(40);
        }
        return condition();
    }

    void click(QPoint at, int times = 1) const {
        run(QStringLiteral("xdotool"),
            {QStringLiteral("mousemove"), QStringLiteral("--window"), id_, QString::number(at.x()),
             QString::number(at.y()), QStringLiteral("click"), QStringLiteral("--repeat"),
             QString::number(times), QStringLiteral("--delay"), QStringLiteral("40"),
             QStringLiteral("1")});
        QThread::msleep(60);
    }

    void typeInto(QPoint at, const QString& text) const {
        click(at);
        run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+a")});
        run(QStringLiteral("xdotool"),
            {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
        QThread::msleep(60);
    }

    // What the time box shows, read as a person would copy it: select it all, take the selection.
    QString timeText() const {
        click(text1);
        run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+a")});
        QThread::msleep(60);
        return QGuiApplication::clipboard()->text(QClipboard::Selection);
    }

    static QImage region(const QImage& image, QPoint origin, QSize size) {
        return image.copy(QRect(origin, size));
    }

    static int count(const QImage& image, QRect area, QRgb colour) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += image.pixel(x, y) == colour;
        return n;
    }

    bool exitsCleanlyWithin(int ms) {
        if (!kansu_.waitForFinished(ms))
            return false;
        return kansu_.exitStatus() == QProcess::NormalExit && kansu_.exitCode() == 0;
    }

    QProcess kansu_;
    unsigned long window_ = 0;
    QString id_;
};

TEST_F(RealWindow, OpensAtItsDesignSizeAndGrowsForTheGraphAndTable) {
    EXPECT_EQ(shot().size(), QSize(671, 558));
    click(check2);
    EXPECT_TRUE(waitUntil([this] { return shot().width() == 1031; }));
    click(check3);
    EXPECT_TRUE(waitUntil([this] { return shot().size() == QSize(1031, 682); }));
}

TEST_F(RealWindow, FortyStepsWithTheAreaShownReachFourSeconds) {
    const QImage startBoard = region(shot(), board, QSize(501, 451));
    click(check6);
    click(check2);
    click(check3);
    ASSERT_TRUE(waitUntil([this] { return shot().size() == QSize(1031, 682); }));
    click(susumu, 40);
    const QRgb yellow = qRgb(0xFF, 0xFF, 0x00), blue = qRgb(0, 0, 0xFF);
    ASSERT_TRUE(waitUntil([&] { return shot().pixel(board + QPoint(120, 300)) == yellow; }));
    const QImage s = shot();
    // The shading stays inside triangle BQA.
    EXPECT_EQ(s.pixel(board + QPoint(300, 300)), qRgb(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(s.pixel(board + QPoint(105, 365)), yellow);
    // The graph's trace has reached the point of 4 s, light blue; the table its column for 4.
    EXPECT_GT(count(s, QRect(graph + QPoint(143, 274), QSize(4, 4)), blue), 0);
    EXPECT_EQ(count(s, QRect(graph + QPoint(150, 0), QSize(100, 260)), blue), 0);
    EXPECT_GT(count(s, QRect(table + QPoint(300, 15), QSize(60, 85)), blue), 0);
    EXPECT_EQ(timeText(), QStringLiteral(" 4.0"));

    // 初期画面 brings back the initial picture of the board.
    click(command1);
    EXPECT_TRUE(waitUntil([&] { return region(shot(), board, QSize(501, 451)) == startBoard; }));
}

TEST_F(RealWindow, AutomaticPlayWithoutWaitsReachesTheEnd) {
    click(check2);
    typeInto(combo1, QStringLiteral(" 0"));
    click(jidou);
    const QRgb red = qRgb(0xFF, 0, 0);
    EXPECT_TRUE(waitUntil(
        [&] { return count(shot(), QRect(graph + QPoint(254, 48), QSize(5, 6)), red) > 0; }));
    EXPECT_EQ(timeText(), QStringLiteral(" 8.0"));
}

TEST_F(RealWindow, StopHaltsARunAtEighty) {
    typeInto(combo1, QStringLiteral("80"));
    click(jidou);
    QThread::msleep(1300);
    click(tomeru);
    QThread::msleep(700); // the current wait runs out
    const QImage stopped = shot();
    QThread::msleep(900);
    EXPECT_EQ(shot(), stopped) << "the motion went on after ストップ";
    const QString time = timeText();
    EXPECT_NE(time, QStringLiteral(" 0.0"));
    EXPECT_NE(time, QStringLiteral(" 8.0"));
    // The buttons are idle again: 進む works.
    click(susumu);
    EXPECT_TRUE(waitUntil([&] { return timeText() != time; }));
}

// However the window goes during a run, the program ends at once, with status 0.
TEST_F(RealWindow, EndingDuringARunExitsAtOnce) {
    const struct {
        const char* how;
        std::function<bool()> end;
    } ways[] = {
        {"終了",
         [this] {
             return click(endButton), true;
         }},
        {"the close button",
         [this] {
             return requestClose(window_);
         }},
        {"another client destroying the window",
         [this] {
             return destroyWindow(window_);
         }},
    };
    bool first = true;
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        if (!std::exchange(first, false)) {
            TearDown();
            SetUp();
        }
        typeInto(combo1, QStringLiteral("80"));
        click(jidou);
        QThread::msleep(500);
        ASSERT_TRUE(way.end());
        EXPECT_TRUE(exitsCleanlyWithin(exitBudgetMs));
    }
}

} // namespace
} // namespace kansu::e2e
