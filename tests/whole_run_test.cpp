#include "lesson_fixture.h"

#include <QFile>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

namespace kansu::testing {
namespace {

using enum ControlId;

// Glyph shapes belong to the font rasteriser; everything else a picture box shows (lines, fills,
// colours, where text is placed and what it covers) is pinned by these hashes of a whole lesson.
// A text cell is generous: every glyph of the text gets a full em and a pixel more.
std::uint64_t maskedHash(const PictureBox& box, qreal scale) {
    const QImage image = box.imageAt(scale);
    std::vector<char> masked(std::size_t(image.width()) * std::size_t(image.height()), 0);
    for (const DrawOp& op : box.history()) {
        if (op.kind != DrawOp::Kind::Text)
            continue;
        const int em = pixelSizeForPoints(op.font.points);
        const int left = std::max(0, int(std::floor((op.from.x() - 1) * scale)));
        const int top = std::max(0, int(std::floor((op.from.y() - 1) * scale)));
        const int right =
            std::min(image.width(),
                     int(std::ceil((op.from.x() + double(op.text.size()) * (em + 1) + 4) * scale)));
        const int bottom =
            std::min(image.height(), int(std::ceil((op.from.y() + box.textHeight() + 2) * scale)));
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                masked[std::size_t(y) * std::size_t(image.width()) + std::size_t(x)] = 1;
    }
    std::uint64_t hash = 1469598103934665603ull;
    auto mix = [&hash](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            hash ^= (v >> (8 * i)) & 0xFF;
            hash *= 1099511628211ull;
        }
    };
    mix(static_cast<std::uint32_t>(image.width()));
    mix(static_cast<std::uint32_t>(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            mix(masked[std::size_t(y) * std::size_t(image.width()) + std::size_t(x)]
                    ? 0xFF000000u
                    : (row[x] & 0xFFFFFFu));
    }
    return hash;
}

// A whole lesson with every view on: ticks, a run forward to the end and back past the start,
// the table hidden and shown, the grid cleared, a typed time, the initial screen, automatic play.
std::vector<std::pair<std::string, std::function<void(Form1&)>>> wholeRun() {
    std::vector<std::pair<std::string, std::function<void(Form1&)>>> actions;
    auto click = [&actions](ControlId id, int times = 1) {
        for (int i = 0; i < times; ++i)
            actions.emplace_back("click", [id](Form1& f) { f.click(id); });
    };
    click(Check6);
    click(Check1);
    click(Check2);
    click(Check3);
    click(Check5);
    click(Check4);
    click(susumu, 80);
    click(modoru, 85);
    click(Check3);
    click(susumu, 30);
    click(Check3);
    click(susumu, 15);
    click(Check1);
    click(susumu, 5);
    actions.emplace_back("type 7.5", [](Form1& f) { f.typeText(Text1, QStringLiteral("7.5")); });
    click(modoru);
    click(Command1);
    actions.emplace_back("type 0", [](Form1& f) { f.typeText(Combo1, QStringLiteral(" 0")); });
    click(jidou);
    return actions;
}

TEST_F(Lesson, WholeRunDrawsTheSamePicturesAsBefore) {
    const QString referencePath = QStringLiteral(KANSU_TEST_DATA "/whole_run.hashes");
    const bool writing = qEnvironmentVariableIsSet("KANSU_WRITE_REFERENCE");
    QStringList lines;
    int captures = 0;
    auto capture = [&](const std::string& label) {
        QString line = QString::fromStdString(label);
        const bool scaled = captures % 10 == 0;
        for (ControlId id : {kokuban, gamen, hyo}) {
            line += QStringLiteral(" %1").arg(maskedHash(form.box(id), 1), 16, 16, QChar(u'0'));
            if (scaled)
                line += QStringLiteral("/%1").arg(maskedHash(form.box(id), 2), 16, 16, QChar(u'0'));
        }
        lines << line;
        ++captures;
    };
    capture("start");
    for (const auto& [label, act] : wholeRun()) {
        act(form);
        capture(label);
    }
    if (writing) {
        QFile out(referencePath);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QTextStream(&out) << lines.join(u'\n') << '\n';
        GTEST_SKIP() << "reference written";
    }
    QFile in(referencePath);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QStringList expected = QString::fromUtf8(in.readAll()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(expected.size(), lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        ASSERT_EQ(lines[i].toStdString(), expected[i].toStdString()) << "capture " << i;
}

} // namespace
} // namespace kansu::testing
