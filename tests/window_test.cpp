#include "app/form1.h"
#include "app/problems.h"
#include "desktop/frame_actions.h"
#include "desktop/lesson_frame.h"
#include "desktop/picture_files.h"
#include "desktop/picture_render.h"
#include "desktop/qt_host.h"
#include "desktop/settings_file.h"
#include "desktop/translations.h"
#include "desktop/zoom.h"
#include "motion/problem.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace kansu {
namespace {

using enum ControlId;

// A real host that records the end of the program instead of stopping the test's application.
class RecordingHost : public QtHost {
public:
    bool endRequested = false;
    void endProgram() override { endRequested = true; }
};

class Window : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<Form1>(host);
        form->Form_Load();
        window = std::make_unique<LessonFrame>(*form);
        host.attach(window.get());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override {
        host.attach(nullptr);
        window.reset();
    }
    template <typename W> W* widget(ControlId id) {
        return qobject_cast<W*>(window->widgetFor(id));
    }
    void clickOn(ControlId id) {
        QWidget* w = window->widgetFor(id);
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
    }

    RecordingHost host;
    std::unique_ptr<Form1> form;
    std::unique_ptr<LessonFrame> window;
};

TEST_F(Window, OpensAtItsStartSizeWithTheDesignTitle) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("４.関数"));
    EXPECT_EQ(window->size(), QSize(671, 558));
    EXPECT_EQ(widget<QLineEdit>(Text1)->text(), QStringLiteral(" 0.0"));
    EXPECT_EQ(widget<QComboBox>(Combo1)->currentText(), QStringLiteral("20"));
    EXPECT_EQ(widget<QComboBox>(Combo1)->count(), 5);
    EXPECT_EQ(widget<QComboBox>(Combo1)->itemText(0), QStringLiteral(" 0"));
    EXPECT_FALSE(widget<QPushButton>(tomeru)->isEnabled());
    EXPECT_TRUE(widget<QPushButton>(jidou)->isEnabled());
}

TEST_F(Window, EveryWindowedControlStandsAtItsDesignPlace) {
    int windowed = 0;
    for (std::size_t i = 0; i < controlCount; ++i) {
        const auto id = static_cast<ControlId>(i);
        const Control& c = form->control(id);
        QWidget* w = window->widgetFor(id);
        if (c.container != Container::Form || c.kind == ControlKind::Label) {
            EXPECT_EQ(w, nullptr) << c.name;
            continue;
        }
        ASSERT_NE(w, nullptr) << c.name;
        ++windowed;
        EXPECT_EQ(w->geometry(), QRect(int(c.left), int(c.top), int(c.width), int(c.height)))
            << c.name;
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            EXPECT_EQ(b->text().toStdString(), c.caption);
        }
    }
    EXPECT_EQ(windowed, 17);
}

// Tab goes through the design's focus order among the controls in view: the graph and the table
// take the focus only once グラフ and 表 bring them into view, and a disabled ストップ none.
TEST_F(Window, TabFollowsTheDesignOrderAmongTheControlsInView) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto controlWithFocus = [&] {
        QWidget* focus = QApplication::focusWidget();
        for (std::size_t i = 0; i < controlCount; ++i) {
            QWidget* w = window->widgetFor(static_cast<ControlId>(i));
            if (w && (w == focus || w->isAncestorOf(focus)))
                return static_cast<ControlId>(i);
        }
        return ControlId::Count;
    };
    auto tabbedFrom = [&](ControlId first, std::size_t count) {
        window->widgetFor(first)->setFocus();
        std::vector<ControlId> order;
        for (std::size_t i = 0; i < count; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order.push_back(controlWithFocus());
        }
        return order;
    };
    const std::vector<ControlId> atStart{susumu, modoru, jidou,  Check3, Check1, Command1, Check5,
                                         Check6, Text1,  Check4, end,    Combo1, Check2,   kokuban};
    EXPECT_EQ(tabbedFrom(kokuban, atStart.size()), atStart);
    clickOn(Check2);
    clickOn(Check3);
    const std::vector<ControlId> bothShown{susumu,   modoru, jidou,  Check3, Check1, hyo,
                                           Command1, Check5, Check6, Text1,  Check4, gamen,
                                           end,      Combo1, Check2, kokuban};
    EXPECT_EQ(tabbedFrom(kokuban, bothShown.size()), bothShown);
    // The graph leaves the view with its focus: the focus goes on to a control in view.
    window->widgetFor(gamen)->setFocus();
    clickOn(Check2);
    EXPECT_NE(controlWithFocus(), gamen);
    EXPECT_NE(controlWithFocus(), ControlId::Count);
}

