#include "x_display.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <set>

#ifndef KANSU_BINARY
#error "KANSU_BINARY names the program under test"
#endif

namespace kansu::e2e {
namespace {

// Where the user clicks, in window pixels: the middle of each control (the box of a check box).
constexpr QPoint susumu(624, 264), jidou(584, 80), tomeru(608, 136), command1(288, 24),
    endButton(624, 528), check2(560, 461), check3(560, 429), check6(424, 24), combo1(612, 186),
    text1(336, 528);
// The buttons whose state a test waits for.
constexpr QRect tomeruButton(576, 120, 65, 33), susumuButton(592, 240, 65, 49);
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

// The figure as kansu-script's png writes it after the area is shown and `steps` clicks of 進む.
QImage scriptFigure(int steps) {
    QTemporaryDir dir;
    const QString figure = dir.filePath(QStringLiteral("figure.png"));
    QProcess script;
    script.start(QStringLiteral(KANSU_SCRIPT_BINARY), {});
    QByteArray lines = "click Check6\n";
    for (int i = 0; i < steps; ++i)
        lines += "click susumu\n";
    lines += "png kokuban " + figure.toUtf8() + "\n";
    script.write(lines);
    script.closeWriteChannel();
    if (!script.waitForFinished(30000) || script.exitCode() != 0)
        return {};
    return QImage(figure).convertToFormat(QImage::Format_RGB32);
}

class RealWindow : public ::testing::Test {
protected:
    void SetUp() override {
        kansu_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // Settings of the test's own, kept across the restarts of one test.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), settings_.path());
        kansu_.setProcessEnvironment(environment);
        kansu_.start(QStringLiteral(KANSU_BINARY), {});
        ASSERT_TRUE(kansu_.waitForStarted(5000));
        // This process's window: searched for again while windows come and go (xdotool gives
        // up on a search that meets a window being destroyed), never one of an earlier run.
        const QStringList search = {QStringLiteral("search"), QStringLiteral("--pid"),
                                    QString::number(kansu_.processId()), QStringLiteral("--name"),
                                    QStringLiteral("^４.関数$")};
        waitUntil(
            [&] {
                window_ =
                    run(QStringLiteral("xdotool"), search, 5000).section(u'\n', 0, 0).toULong();
                return window_ != 0;
            },
            15000);
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

    // A deadline, not a wait: a state reached returns at once, and a sanitized build on a loaded
    // machine can take seconds to start and paint a window.
    bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 20000) const {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            // The test's own clipboard learns of another owner through its events.
            QCoreApplication::processEvents();
            if (condition())
                return true;
            QThread::msleep(40);
        }
        QCoreApplication::processEvents();
        return condition();
    }

    void click(QPoint at, int times = 1) const {
        run(QStringLiteral("xdotool"),
            {QStringLiteral("mousemove"), QStringLiteral("--window"), id_, QString::number(at.x()),
             QString::number(at.y()), QStringLiteral("click"), QStringLiteral("--repeat"),
             QString::number(times), QStringLiteral("--delay"), QStringLiteral("40"),
             QStringLiteral("1")});
    }

