#include "app/form1.h"
#include "app/problems.h"
#include "surface/virtual_host.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <vector>

namespace kansu {
namespace {

using enum ControlId;

// A lesson with every view on: grid, graph, table, path, hint and area. Each action is measured
// with the pictures a screen then shows, as the window asks for them.
struct AllViews {
    VirtualHost host;
    Form1 form{host};
    AllViews() {
        form.Form_Load();
        for (ControlId id : {Check1, Check2, Check3, Check4, Check5, Check6})
            form.click(id);
        shown();
    }
    void click(ControlId id) {
        form.click(id);
        shown();
    }
    void shown() const {
        for (ControlId box : {kokuban, gamen, hyo})
            benchmark::DoNotOptimize(form.seen(box, 1).data());
    }
};

void ForwardStep(benchmark::State& state) {
    AllViews lesson;
    for (auto _ : state) {
        if (lesson.form.vars().michinori == 320) {
            state.PauseTiming();
            lesson.form.click(Command1);
            state.ResumeTiming();
        }
        lesson.click(susumu);
    }
}
BENCHMARK(ForwardStep)->Unit(benchmark::kMicrosecond);

// A forward step of each built-in problem, every view on (the hint where it has one), by its
// place in the list: 0 is the lesson's own square.
void ProblemStep(benchmark::State& state) {
    AllViews lesson;
    const motion::Problem& problem = builtInProblems()[static_cast<std::size_t>(state.range(0))];
    lesson.form.chooseProblem(problem);
    state.SetLabel(problem.name);
    for (auto _ : state) {
        if (lesson.form.motion().atEnd()) {
            state.PauseTiming();
            lesson.form.click(Command1);
            state.ResumeTiming();
        }
        lesson.click(susumu);
    }
}
BENCHMARK(ProblemStep)->DenseRange(0, 7)->Unit(benchmark::kMicrosecond);

// Choosing a problem, with every view on: its initial screen drawn, as a screen shows it.
void ChooseProblem(benchmark::State& state) {
    AllViews lesson;
    const auto& problems = builtInProblems();
    std::size_t next = 0;
    for (auto _ : state) {
        lesson.form.chooseProblem(problems[next++ % problems.size()]);
        lesson.shown();
    }
}
BENCHMARK(ChooseProblem)->Unit(benchmark::kMicrosecond);

void BackwardStep(benchmark::State& state) {
    AllViews lesson;
    for (auto _ : state) {
        if (lesson.form.vars().michinori == 0) {
            state.PauseTiming();
            while (lesson.form.vars().michinori < 320)
                lesson.click(susumu);
            state.ResumeTiming();
        }
        lesson.click(modoru);
    }
}
BENCHMARK(BackwardStep)->Unit(benchmark::kMicrosecond);

void InitialScreen(benchmark::State& state) {
    AllViews lesson;
    for (auto _ : state)
        lesson.click(Command1);
}
BENCHMARK(InitialScreen)->Unit(benchmark::kMicrosecond);

void WholeRunInVirtualTime(benchmark::State& state) {
    AllViews lesson;
    for (auto _ : state) {
        lesson.form.click(Command1);
        lesson.form.click(jidou);
    }
}
BENCHMARK(WholeRunInVirtualTime)->Unit(benchmark::kMillisecond);

// Actions queued for the waits of automatic play, for waits in any order, then delivered: what a
// script of many during-wait lines costs. Linear in their number, not quadratic.
void QueuedActions(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    std::vector<int> waits(count);
    std::uint64_t seed = 1;
    for (int& w : waits) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        w = 1 + static_cast<int>((seed >> 33) % 80);
    }
    for (auto _ : state) {
        VirtualHost host;
        int delivered = 0;
        for (const int w : waits)
            host.deliverInWait(w, [&delivered] { ++delivered; });
        host.deliverAll();
        benchmark::DoNotOptimize(delivered);
    }
}
BENCHMARK(QueuedActions)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace kansu

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