TEST_F(Window, EveryControlHasAnAccessibleName) {
    const struct {
        ControlId id;
        const char* name;
    } names[] = {{gamen, "グラフ"},       {end, "終了"},      {Combo1, "速度"},  {Check2, "グラフ"},
                 {kokuban, "図"},         {susumu, "進む"},   {modoru, "戻る"},  {jidou, "自動"},
                 {tomeru, "ストップ"},    {Check3, "表"},     {Check1, "方眼"},  {hyo, "表"},
                 {Command1, "初期画面"},  {Check5, "ヒント"}, {Check6, "y cm²"}, {Text1, "時間"},
                 {Check4, "動いた道のり"}};
    for (const auto& n : names)
        EXPECT_EQ(window->widgetFor(n.id)->accessibleName(), QString::fromUtf8(n.name));
}

TEST_F(Window, SpaceActivatesTheFocusedButtonAndCheckBox) {
    window->activateWindow();
    window->widgetFor(susumu)->setFocus();
    QTest::keyClick(window->widgetFor(susumu), Qt::Key_Space);
    EXPECT_EQ(form->vars().michinori, 4);
    window->widgetFor(Check1)->setFocus();
    QTest::keyClick(window->widgetFor(Check1), Qt::Key_Space);
    EXPECT_EQ(form->control(Check1).value, 1);
}

// Run also under QT_SCALE_FACTOR=2: the board is drawn at the screen's resolution.
TEST_F(Window, PicturesAreSharpAtTheScreenScale) {
    QWidget* board = window->widgetFor(kokuban);
    const qreal scale = board->devicePixelRatioF();
    const QImage shot = board->grab().toImage();
    ASSERT_EQ(shot.width(), qRound(505 * scale));
    // Side BC of the square, on board row 370 (widget row 372): round(3 * scale) device pixels.
    int thickness = 0;
    for (int y = qRound(360 * scale); y < qRound(385 * scale); ++y)
        thickness += shot.pixel(qRound(310 * scale), y) == qRgb(0, 0, 0);
    EXPECT_EQ(thickness, qRound(3 * scale));
}

TEST_F(Window, ClickingTheButtonsStepsTheLesson) {
    clickOn(susumu);
    clickOn(susumu);
    EXPECT_EQ(form->vars().michinori, 8);
    EXPECT_EQ(widget<QLineEdit>(Text1)->text(), QStringLiteral(" 0.2"));
    clickOn(modoru);
    EXPECT_EQ(widget<QLineEdit>(Text1)->text(), QStringLiteral(" 0.1"));
}

TEST_F(Window, CheckBoxesResizeTheWindow) {
    clickOn(Check2);
    EXPECT_EQ(form->control(Check2).value, 1);
    EXPECT_TRUE(widget<QCheckBox>(Check2)->isChecked());
    EXPECT_EQ(window->size(), QSize(1031, 558));
    clickOn(Check3);
    EXPECT_EQ(window->size(), QSize(1031, 682));
    clickOn(Check2);
    EXPECT_EQ(window->size(), QSize(671, 682));
}

TEST_F(Window, TypingReachesTheModel) {
    QComboBox* combo = widget<QComboBox>(Combo1);
    // The list's current entry is the one the text shows: Down from "20" gives "50".
    EXPECT_EQ(combo->currentIndex(), 2);
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(form->control(Combo1).text, "50");
    EXPECT_EQ(combo->currentIndex(), 3);
    // A text that is no entry leaves none current; an entry typed in full becomes current.
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), QStringLiteral("7"));
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(combo->currentText(), QStringLiteral("7"));
    QTest::keyClicks(combo->lineEdit(), QStringLiteral("0"));
    EXPECT_EQ(combo->currentText(), QStringLiteral("70"));
    form->typeText(Combo1, "10");
    EXPECT_EQ(combo->currentIndex(), 1);
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), QStringLiteral("50"));
    EXPECT_EQ(form->control(Combo1).text, "50");
    EXPECT_EQ(motion::Player::waitFor(form->control(Combo1).text), 250);
    combo->setCurrentIndex(4);
    EXPECT_EQ(form->control(Combo1).text, "80");

    QLineEdit* time = widget<QLineEdit>(Text1);
    time->selectAll();
    QTest::keyClicks(time, QStringLiteral("3"));
    EXPECT_EQ(form->control(Text1).text, "3");
}

TEST_F(Window, ManualResizeMovesNoControl) {
    const QRect before = window->widgetFor(susumu)->geometry();
    window->resize(900, 700);
    QTRY_COMPARE(form->geometry().clientHeight, 700);
    EXPECT_EQ(window->widgetFor(susumu)->geometry(), before);
}

TEST_F(Window, EndButtonEndsTheProgram) {
    clickOn(end);
    EXPECT_TRUE(host.endRequested);
    EXPECT_TRUE(form->ended());
}