    void typeInto(QPoint at, const QString& text) const {
        click(at);
        run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+a")});
        run(QStringLiteral("xdotool"),
            {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
    }

    // What the time box shows, read as a person would copy it: select it all, take the selection.
    // A busy (or sanitized) program may take a while to claim the selection, so wait for it.
    QString timeText() const { return boxText(text1); }

    // What a text box shows: select it all and take the selection once the program has claimed
    // it anew, so that nothing older is read.
    QString boxText(QPoint at) const {
        QClipboard* clipboard = QGuiApplication::clipboard();
        bool claimed = false;
        const QMetaObject::Connection watch =
            QObject::connect(clipboard, &QClipboard::selectionChanged, [&] { claimed = true; });
        click(at);
        run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+a")});
        waitUntil([&] { return claimed; });
        QObject::disconnect(watch);
        return clipboard->text(QClipboard::Selection);
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

    // Keys as a keyboard or a presenter's clicker sends them, to the focused window.
    void keys(const QStringList& names) const {
        run(QStringLiteral("xdotool"),
            {QStringLiteral("windowfocus"), QStringLiteral("--sync"), id_});
        for (const QString& name : names)
            run(QStringLiteral("xdotool"), {QStringLiteral("key"), name});
    }

    // Whether a button shows itself enabled: its caption in black, not engraved in grey.
    static bool enabledIn(const QImage& image, QRect button) {
        return count(image, button.adjusted(6, 6, -6, -6), qRgb(0, 0, 0)) > 10;
    }

    // A window manager runs once it names its window on the root.
    static bool windowManagerReady() {
        return run(QStringLiteral("xprop"),
                   {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
            .contains(QStringLiteral("window id"));
    }

    QSize windowSize() const {
        const QString geometry =
            run(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), id_});
        const QStringList size =
            geometry.section(QStringLiteral("Geometry: "), 1).trimmed().split(u'x');
        return size.size() == 2 ? QSize(size[0].toInt(), size[1].toInt()) : QSize();
    }

    void restart() {
        TearDown();
        SetUp();
    }

    QTemporaryDir settings_;
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
    // A loaded machine may still be working through the clicks: wait for the trace to reach 4 s.
    const QRect traceAtFour(graph + QPoint(143, 274), QSize(4, 4));
    ASSERT_TRUE(waitUntil([&] {
        const QImage s = shot();
        return s.pixel(board + QPoint(120, 300)) == yellow && count(s, traceAtFour, blue) > 0;
    }));
    const QImage s = shot();
    // The shading stays inside triangle BQA.
    EXPECT_EQ(s.pixel(board + QPoint(300, 300)), qRgb(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(s.pixel(board + QPoint(105, 365)), yellow);
    // The graph's trace has reached the point of 4 s, light blue; the table its column for 4.
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
    const QImage start = shot();
    typeInto(combo1, QStringLiteral("80"));
    click(jidou);
    // Running, and past its first steps.
    ASSERT_TRUE(waitUntil([&] {
        const QImage s = shot();
        return enabledIn(s, tomeruButton) &&
               region(s, board, QSize(501, 451)) != region(start, board, QSize(501, 451));
    }));
    click(tomeru);
    // The run is over once the buttons are idle again: nothing is left to step the lesson.
    ASSERT_TRUE(waitUntil([&] { return enabledIn(shot(), susumuButton); }));
    const QString time = timeText();
    EXPECT_NE(time, QStringLiteral(" 0.0"));
    EXPECT_NE(time, QStringLiteral(" 8.0"));
    // 進む works, and takes the lesson exactly one step on: no step of the run came after.
    click(susumu);
    const QString next = QString::number(time.trimmed().toDouble() + 0.1, 'f', 1);
    EXPECT_TRUE(waitUntil([&] { return timeText().trimmed() == next; }))
        << "after " << time.toStdString() << " the time box shows " << timeText().toStdString();
}

// A presenter's clicker steps the lesson exactly as the button does: the same window, pixel for
// pixel, with the focus on 進む in both.
TEST_F(RealWindow, PageDownStepsAsTheButtonDoes) {
    click(check2);
    click(check6);
    click(susumu, 40);
    const QImage clicked = shot();
    restart();
    click(check2);
    click(check6);
    // To 進む by the keyboard, along the design's focus order from " y cm".
    keys(QStringList(8, QStringLiteral("Tab")));
    keys(QStringList(40, QStringLiteral("Next")));
    EXPECT_TRUE(waitUntil([&] { return shot() == clicked; }));
}

// The zoom of one run is the zoom of the next; F11 fills the screen (a window manager runs for
// it), the lesson centred and scaled as one, its figure drawn again at the screen's resolution.
// What is typed into the speed box and the time box stays as typed: nothing is completed.
TEST_F(RealWindow, TheBoxesKeepWhatIsTyped) {
    for (const char* text : {"5", "1", "8", " ", "3.5", "abc"}) {
        SCOPED_TRACE(text);
        typeInto(combo1, QString::fromLatin1(text));
        EXPECT_EQ(boxText(combo1), QString::fromLatin1(text));
        typeInto(text1, QString::fromLatin1(text));
        EXPECT_EQ(boxText(text1), QString::fromLatin1(text));
    }
}

// The keyboard starts on the graph's picture box, as the design's order does: a teacher's first
// Space does nothing.
TEST_F(RealWindow, AFirstSpaceDoesNothing) {
    const QImage before = shot();
    keys({QStringLiteral("space")});
    keys({QStringLiteral("Next")}); // and the keys still reach the window
    EXPECT_TRUE(waitUntil([&] { return timeText() == QStringLiteral(" 0.1"); }));
    EXPECT_EQ(kansu_.state(), QProcess::Running);
    EXPECT_NE(before, QImage());
}

// Zoom in and out with the keys every keyboard has for it, never beyond the screen (1280 by
// 1024 here), kept between runs; a kept zoom too large for this screen is shown as the largest
// that fits, and stays kept for a larger one.
TEST_F(RealWindow, ZoomIsKeptAndFitsTheScreenAndFullScreenFillsIt) {
    const struct {
        const char* key;
        QSize size;
    } zooms[] = {
        {"ctrl+equal", {839, 698}},      // 125 %
        {"ctrl+plus", {1007, 837}},      // Ctrl++: Ctrl+Shift+= on this keyboard
        {"ctrl+semicolon", {1174, 977}}, // Ctrl+; is where + is on a Japanese keyboard
        {"KP_Add", {1174, 977}},         // 200 % would not fit
        {"KP_Subtract", {1007, 837}},    {"ctrl+minus", {839, 698}}, {"ctrl+KP_Add", {1007, 837}},
    };
    for (const auto& r : zooms) {
        SCOPED_TRACE(r.key);
        keys({QString::fromLatin1(r.key)});
        EXPECT_TRUE(waitUntil([&] { return windowSize() == r.size; }));
    }
    restart();
    EXPECT_TRUE(waitUntil([&] { return windowSize() == QSize(1007, 837); }));
    // グラフ would not fit at 150 %: shown at 100 %, and at 150 % again without it.
    click(QPoint(int(560 * 1.5), int(461 * 1.5)));
    EXPECT_TRUE(waitUntil([&] { return windowSize() == QSize(1031, 558); }));
    click(check2);
    EXPECT_TRUE(waitUntil([&] { return windowSize() == QSize(1007, 837); }));
    keys({QStringLiteral("ctrl+0")});
    EXPECT_TRUE(waitUntil([&] { return windowSize() == QSize(671, 558); }));
    // 300 % kept from a larger screen.
    TearDown();
    QFile conf(settings_.filePath(QStringLiteral("kansu/kansu.conf")));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly | QIODevice::Truncate));
    conf.write("[General]\nzoom=3\n");
    conf.close();
    SetUp();
    EXPECT_TRUE(waitUntil([&] { return windowSize() == QSize(1174, 977); }));
    ASSERT_TRUE(conf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(conf.readAll().contains("zoom=3"));
    conf.close();
    keys({QStringLiteral("ctrl+0")});
    EXPECT_TRUE(waitUntil([&] { return windowSize() == QSize(671, 558); }));

    QProcess manager;
    manager.start(QStringLiteral("openbox"), {});
    ASSERT_TRUE(manager.waitForStarted(5000));
    ASSERT_TRUE(waitUntil(windowManagerReady));
    restart();
    // Under a window manager the frame counts too: zoomed all the way, the window with its frame
    // still fits the screen.
    keys(QStringList(6, QStringLiteral("ctrl+equal")));
    QSize zoomed;
    waitUntil([&] { return (zoomed = windowSize()).height() > 837; });
    EXPECT_GE(zoomed.height(), 837);
    const QStringList extents = run(QStringLiteral("xprop"), {QStringLiteral("-id"), id_,
                                                              QStringLiteral("_NET_FRAME_EXTENTS")})
                                    .section(u'=', 1)
                                    .split(u',');
    ASSERT_EQ(extents.size(), 4);
    EXPECT_LE(zoomed.height() + extents[2].trimmed().toInt() + extents[3].trimmed().toInt(), 1024);
    EXPECT_LE(zoomed.width() + extents[0].trimmed().toInt() + extents[1].trimmed().toInt(), 1280);
    keys({QStringLiteral("ctrl+0")});
    EXPECT_TRUE(waitUntil([&] { return windowSize() == QSize(671, 558); }));
    click(check6);
    click(susumu, 45);
    keys({QStringLiteral("F11")});
    const QSize screen = QGuiApplication::primaryScreen()->size();
    EXPECT_TRUE(waitUntil([&] { return windowSize() == screen; }));
    // The lesson at the scale that fits the screen, centred.
    const double scale = std::min(screen.width() / 671.0, screen.height() / 558.0);
    // Side BC is 3 pixels a design pixel wide; drawn at the screen's resolution it is
    // round(3 * scale) device rows thick everywhere, where an enlarged picture would alternate.
    const int expected = static_cast<int>(std::lround(3 * scale));
    const double left = (screen.width() - 671 * scale) / 2,
                 top = (screen.height() - 558 * scale) / 2;
    const int sideTop = static_cast<int>(top + (50 + 360) * scale),
              sideBottom = static_cast<int>(std::ceil(top + (50 + 380) * scale));
    QImage screenShot;
    std::set<int> thickness;
    // A loaded machine may take a while to draw the full-screen frame.
    waitUntil([&] {
        screenShot = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
            QImage::Format_RGB32);
        thickness.clear();
        for (int x = 300; x < 400; x += 7) { // right of Q, clear of the triangle
            const int column = static_cast<int>(left + (10 + x) * scale);
            int rows = 0;
            for (int y = sideTop; y < sideBottom; ++y)
                rows += screenShot.pixel(column, y) == qRgb(0, 0, 0);
            thickness.insert(rows);
        }
        return thickness == std::set<int>{expected};
    });
    EXPECT_EQ(thickness, std::set<int>{expected});
    // And the hypotenuse from Q to P: drawn at the screen's resolution its edge falls between
    // the columns an enlarged 1x picture would have, in most rows.
    int rows = 0, offGrid = 0;
    const double originX = left + 10 * scale;
    for (int y = static_cast<int>(top + (50 + 100) * scale); y < top + (50 + 300) * scale; ++y) {
        for (int x = static_cast<int>(originX + 150 * scale); x < originX + 300 * scale; ++x)
            if (screenShot.pixel(x - 1, y) == qRgb(0xFF, 0xFF, 0) &&
                screenShot.pixel(x, y) == qRgb(0, 0, 0)) {
                ++rows;
                const double grid = std::ceil(originX + std::round((x - originX) / scale) * scale);
                offGrid += x != static_cast<int>(grid);
                break;
            }
    }
    EXPECT_GT(rows, 100);
    EXPECT_GT(offGrid, rows / 4) << "the figure looks like an enlarged bitmap";
    keys({QStringLiteral("Escape")});
    EXPECT_TRUE(waitUntil([&] { return windowSize() == QSize(671, 558); }));
    manager.terminate();
    manager.waitForFinished(3000);
}

// Copy figure puts on the clipboard what kansu-script's png kokuban gives at the same moment.
TEST_F(RealWindow, CopyFigurePutsThePictureOnTheClipboard) {
    click(check6);
    click(susumu, 45);
    keys({QStringLiteral("ctrl+c")});
    // The program may still be working through the clicks before it takes the key.
    const QMimeData* data = nullptr;
    waitUntil([&] {
        data = QGuiApplication::clipboard()->mimeData();
        return data && data->hasFormat(QStringLiteral("image/png"));
    });
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasFormat(QStringLiteral("image/png")))
        << data->formats().join(u' ').toStdString();
    const QImage copied = QImage::fromData(data->data(QStringLiteral("image/png")), "PNG")
                              .convertToFormat(QImage::Format_RGB32);
    const QImage figure = scriptFigure(45);
    ASSERT_FALSE(figure.isNull());
    EXPECT_EQ(copied, figure);
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
        ASSERT_TRUE(waitUntil([this] { return enabledIn(shot(), tomeruButton); }));
        ASSERT_TRUE(way.end());
        EXPECT_TRUE(exitsCleanlyWithin(exitBudgetMs));
    }
}

} // namespace
} // namespace kansu::e2e
