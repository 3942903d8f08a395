// Random kansu-script runs of the lesson's own problem, recorded: every state, link and picture
// they write is pinned by a hash, so a change inside that moves anything of the square by a byte
// shows here. KANSU_RECORD=1 writes the hashes afresh (only ever from a build known to be right).
#include "script/script_runner.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace kansu {
namespace {

constexpr int runs = 48;
constexpr int linesPerRun = 40;

// A draw from a fixed generator, the same on every machine.
class Draw {
public:
    explicit Draw(std::uint32_t seed) : engine_(seed) {}
    std::size_t below(std::size_t n) { return engine_() % n; }
    template <typename T, std::size_t N> const T& from(const T (&choices)[N]) {
        return choices[below(N)];
    }

private:
    std::mt19937 engine_;
};

std::string randomAction(Draw& draw) {
    static const char* const clicks[] = {"susumu", "susumu", "susumu", "susumu",   "modoru",
                                         "modoru", "jidou",  "tomeru", "Command1", "Check1",
                                         "Check2", "Check3", "Check4", "Check5",   "Check6"};
    static const char* const speeds[] = {" 0",  "10",  "20", "50", "80",
                                         "3.5", "abc", "",   "-5", "1e400"};
    static const char* const times[] = {" 2.0", "4", "9", "abc", "-1", "0.1", " 8.0"};
    switch (draw.below(10)) {
    case 0:
        return std::string("type Combo1 \"") + draw.from(speeds) + "\"";
    case 1:
        return std::string("type Text1 \"") + draw.from(times) + "\"";
    case 2: {
        static const char* const inWait[] = {"click tomeru", "click Check4", "click Check2",
                                             "type Combo1 \"80\"", "click jidou"};
        return "during-wait " + std::to_string(1 + draw.below(4)) + " " + draw.from(inWait);
    }
    case 3:
        return draw.below(2) ? "maximize" : "restore";
    default:
        return std::string("click ") + draw.from(clicks);
    }
}

std::string randomOutput(Draw& draw, int line) {
    static const char* const boxes[] = {"kokuban", "gamen", "hyo", "window"};
    switch (draw.below(4)) {
    case 0:
        return "state";
    case 1:
        return "link";
    default:
        return std::string("png ") + draw.from(boxes) + " out" + std::to_string(line) + ".png " +
               (draw.below(2) ? "1" : "2");
    }
}

// Everything a run wrote, and how it ended, as one hash.
QByteArray runHash(int seed, const QDir& dir) {
    Draw draw(static_cast<std::uint32_t>(seed));
    std::string script;
    for (int line = 1; line <= linesPerRun; ++line)
        script += (draw.below(4) == 0 ? randomOutput(draw, line) : randomAction(draw)) + "\n";
    script += "state\nclick jidou\nstate\n";
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    {
        ScriptRunner runner;
        const int status = runner.run(script);
        hash.addData(QByteArray::number(status));
        hash.addData(QByteArray::fromStdString(runner.error()));
        // The state as it was recorded: what later versions add to it (the problem and where its
        // points stand) aside.
        QString written = QString::fromStdString(runner.standardOutput());
        written.remove(QRegularExpression(QStringLiteral(",\\n  \"problem\": \\{[^\\n]*\\}")));
        hash.addData(written.toUtf8());
    }
    QDir::setCurrent(previous);
    for (const QString& file : dir.entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name)) {
        QFile png(dir.filePath(file));
        if (png.open(QIODevice::ReadOnly))
            hash.addData(file.toUtf8() + png.readAll());
        png.remove();
    }
    return hash.result().toHex();
}

TEST(RecordedRuns, TheSquaresRunsWriteWhatTheyWroteWhenRecorded) {
    const QString recorded = QStringLiteral(KANSU_TEST_DATA "/recorded_runs.sha256");
    QTemporaryDir dir;
    QByteArray hashes;
    for (int seed = 1; seed <= runs; ++seed)
        hashes += QByteArray::number(seed) + ' ' + runHash(seed, QDir(dir.path())) + '\n';
    if (qEnvironmentVariable("KANSU_RECORD") == QStringLiteral("1")) {
        QFile out(recorded);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(hashes);
        GTEST_SKIP() << "recorded " << runs << " runs";
    }
    QFile in(recorded);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QList<QByteArray> expected = in.readAll().split('\n');
    const QList<QByteArray> actual = hashes.split('\n');
    ASSERT_EQ(actual.size(), expected.size());
    for (qsizetype i = 0; i < actual.size(); ++i)
        EXPECT_EQ(actual[i].toStdString(), expected[i].toStdString()) << "run " << i + 1;
}

} // namespace
} // namespace kansu