TEST_F(Window, AutomaticPlayCanBeStoppedFromTheWindow) {
    form->typeText(Combo1, "4"); // 20 ms a step
    QTimer::singleShot(150, window.get(), [this] { clickOn(tomeru); });
    clickOn(jidou);
    EXPECT_GT(form->vars().michinori, 0);
    EXPECT_LT(form->vars().michinori, 320);
    EXPECT_FALSE(widget<QPushButton>(tomeru)->isEnabled());
    EXPECT_TRUE(widget<QPushButton>(susumu)->isEnabled());
}

TEST_F(Window, RealWaitLastsItsTimeWithoutSpinning) {
    QElapsedTimer wall;
    wall.start();
    std::clock_t cpuBefore = std::clock();
    motion::Player(host).wait(200);
    const qint64 waited = wall.elapsed();
    const double cpuMs = 1000.0 * double(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    EXPECT_GE(waited, 199); // the tick counter counts whole milliseconds
    EXPECT_LT(waited, 2000);
    // A spinning wait burns the whole 200 ms; a blocking one next to nothing.
    EXPECT_LT(cpuMs, 150);
}

// A presenter's keys act as clicks on their buttons would, and only then; keys typed into a
// text box stay the box's.
TEST_F(Window, PresenterKeysActAsTheirButtons) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const struct {
        Qt::Key key;
        const char* time;
    } rows[] = {{Qt::Key_PageDown, " 0.1"}, {Qt::Key_Right, " 0.2"}, {Qt::Key_PageDown, " 0.3"},
                {Qt::Key_PageUp, " 0.2"},   {Qt::Key_Left, " 0.1"},  {Qt::Key_Home, " 0.0"}};
    for (const auto& r : rows) {
        QTest::keyClick(window.get(), r.key);
        EXPECT_EQ(form->control(Text1).text, r.time) << r.key;
    }
    // In the time box the arrows move the cursor and Home goes to the start of the text.
    widget<QLineEdit>(Text1)->setFocus();
    QTest::keyClick(widget<QLineEdit>(Text1), Qt::Key_Right);
    QTest::keyClick(widget<QLineEdit>(Text1), Qt::Key_Home);
    QTest::keyClick(widget<QLineEdit>(Text1), Qt::Key_P);
    EXPECT_EQ(form->vars().michinori, 0);
    EXPECT_EQ(form->control(Text1).text, "p 0.0");
    // P plays (at " 0" straight to the end); with 進む disabled during a run nothing steps.
    widget<QPushButton>(susumu)->setFocus();
    form->typeText(Combo1, " 0");
    QTest::keyClick(window.get(), Qt::Key_P);
    EXPECT_EQ(form->vars().michinori, 320);
    EXPECT_TRUE(form->control(jidou).enabled);
}

// Zoomed, the window grows with the lesson, and グラフ and 表 widen and heighten it by the
// scaled amounts; it never grows beyond the screen (the tests' screen is a projector's 1920 by
// 1080): a zoom that would not fit is not taken, and a window that grows steps down to the zoom
// that fits, and back up once it fits again.
TEST_F(Window, ZoomGrowsTheWindowAsFarAsTheScreenAllows) {
    const struct {
        const char* action;
        std::function<void()> act;
        double shown;
        QSize size;
        QSize client; // the lesson's own, in design pixels
    } rows[] = {
        {"100 %", [&] { window->setZoom(1); }, 1, {671, 558}, {671, 558}},
        {"150 %", [&] { window->setZoom(1.5); }, 1.5, {1007, 837}, {671, 558}},
        {"in", [&] { window->zoomIn(); }, 1.75, {1174, 977}, {671, 558}},
        {"in, beyond the screen", [&] { window->zoomIn(); }, 1.75, {1174, 977}, {671, 558}},
        {"グラフ", [&] { clickOn(Check2); }, 1.75, {1804, 977}, {1031, 558}},
        {"表: stepped down", [&] { clickOn(Check3); }, 1.5, {1547, 1023}, {1031, 682}},
        {"表 off: back up", [&] { clickOn(Check3); }, 1.75, {1804, 977}, {1031, 558}},
        {"out", [&] { window->zoomOut(); }, 1.5, {1547, 837}, {1031, 558}},
        {"300 % kept from a larger screen",
         [&] { window->setZoom(3); },
         1.75,
         {1804, 977},
         {1031, 558}},
        {"not a number in the settings",
         [&] { window->setZoom(std::nan("")); },
         1,
         {1031, 558},
         {1031, 558}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.action);
        r.act();
        EXPECT_EQ(window->shownScale(), r.shown);
        EXPECT_EQ(window->size(), r.size);
        // Every control grows with it, and the lesson's own sizes stay the design's.
        EXPECT_EQ(window->widgetFor(susumu)->geometry().topLeft(),
                  QPoint(int(std::lround(592 * r.shown)), int(std::lround(240 * r.shown))));
        EXPECT_EQ(QSize(form->geometry().clientWidth, form->geometry().clientHeight), r.client);
    }
    EXPECT_EQ(window->zoom(), 1);
}

