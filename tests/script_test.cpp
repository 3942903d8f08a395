#include "desktop/qt_bridge.h"
#include "script/script_runner.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kansu {
namespace {

class Script : public ::testing::Test {
protected:
    int run(const QString& script) { return runner.run(script.toStdString()); }
    QJsonObject state() {
        return QJsonDocument::fromJson(QByteArray::fromStdString(runner.state())).object();
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    ScriptRunner runner;
};

// The fragment a teacher puts after the page's address to open it at this moment.
TEST_F(Script, LinkToTheMomentShown) {
    QString script = QStringLiteral("click Check2\ntype Combo1 \"速く\"\n");
    for (int i = 0; i < 12; ++i)
        script += QStringLiteral("click susumu\n");
    script += QStringLiteral("link\nclick Check2\nlink %1\n").arg(path("link.txt"));
    ASSERT_EQ(run(script), 0) << runner.error();
    EXPECT_EQ(runner.standardOutput(), "#x=1.2&c=010000&s=%E9%80%9F%E3%81%8F\n");
    QFile file(path("link.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "#x=1.2&c=000000&s=%E9%80%9F%E3%81%8F\n");
}

// Both worksheets of the moment, as PDF files.
TEST_F(Script, WorksheetsOfEachKind) {
    ASSERT_EQ(run(QStringLiteral("click susumu\nworksheet answers %1\nworksheet blank %2\n")
                      .arg(path("answers.pdf"), path("blank.pdf"))),
              0)
        << runner.error();
    QFile answers(path("answers.pdf")), blank(path("blank.pdf"));
    ASSERT_TRUE(answers.open(QIODevice::ReadOnly) && blank.open(QIODevice::ReadOnly));
    const QByteArray a = answers.readAll(), b = blank.readAll();
    EXPECT_TRUE(a.startsWith("%PDF-") && b.startsWith("%PDF-"));
    EXPECT_NE(a, b);
}

TEST_F(Script, WorksheetPictureWithGridAndShading) {
    QString script = QStringLiteral("click Check1\nclick Check6\n");
    for (int i = 0; i < 45; ++i)
        script += QStringLiteral("click susumu\n");
    script += QStringLiteral("png kokuban %1\nimage kokuban %2\npng window %3\n")
                  .arg(path("board.png"), path("image.png"), path("window.png"));
    ASSERT_EQ(run(script), 0) << runner.error();

    const QImage board(path("board.png")), image(path("image.png")), window(path("window.png"));
    EXPECT_EQ(board.size(), QSize(501, 451));
    EXPECT_EQ(image.size(), QSize(501, 451));
    EXPECT_EQ(window.size(), QSize(671, 558));
    EXPECT_EQ(image.pixel(120, 331), qtColour(paletteColour(14)).rgb()); // shading
    EXPECT_EQ(image.pixel(120, 330), qtColour(colours::black).rgb());    // grid over it
    // The picture adds the controls above the image: the red dot on P (140, 50).
    EXPECT_EQ(image.pixel(140, 50), qtColour(colours::black).rgb());
    EXPECT_EQ(board.pixel(140, 50), qtColour(0x0000FF).rgb());
    EXPECT_EQ(state()["controls"].toObject()["Text1"].toObject()["text"].toString(), " 4.5");
}

TEST_F(Script, PicturesAtAScaleForPrinting) {
    ASSERT_EQ(run(QStringLiteral("png kokuban %1 3.125\npng window %2 2\npng hyo %3 1")
                      .arg(path("board.png"), path("window.png"), path("table.png"))),
              0)
        << runner.error();
    EXPECT_EQ(QImage(path("board.png")).size(), QSize(1566, 1410));
    EXPECT_EQ(QImage(path("window.png")).size(), QSize(1342, 1116));
    EXPECT_EQ(QImage(path("table.png")).size(), QSize(645, 101));
    ScriptRunner other;
    EXPECT_EQ(other.run(QStringLiteral("png kokuban %1 0").arg(path("x.png")).toStdString()), 2);
}

TEST_F(Script, StateAfterARunStoppedInItsThirdWait) {
    ASSERT_EQ(run(QStringLiteral("during-wait 3 click tomeru\nclick jidou\nstate %1\n")
                      .arg(path("state.json"))),
              0)
        << runner.error();
    QFile file(path("state.json"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject s = QJsonDocument::fromJson(file.readAll()).object();
    EXPECT_FALSE(s["closed"].toBool());
    EXPECT_EQ(s["clock_ms"].toInt(), 300); // the third wait runs out after ストップ
    EXPECT_EQ(s["waits"].toArray(), QJsonArray({100, 100, 100}));
    EXPECT_EQ(s["vars"].toObject()["michinori"].toInt(), 12);
    EXPECT_EQ(s["vars"].toObject()["stopRequested"].toInt(), 0);
    const QJsonObject controls = s["controls"].toObject();
    EXPECT_EQ(controls.size(), 42);
    EXPECT_FALSE(controls["tomeru"].toObject()["enabled"].toBool());
    EXPECT_TRUE(controls["jidou"].toObject()["enabled"].toBool());
    EXPECT_EQ(controls["Text1"].toObject()["text"].toString(), " 0.3");
}

TEST_F(Script, StateJsonFollowsTheContract) {
    ASSERT_EQ(run(QStringLiteral("click susumu")), 0);
    const QByteArray json = QByteArray::fromStdString(runner.state());
    // Single-precision positions read back exactly as handed to the control.
    EXPECT_TRUE(json.contains("\"Label4(9)\": {\"kind\": \"label\", \"left\": 107.6, \"top\": 370"))
        << json.toStdString();
    EXPECT_TRUE(json.contains("\"top\": 327.8"));
    const QJsonObject s = QJsonDocument::fromJson(json).object();
    const QJsonObject window = s["window"].toObject();
    EXPECT_EQ(window["width"].toInt(), 10300);
    EXPECT_EQ(window["client_width"].toInt(), 671);
    EXPECT_EQ(window["state"].toInt(), 0);
    const QJsonObject controls = s["controls"].toObject();
    const QJsonObject line = controls["Line5(2)"].toObject();
    EXPECT_EQ(line["kind"].toString(), "line");
    EXPECT_EQ(line["x1"].toInt(), 25);
    EXPECT_FALSE(line.contains("left"));
    const QJsonObject check = controls["Check1"].toObject();
    EXPECT_EQ(check["caption"].toString(), "方眼");
    EXPECT_EQ(check["value"].toInt(), 0);
    EXPECT_EQ(controls["Combo1"].toObject()["text"].toString(), "20");
    for (const QString& name : controls.keys()) {
        const QJsonObject c = controls[name].toObject();
        EXPECT_TRUE(c.contains("visible")) << name.toStdString();
        EXPECT_EQ(c.contains("left"), c["kind"].toString() != "line") << name.toStdString();
    }
}

TEST_F(Script, TypedTextsAreJsonStrings) {
    ASSERT_EQ(run(QStringLiteral("type Combo1 \"  8\\u0030\"\ntype Text1 \"\"")), 0)
        << runner.error();
    EXPECT_EQ(runner.form().control(ControlId::Combo1).text, "  80");
    EXPECT_EQ(runner.form().control(ControlId::Text1).text, "");
}

TEST_F(Script, QueuedActionsOfWaitsWithoutEventsComeAfterTheLine) {
    ASSERT_EQ(run(QStringLiteral("type Combo1 \" 0\"\nduring-wait 2 click Check1\nclick jidou")),
              0);
    EXPECT_EQ(runner.form().vars().michinori, 320);
    EXPECT_EQ(runner.form().control(ControlId::Check1).value, 1);
}

TEST_F(Script, ClosingEndsTheProgram) {
    ASSERT_EQ(run(QStringLiteral("during-wait 2 close\nclick jidou\nstate")), 0);
    const QJsonObject s =
        QJsonDocument::fromJson(QByteArray::fromStdString(runner.standardOutput())).object();
    EXPECT_TRUE(s["closed"].toBool());
    EXPECT_EQ(s["vars"].toObject()["michinori"].toInt(), 8);
}

TEST_F(Script, MaximiseAndRestore) {
    ASSERT_EQ(run(QStringLiteral("maximize\nclick Check2")), 0);
    EXPECT_EQ(state()["window"].toObject()["state"].toInt(), 2);
    EXPECT_EQ(state()["window"].toObject()["width"].toInt(), 10300);
    ASSERT_EQ(run(QStringLiteral("restore\nclick Check2\nclick Check2")), 0);
    EXPECT_EQ(state()["window"].toObject()["state"].toInt(), 0);
    EXPECT_EQ(state()["window"].toObject()["width"].toInt(), 15705);
}

TEST(ScriptErrors, BadLinesStopTheScriptWithTheirNumber) {
    const struct {
        const char* script;
        const char* error;
    } cases[] = {
        {"click susumu\nfly away", "line 2: unknown action 'fly'"},
        {"\n# a comment\nclick nobody", "line 3: unknown control 'nobody'"},
        {"type Text1 \"unterminated", "line 1: malformed string"},
        {"type Text1 bare", "line 1: malformed string"},
        {"type susumu \"x\"", "line 1: only Text1 and Combo1 take typing"},
        {"png kokuban /nonexistent-dir/x.png", "line 1: cannot write"},
        {"state /nonexistent-dir/x.json", "line 1: cannot write"},
        {"link /nonexistent-dir/x.txt", "line 1: cannot write"},
        {"link a b", "line 1: "},
        {"type Combo1 \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\"\nlink",
         "line 2: no link can name this moment"},
        {"worksheet answers", "line 1: missing output file"},
        {"worksheet key /tmp/x.pdf", "line 1: unknown worksheet kind 'key'"},
        {"worksheet blank /nonexistent-dir/x.pdf", "line 1: cannot write"},
        {"image Check1 /tmp/x.png", "line 1: 'Check1' is not a picture box"},
        {"png kokuban", "line 1: missing output file"},
        {"close\nclick susumu", "line 2: the program has ended"},
        {"during-wait 0 click susumu", "line 1: during-wait needs a wait number"},
        {"during-wait 1", "line 1: during-wait needs an action"},
        {"during-wait 99999999999999999999 click susumu",
         "line 1: during-wait's wait number is too large"},
        {"during-wait 1 click nobody\nclick jidou", "line 1: unknown control 'nobody'"},
        {"problem", "line 1: expected: problem NAME|FILE"},
        {"click susumu\nproblem nosuch",
         "line 2: the problem 'nosuch' cannot be used: no such file"},
        {"problem /tmp", "line 1: the problem '/tmp' cannot be used: not a regular file"},
        {"problem /dev/null", "line 1: the problem '/dev/null' cannot be used: not a regular file"},
        {"during-wait 2 problem corner\nclick jidou",
         "line 1: no other problem while automatic play runs"},
    };
    for (const auto& c : cases) {
        ScriptRunner runner;
        EXPECT_EQ(runner.run(c.script), 2) << c.script;
        EXPECT_EQ(runner.error().rfind(c.error, 0), 0u) << c.script << " gave " << runner.error();
    }
}

// Another problem by its name or a teacher's file, which when it is no problem says which field
// is wrong and why, and stops the script there.
TEST_F(Script, AnotherProblemByItsNameOrItsFile) {
    auto write = [&](const char* name, const QByteArray& text) {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return path(name);
    };
    const QByteArray triangle = R"({"title": "三角形", "vertices": {"A": [0, 3], "B": [0, 0],
        "C": [4, 0]}, "shape": ["A", "B", "C"], "points": [{"name": "P", "from": "B",
        "route": ["C"], "speed": 0.5}], "area": ["A", "B", "P"]})";
    const QString own = write("Mine.json", triangle);
    ASSERT_EQ(run(QStringLiteral("problem rectangle\nclick susumu\nstate %1\nproblem %2\n"
                                 "click susumu\nclick susumu\nstate\n")
                      .arg(path("a.json"), own)),
              0)
        << runner.error();
    QFile first(path("a.json"));
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    EXPECT_EQ(QJsonDocument::fromJson(first.readAll()).object()["problem"].toObject()["name"],
              QStringLiteral("rectangle"));
    const QJsonObject problem = state()["problem"].toObject();
    EXPECT_EQ(problem["name"], QStringLiteral("mine"));
    EXPECT_EQ(problem["x"].toDouble(), 0.2);
    EXPECT_DOUBLE_EQ(problem["y"].toDouble(), 0.15);
    EXPECT_EQ(problem["points"].toObject()["P"].toArray(), QJsonArray({0.1, 0}));
    // A file that is no problem: its reason, and the problem before it stays.
    ScriptRunner other;
    EXPECT_EQ(other.run(QStringLiteral("problem corner\nproblem %1\n")
                            .arg(write("bad.json", QByteArray(triangle).replace("0.5", "0")))
                            .toStdString()),
              2);
    EXPECT_EQ(other.error(), "line 2: the problem '" + path("bad.json").toStdString() +
                                 "' cannot be used: points[0].speed: must be a number greater "
                                 "than 0");
    EXPECT_EQ(other.form().course().problem().name, "corner");
}

TEST(ScriptErrors, NothingAfterTheBadLineRuns) {
    ScriptRunner runner;
    EXPECT_EQ(runner.run("click susumu\nnonsense\nclick susumu"), 2);
    EXPECT_EQ(runner.form().vars().michinori, 4);
}

} // namespace
} // namespace kansu

namespace kansu {
namespace {

// A script that runs says nothing on standard error, whatever Qt would note on the way: text of a
// script the face cannot shape, a file name the system's encoding cannot hold.
TEST(ScriptProgram, SuccessIsSilentOnStandardError) {
    QTemporaryDir dir;
    QProcess script;
    script.setWorkingDirectory(dir.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    script.setProcessEnvironment(environment);
    script.start(QStringLiteral(KANSU_SCRIPT_BINARY), {});
    script.write("type Text1 \"\u0710\u0712\u0713\"\ntype Combo1 \"\u0710\"\nclick Check2\n"
                 "png window window.png\npng kokuban \"\u56f3.png\"\nstate\n");
    script.closeWriteChannel();
    ASSERT_TRUE(script.waitForFinished(30000));
    EXPECT_EQ(script.exitCode(), 0);
    EXPECT_EQ(script.readAllStandardError(), QByteArray());
}

// The program itself, from a shell: what a teacher's worksheet script meets when a line is bad or
// a write fails. Every row ends with status 2, its message, and the files it names untouched.
TEST(ScriptProgram, BadAndFailingLinesNeverReportSuccess) {
    QTemporaryDir dir;
    const QString program = QStringLiteral(KANSU_SCRIPT_BINARY);
    const QByteArray oldPicture = "an old picture";
    const QByteArray longLine(std::size_t(1) << 20 | 1, 'a');
    const struct {
        QByteArray script;
        const char* redirect; // how the shell runs the program
        const char* error;
        bool needsTmpfs = false;
    } rows[] = {
        {"state /dev/full\n", "", "line 1: cannot write '/dev/full'"},
        {"click susumu\nstate\n", ">/dev/full", "line 2: cannot write the standard output"},
        {"state\n", ">&-", "line 1: cannot write the standard output"},
        {"png kokuban old.png -1\n", "", "line 1: the scale must be a number"},
        {"png kokuban old.png inf\n", "", "line 1: the scale must be a number"},
        {"png kokuban old.png nan\n", "", "line 1: the scale must be a number"},
        {"png kokuban old.png 1e-9\n", "", "line 1: the scale must be a number"},
        {"png kokuban old.png 2x\n", "", "line 1: the scale must be a number"},
        {"png kokuban old.png 8.5\n", "", "line 1: the scale must be a number"},
        {QByteArray("state old.png\0.json\n", 20), "", "line 1: a NUL byte in the line"},
        {"state \"report\\u0000.json\"\n", "", "line 1: a NUL in the file name"},
        {"png kokuban \"old.png\\u0000x\"\n", "", "line 1: a NUL in the file name"},
        {"image gamen \"\\u0000\"\n", "", "line 1: a NUL in the file name"},
        {"click susumu\nstate \xff.json\n", "", "line 2: the line is not valid UTF-8"},
        {"type Text1 \"\\ud800\"\n", "", "line 1: malformed string: a lone surrogate"},
        {"png kokuban old.png \"2\"\n", "", "line 1: the scale must be a number"},
        {"click susumu extra\n", "", "line 1: expected: click NAME"},
        {"during-wait 1 png kokuban old.png\n", "", "line 1: never delivered"},
        {"during-wait 81 image gamen old.png\nclick jidou\n", "", "line 1: never delivered"},
        {longLine + "\n", "", "line 1: line too long"},
        {"", "/dev/zero", "line 1: line too long"},
        {"png kokuban full/old.png 8\n", "", "line 1: cannot write 'full/old.png'", true},
        {"state full/old.png\n", "", "line 1: cannot write 'full/old.png'", true},
    };
    const bool tmpfs = QProcess::execute(QStringLiteral("unshare"),
                                         {QStringLiteral("-rm"), QStringLiteral("true")}) == 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.error);
        if (row.needsTmpfs && !tmpfs)
            continue; // no mount namespace here; /dev/full stands for the full disk
        QFile script(dir.filePath(QStringLiteral("script")));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
        script.write(row.script);
        script.close();
        QFile old(dir.filePath(QStringLiteral("old.png")));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
        old.write(oldPicture);
        old.close();

        const QString input = std::string_view(row.redirect) == "/dev/zero"
                                  ? QStringLiteral("/dev/zero")
                                  : QStringLiteral("script");
        QString command = QStringLiteral("'%1' %2 < %3 2>err; echo $? >status")
                              .arg(program, QString::fromLatin1(row.redirect), input);
        if (input == QStringLiteral("/dev/zero"))
            command = QStringLiteral("'%1' /dev/zero 2>err; echo $? >status").arg(program);
        if (row.needsTmpfs) {
            // A disk that is full: an 8 KiB tmpfs, in a mount namespace of the test's own.
            command =
                QStringLiteral("mkdir -p full && unshare -rm sh -c \"mount -t tmpfs -o "
                               "size=8k none full && cp old.png full/ && %1; cmp -s "
                               "full/old.png old.png && echo same >kept\"")
                    .arg(QString(command).replace(QStringLiteral("$?"), QStringLiteral("\\$?")));
        }
        QProcess shell;
        shell.setWorkingDirectory(dir.path());
        shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), command});
        ASSERT_TRUE(shell.waitForFinished(60000));

        auto read = [&dir](const char* name) {
            QFile f(dir.filePath(QString::fromLatin1(name)));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        EXPECT_EQ(read("status").trimmed(), "2");
        EXPECT_TRUE(read("err").startsWith(row.error)) << read("err").toStdString();
        EXPECT_EQ(read("old.png"), oldPicture);
        if (row.needsTmpfs) {
            EXPECT_EQ(read("kept").trimmed(), "same");
        }
        // Nothing else was written: no stray files named from the bad line.
        const QStringList written = QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot);
        const QStringList expected = {QStringLiteral("script"), QStringLiteral("old.png"),
                                      QStringLiteral("err"), QStringLiteral("status"),
                                      QStringLiteral("kept")};
        for (const QString& name : written) {
            EXPECT_TRUE(expected.contains(name)) << name.toStdString();
        }
        QFile::remove(dir.filePath(QStringLiteral("kept")));
    }
}

} // namespace
} // namespace kansu