// The 問題 menu offers every built-in problem, the one shown ticked, and Open…; choosing one shows
// it from its initial screen.
TEST_F(Window, TheProblemMenuOffersEveryBuiltInProblem) {
    QMenu* problems = nullptr;
    for (QMenu* menu : window->findChildren<QMenu*>())
        if (menu->title() == QStringLiteral("Problem") || menu->title() == QStringLiteral("問題"))
            problems = menu;
    ASSERT_NE(problems, nullptr);
    emit problems->aboutToShow();
    QStringList titles;
    QAction* corner = nullptr;
    for (QAction* action : problems->actions()) {
        if (action->isSeparator())
            continue;
        titles << action->text();
        if (action->text() == QString::fromStdString(builtInNamed("corner")->title))
            corner = action;
        if (action->isCheckable()) {
            EXPECT_EQ(action->isChecked(), action == problems->actions().front());
        }
    }
    EXPECT_EQ(titles.size(), qsizetype(builtInProblems().size() + 1));
    ASSERT_NE(corner, nullptr);
    corner->trigger();
    EXPECT_EQ(form->course().problem().name, "corner");
    emit problems->aboutToShow();
    for (QAction* action : problems->actions())
        if (action->text() == QString::fromStdString(builtInNamed("corner")->title)) {
            EXPECT_TRUE(action->isChecked());
        }
}

// Copy figure copies the figure as it shows, at the zoom it shows at: the same pixels Save picture
// writes as PNG.
TEST_F(Window, CopyIsWhatTheUserSees) {
    window->setZoom(1.25);
    ASSERT_EQ(window->shownScale(), 1.25);
    const auto actions = window->actions();
    const auto copy = std::find_if(actions.begin(), actions.end(), [](QAction* a) {
        return a->shortcut() == QKeySequence(QKeySequence::Copy);
    });
    ASSERT_NE(copy, actions.end());
    (*copy)->trigger();
    const QImage copied = QApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(627, 564));
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32),
              pictureAsSeen(*form, kokuban, 1.25).convertToFormat(QImage::Format_RGB32));
}

// In full screen the lesson fills the screen keeping its shape, its controls named and placed
// where they show; the pointer hides after a while without movement and comes back on movement.
TEST_F(Window, FullScreenFillsTheScreenAndHidesAnIdlePointer) {
    window->toggleFullScreen();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isFullScreen() && window->width() == 1920; }));
    const double scale = std::min(1920 / 671.0, 1080 / 558.0);
    EXPECT_DOUBLE_EQ(window->shownScale(), scale);
    QWidget* button = window->widgetFor(susumu);
    EXPECT_EQ(button->accessibleName(), QStringLiteral("進む"));
    EXPECT_EQ(button->width(),
              int(std::lround((592 + 65) * scale)) - int(std::lround(592 * scale)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->pointerHidden(); }, 5000));
    QTest::mouseMove(window->widgetFor(kokuban), QPoint(40, 40));
    EXPECT_FALSE(window->pointerHidden());
    window->toggleFullScreen();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isFullScreen(); }));
    EXPECT_FALSE(window->pointerHidden());
    EXPECT_EQ(window->size(), QSize(671, 558));
}

// The speed box and the time box keep exactly what is typed: nothing completed from the list.
TEST_F(Window, BoxesKeepWhatIsTyped) {
    const char* typed[] = {"5", "1", "8", " ", "2", "abc", "Ab", "80"};
    for (const ControlId id : {Combo1, Text1}) {
        QLineEdit* edit =
            id == Combo1 ? widget<QComboBox>(Combo1)->lineEdit() : widget<QLineEdit>(Text1);
        for (const char* text : typed) {
            edit->setFocus();
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
            QTest::keyClicks(edit, QString::fromUtf8(text));
            EXPECT_EQ(edit->text(), QString::fromUtf8(text)) << form->control(id).name;
            EXPECT_EQ(form->control(id).text, text);
        }
    }
}

// The frame speaks the user's language, its menu and Qt's own dialogs alike; the lesson's
// captions are the design's in every language.
TEST_F(Window, TheFrameSpeaksTheUsersLanguage) {
    const struct {
        const char* locale;
        bool ownTranslation;
        const char* copy;
        const char* about;
        const char* cancel;
    } rows[] = {{"ja_JP", true, "図をコピー", "このソフトについて", "キャンセル"},
                {"en_US", false, "Copy figure", "About kansu", "Cancel"}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.locale);
        EXPECT_EQ(installTranslations(*QCoreApplication::instance(), QLocale(r.locale)),
                  r.ownTranslation);
        LessonFrame frame(*form);
        QStringList texts;
        for (const QAction* action : frame.actions())
            texts << action->text();
        EXPECT_TRUE(texts.contains(QString::fromUtf8(r.copy))) << texts.join(u',').toStdString();
        EXPECT_TRUE(texts.contains(QString::fromUtf8(r.about)));
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                  QString::fromUtf8(r.cancel));
        EXPECT_EQ(qobject_cast<QPushButton*>(frame.widgetFor(susumu))->text(),
                  QStringLiteral("進む"));
        for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
    }
}

// The settings file is read and written only while it is a regular file (a link to a device, a
// pipe or a folder is left alone, and nothing blocks); a zoom that is not a step in range is 100 %;
// writing keeps a teacher's comments, and a file too large to read whole is not rewritten.
TEST(Settings, OnlyARegularFileIsReadOrWritten) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kansu.conf"));
    auto read = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    auto write = [&](const QByteArray& text) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    };
    // None yet: written anew.
    EXPECT_FALSE(SettingsFile(path).zoom());
    EXPECT_EQ(SettingsFile(path).setZoom(1.5), QString());
    EXPECT_EQ(read(), "[General]\nzoom=1.5\n");
    // A teacher's comments stay.
    write("; room 3's projector\n[General]\n# larger for the back row\nzoom=2\n[Other]\nzoom=9\n");
    SettingsFile commented(path);
    EXPECT_EQ(commented.zoom(), 2);
    EXPECT_EQ(commented.setZoom(1.25), QString());
    EXPECT_EQ(read(), "; room 3's projector\n[General]\n# larger for the back row\nzoom=1.25\n"
                      "[Other]\nzoom=9\n");
    // Not numbers, or out of range: the window shows 100 %.
    const struct {
        const char* text;
        double step;
    } zooms[] = {{"zoom=nan", 1}, {"zoom=inf", 1},    {"zoom=1e9", 1}, {"zoom=-2", 1},
                 {"zoom=0", 1},   {"zoom=1.3", 1.25}, {"zoom=3", 3},   {"zoom=abc", 1}};
    for (const auto& z : zooms) {
        write(QByteArray("[General]\n") + z.text + "\n");
        EXPECT_EQ(zoomStep(SettingsFile(path).zoom().value_or(1)), z.step) << z.text;
    }
    // Too large to be read whole: its zoom is taken, but it is never rewritten, so nothing past
    // the part read is lost.
    const QByteArray large = "[General]\nzoom=2\n# " + QByteArray(1 << 20, 'x') + "\nkept=1\n";
    write(large);
    SettingsFile tooLarge(path);
    EXPECT_EQ(tooLarge.zoom(), 2);
    EXPECT_NE(tooLarge.setZoom(1.5), QString());
    EXPECT_EQ(read(), large);
    // Not a regular file: left alone.
    QFile::remove(path);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), path));
    SettingsFile device(path);
    EXPECT_FALSE(device.zoom());
    EXPECT_NE(device.setZoom(2), QString());
    EXPECT_EQ(QFileInfo(path).symLinkTarget(), QStringLiteral("/dev/null"));
    QFile::remove(path);
    ASSERT_EQ(QProcess::execute(QStringLiteral("mkfifo"), {path}), 0);
    SettingsFile pipe(path); // would block if opened
    EXPECT_FALSE(pipe.zoom());
    EXPECT_NE(pipe.setZoom(2), QString());
    EXPECT_FALSE(QFileInfo(path).isFile());
    QFile::remove(path);
    ASSERT_TRUE(QDir().mkdir(path));
    EXPECT_NE(SettingsFile(path).setZoom(2), QString());
    EXPECT_TRUE(QFileInfo(path).isDir());
}

// Save picture writes the type of an extension typed, else the type chosen in the dialog, and
// names the file so. A worksheet is a PDF only.
TEST(SavePicture, ATypedExtensionWinsElseTheChosenTypeNamesTheFile) {
    using enum PictureFormat;
    const QList<PictureFormat> picture{Png, Svg, Pdf}, sheet{Pdf};
    const struct {
        const char* chosen;
        PictureFormat format;
        QList<PictureFormat> possible;
        SavedFile saved;
    } rows[] = {{"noext", Svg, picture, {"noext.svg", Svg}},
                {"figure.PNG", Png, picture, {"figure.PNG", Png}},
                {"figure.png", Pdf, picture, {"figure.png", Png}},
                {"x.svg", Png, picture, {"x.svg", Svg}},
                {"図.pdf", Pdf, picture, {"図.pdf", Pdf}},
                {"a.b/c", Png, picture, {"a.b/c.png", Png}},
                {".png", Svg, picture, {".png.svg", Svg}},
                {"sheet.svg", Pdf, sheet, {"sheet.svg.pdf", Pdf}},
                {"sheet.PDF", Pdf, sheet, {"sheet.PDF", Pdf}}};
    for (const auto& r : rows) {
        const SavedFile file = savedFile(QString::fromUtf8(r.chosen), r.format, r.possible);
        EXPECT_EQ(file.path, QString::fromUtf8(r.saved.path.toUtf8())) << r.chosen;
        EXPECT_EQ(file.format, r.saved.format) << r.chosen;
    }
}

// Every file the window writes is written whole or not at all: on a full disk the old file stays
// as it was and the writer says why. (Run in a mount namespace of its own with a small tmpfs at
// KANSU_FULL_DISK; skipped without one.)
TEST_F(Window, EveryWriterIsWholeOrNothingOnAFullDisk) {
    const QString disk = qEnvironmentVariable("KANSU_FULL_DISK");
    if (disk.isEmpty())
        GTEST_SKIP() << "no small disk to fill";
    for (int i = 0; i < 45; ++i)
        clickOn(susumu);
    const QString old = disk + QStringLiteral("/old");
    {
        QFile file(old);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("the old file");
    }
    // Everything else the disk can hold.
    QFile filler(disk + QStringLiteral("/filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
    const struct {
        const char* what;
        std::function<QString()> write;
    } writers[] = {
        {"PNG",
         [&] {
             return writePicture(*form, kokuban, old, PictureFormat::Png, 2);
         }},
        {"SVG",
         [&] {
             return writePicture(*form, kokuban, old, PictureFormat::Svg);
         }},
        {"PDF",
         [&] {
             return writePicture(*form, gamen, old, PictureFormat::Pdf);
         }},
        {"worksheet",
         [&] {
             return writeWorksheetPdf(*form, SheetKind::Blank, old);
         }},
    };
    for (const auto& w : writers) {
        SCOPED_TRACE(w.what);
        EXPECT_FALSE(w.write().isEmpty());
        QFile file(old);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), "the old file");
        EXPECT_EQ(QDir(disk).entryList(QDir::Files).size(), 2) << "a stray file was left";
    }
}

// The keyboard starts on the first picture box of the design's order in view, the figure: a
// first Space changes nothing, and the presenter's keys are free.
TEST_F(Window, FocusStartsOnTheFigure) {
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), window->widgetFor(kokuban));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_FALSE(form->ended());
    EXPECT_EQ(form->vars().michinori, 0);
}

// What a screen reader hears: the moment of the figure, the graph's last point, the table's
// printed columns, and 速度 for the speed box.
TEST_F(Window, AssistiveTechnologyReadsTheLesson) {
    clickOn(Check2);
    for (int i = 0; i < 45; ++i)
        clickOn(susumu);
    EXPECT_EQ(window->widgetFor(kokuban)->accessibleDescription(),
              QStringLiteral("4.5秒後　点Pは辺AD上、点Qは辺BC上、面積 y = 18 cm²"));
    EXPECT_EQ(window->widgetFor(gamen)->accessibleDescription(),
              QStringLiteral("グラフ　最後の点は x = 4.5 秒、y = 18 cm²"));
    EXPECT_EQ(widget<QComboBox>(Combo1)->lineEdit()->accessibleName(), QStringLiteral("速度"));
    clickOn(Check3);
    for (int i = 0; i < 5; ++i)
        clickOn(susumu);
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(window->widgetFor(hyo));
    ASSERT_NE(table, nullptr);
    QAccessibleTableInterface* cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->rowCount(), 2);
    ASSERT_EQ(cells->columnCount(), 1); // only 5 s was printed while the table showed
    EXPECT_EQ(cells->cellAt(0, 0)->text(QAccessible::Name), QStringLiteral("5"));
    EXPECT_EQ(cells->cellAt(1, 0)->text(QAccessible::Name), QStringLiteral("20"));
    clickOn(modoru); // 4.9: the column of 5 is erased
    EXPECT_EQ(cells->columnCount(), 0);
}

// Saved as SVG and PDF, the figure is drawn again as vectors; a standard tool renders it back
// to what the PNG shows, but for anti-aliasing along the edges.
TEST_F(Window, VectorPicturesMatchThePng) {
    clickOn(Check6);
    clickOn(Check1);
    for (int i = 0; i < 45; ++i)
        clickOn(susumu);
    QTemporaryDir dir;
    const QImage png = pictureAsSeen(*form, kokuban, 2).convertToFormat(QImage::Format_RGB32);
    const struct {
        PictureFormat format;
        const char* file;
        QStringList render; // renders the file to back.png at twice its size
    } rows[] = {
        {PictureFormat::Svg,
         "figure.svg",
         {"rsvg-convert", "-z", "2", "-o", "back.png", "figure.svg"}},
        {PictureFormat::Pdf,
         "figure.pdf",
         {"pdftoppm", "-png", "-scale-to-x", "1002", "-scale-to-y", "902", "-singlefile",
          "figure.pdf", "back"}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.file);
        ASSERT_EQ(writePicture(*form, kokuban, dir.filePath(QString::fromLatin1(r.file)), r.format),
                  "");
        QProcess tool;
        tool.setWorkingDirectory(dir.path());
        tool.start(r.render.front(), r.render.mid(1));
        ASSERT_TRUE(tool.waitForFinished(30000));
        ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
        const QImage back =
            QImage(dir.filePath(QStringLiteral("back.png"))).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(back.size(), png.size());
        int differing = 0;
        for (int y = 0; y < png.height(); ++y)
            for (int x = 0; x < png.width(); ++x) {
                const QColor a = png.pixelColor(x, y), b = back.pixelColor(x, y);
                differing += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                                 std::abs(a.blue() - b.blue()) >
                             96;
            }
        EXPECT_LT(differing, png.width() * png.height() / 50) << "pixels differing";
        QFile::remove(dir.filePath(QStringLiteral("back.png")));
    }
}

// The graph's numbers are bold in every format, as on the screen, whatever renders the file: their
// ink in the SVG and the PDF, rendered back, is about the PNG's (a viewer left to embolden the
// face itself makes them heavier or lighter).
TEST_F(Window, TheGraphsNumbersAreBoldInEveryFormat) {
    clickOn(Check2);
    QTemporaryDir dir;
    constexpr int scale = 4;
    const QImage png = pictureAsSeen(*form, gamen, scale).convertToFormat(QImage::Format_RGB32);
    // How much black the numbers of both axes and the captions lay down, in the picture's
    // pixels at four times its size.
    auto ink = [](const QImage& image) {
        double black = 0;
        for (const QRect area : {QRect(0, 0, 120, 1440), QRect(80, 1992, 1120, 80)})
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    // Black, not the grid's green.
                    if (c.green() - c.red() < 40)
                        black += (255 - qGray(c.rgb())) / 255.0;
                }
        return black;
    };
    const struct {
        PictureFormat format;
        const char* file;
        QStringList render;
    } rows[] = {
        {PictureFormat::Svg,
         "graph.svg",
         {"rsvg-convert", "-z", "4", "-o", "back.png", "graph.svg"}},
        {PictureFormat::Pdf,
         "graph.pdf",
         {"pdftoppm", "-png", "-scale-to-x", QString::number(png.width()), "-scale-to-y",
          QString::number(png.height()), "-singlefile", "graph.pdf", "back"}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.file);
        ASSERT_EQ(writePicture(*form, gamen, dir.filePath(QString::fromLatin1(r.file)), r.format),
                  "");
        QProcess tool;
        tool.setWorkingDirectory(dir.path());
        tool.start(r.render.front(), r.render.mid(1));
        ASSERT_TRUE(tool.waitForFinished(30000));
        ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
        const QImage back = QImage(dir.filePath(QStringLiteral("back.png")));
        ASSERT_EQ(back.size(), png.size());
        const double ratio = double(ink(back)) / ink(png);
        EXPECT_GT(ratio, 0.85) << "the numbers are lighter than on the screen";
        EXPECT_LT(ratio, 1.15) << "the numbers are heavier than on the screen";
        QFile::remove(dir.filePath(QStringLiteral("back.png")));
    }
}

// The output of a poppler tool, which must succeed.
QByteArray popplerOutput(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        ADD_FAILURE() << tool.toStdString() << ": " << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

// Each worksheet is one page of A4 drawn as vectors with its font embedded; the students' copy
// leaves the area row of the table empty, the teacher's fills it in.
TEST_F(Window, WorksheetsAreVectorPagesOfA4) {
    for (int i = 0; i < 45; ++i)
        clickOn(susumu);
    QTemporaryDir dir;
    const struct {
        SheetKind kind;
        const char* name;
        const char* areaRow;
    } rows[] = {
        {SheetKind::Answers, "解答用", "0 1 4 9 16 20 24 28 32"},
        {SheetKind::Blank, "問題用", ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
        ASSERT_EQ(writeWorksheetPdf(*form, r.kind, pdf), "");
        const QString info = QString::fromUtf8(popplerOutput(QStringLiteral("pdfinfo"), {pdf}));
        EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
        EXPECT_TRUE(info.contains(QStringLiteral("Page size:       595 x 842 pts (A4)")));
        const QStringList fonts =
            QString::fromUtf8(popplerOutput(QStringLiteral("pdffonts"), {pdf}))
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                .mid(2);
        ASSERT_FALSE(fonts.isEmpty());
        for (const QString& font : fonts)
            EXPECT_TRUE(font.contains(QRegularExpression(QStringLiteral(" yes +(yes|no) +yes "))))
                << "not embedded: " << font.toStdString();
        EXPECT_EQ(
            popplerOutput(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).count('\n'),
            2)
            << "a picture drawn as an image";
        const QString text = QString::fromUtf8(
            popplerOutput(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}));
        for (const char* expected :
             {"関数の利用", r.name, "(1) x = 4.5 のとき、y の値を求めなさい。", "点Bを出発してから",
              "(3) y = 0.25 となる x の値を求めなさい。"})
            EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
        // The row of the areas, cut out of the page by where the sheet puts its heading.
        const Worksheet sheet = worksheetOf(*form, r.kind);
        const auto heading = std::find_if(sheet.texts.begin(), sheet.texts.end(),
                                          [](const auto& t) { return t.text == "ｙ"; });
        ASSERT_NE(heading, sheet.texts.end());
        const double pt = 72 / 25.4;
        const QStringList crop = {
            QStringLiteral("-x"),
            QString::number(std::lround((heading->x + 8) * pt)),
            QStringLiteral("-y"),
            QString::number(std::lround((heading->baseline - 6) * pt)),
            QStringLiteral("-W"),
            QString::number(std::lround((Worksheet::paperWidth - heading->x - 8) * pt)),
            QStringLiteral("-H"),
            QString::number(std::lround(8 * pt)),
            pdf,
            QStringLiteral("-")};
        EXPECT_EQ(QString::fromUtf8(popplerOutput(QStringLiteral("pdftotext"), crop))
                      .simplified()
                      .toStdString(),
                  r.areaRow);
    }
    // Printed to a file on the paper the print dialog was set to.
    const QString letter = dir.filePath(QStringLiteral("letter.pdf"));
    ASSERT_EQ(writeWorksheetPdf(*form, SheetKind::Answers, letter, QPageSize(QPageSize::Letter)),
              "");
    EXPECT_TRUE(QString::fromUtf8(popplerOutput(QStringLiteral("pdfinfo"), {letter}))
                    .contains(QStringLiteral("Page size:       612 x 792 pts (letter)")));
}

// On paper the square measures 8 cm, and the distances along it are to scale: measured on the
// page rendered at 10 pixels a millimetre, within a millimetre.
TEST_F(Window, TheWorksheetsSquareMeasuresEightCentimetres) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    ASSERT_EQ(writeWorksheetPdf(*form, SheetKind::Blank, pdf), "");
    popplerOutput(QStringLiteral("pdftoppm"),
                  {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-gray"),
                   QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf,
                   dir.filePath(QStringLiteral("page"))});
    const QImage page(dir.filePath(QStringLiteral("page.png")));
    ASSERT_NEAR(page.width(), 2100, 1); // A4
    ASSERT_NEAR(page.height(), 2970, 1);
    const Worksheet::Picture figure = worksheetOf(*form, SheetKind::Blank).pictures.front();
    const double perMm = 10;
    // The centre of the dark run nearest to where the sheet says a side is, along a row or a
    // column of the page.
    auto sideNear = [&](double mm, double acrossMm, bool alongRow) {
        const int across = static_cast<int>(std::lround(acrossMm * perMm));
        double best = -1;
        for (int at = static_cast<int>((mm - 3) * perMm); at <= (mm + 3) * perMm; ++at) {
            int start = at;
            auto dark = [&](int p) {
                return qGray(alongRow ? page.pixel(p, across) : page.pixel(across, p)) < 128;
            };
            if (!dark(at) || dark(at - 1))
                continue;
            int end = start;
            while (dark(end + 1))
                ++end;
            const double centre = (start + end) / 2.0 / perMm;
            if (best < 0 || std::abs(centre - mm) < std::abs(best - mm))
                best = centre;
        }
        return best;
    };
    const double k = figure.mmPerPixel;
    const PointF cornerA = form->course().vertexOnBoard('A'),
                 cornerB = form->course().vertexOnBoard('B'),
                 cornerC = form->course().vertexOnBoard('C');
    const double middleRow = figure.y + (cornerA.y + cornerB.y) / 2 * k;
    const double middleColumn = figure.x + (cornerB.x + cornerC.x) / 2 * k;
    const double sideAB = sideNear(figure.x + cornerB.x * k, middleRow, true);
    const double sideCD = sideNear(figure.x + cornerC.x * k, middleRow, true);
    const double sideAD = sideNear(figure.y + cornerA.y * k, middleColumn, false);
    const double sideBC = sideNear(figure.y + cornerB.y * k, middleColumn, false);
    ASSERT_TRUE(sideAB > 0 && sideCD > 0 && sideAD > 0 && sideBC > 0);
    EXPECT_NEAR(sideCD - sideAB, 80, 1);
    EXPECT_NEAR(sideBC - sideAD, 80, 1);
}

} // namespace
} // namespace kansu
