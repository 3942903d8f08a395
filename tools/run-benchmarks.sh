#!/usr/bin/env bash
# Runs the benchmarks and prints each figure against its goal. Every figure is a ratio measured
# side by side in one run, so a busy machine shifts both sides alike.
#   tools/run-benchmarks.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
frame_us=16667
# Qt wants a private runtime folder; without one it says so for every program started.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi

# Headless step costs (Google Benchmark, CPU time in microseconds).
csv=$(QT_QPA_PLATFORM=offscreen "$build/bench/kansu_bench" --benchmark_format=csv \
      --benchmark_repetitions=5 --benchmark_report_aggregates_only=true 2>/dev/null)
cpu_us() { echo "$csv" | awk -F, -v n="\"$1_median\"" '$1 == n { print $4 }'; }
forward=$(cpu_us ForwardStep)
backward=$(cpu_us BackwardStep)
init=$(cpu_us InitialScreen)
choose=$(cpu_us ChooseProblem)
# Each built-in problem's step: its name (the benchmark's label) and the median.
problem_steps=$(echo "$csv" | awk -F, '$1 ~ /^"ProblemStep\/[0-9]+_median"$/ { gsub(/"/, "", $8); print $8, $4 }')
queued_small=$(cpu_us QueuedActions/10000)
queued_large=$(cpu_us QueuedActions/100000)

# Start-up and memory against the smallest Qt program with one Japanese label, in turns; and the
# browser's first frame, in rounds that take turns with them, so that a machine busier in one
# part of the run weighs on both sides of the ratio alike (make web builds the site).
web_site=$(cd "$(dirname "$0")/.." && pwd)/build-web/site
built=$(cd "$build" && pwd)
desktop=("$built/bench/startup_driver" "$built/kansu" '^４.関数$' "$built/bench/minimal_label" '^baseline$')
if [ -f "$web_site/index.html" ]; then
    samples=$(cd "$(dirname "$0")/../tests/web" &&
        KANSU_SITE=$web_site node bench.mjs first-frame 5 3 -- "${desktop[@]}" 5)
else
    samples=$("${desktop[@]}" 21)
fi
median_of() { # the median of a sample's values over every round
    echo "$samples" | awk -v n="$1" '$1 == n { print $2 }' | sort -n |
        awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }'
}
kansu_frame=$(median_of program_first_frame_sample_ms)
kansu_rss=$(median_of program_peak_rss_sample_kb)
base_frame=$(median_of baseline_first_frame_sample_ms)
base_rss=$(median_of baseline_peak_rss_sample_kb)
web_frame=$(median_of web_first_frame_sample_ms)

# A whole automatic run at "20" in real time.
read -r run_wall run_cpu < <("$build/bench/kansu_realtime_run" |
    awk '{ v[$1] = $2 } END { print v["run_wall_ms"], v["run_cpu_ms"] }')

# The browser's lesson in headless Chromium from a local server.
if [ -f "$web_site/index.html" ]; then
    web_out=$(cd "$(dirname "$0")/../tests/web" && KANSU_SITE=$web_site node bench.mjs)
    read -r web_bytes web_step web_wall web_cpu web_choose web_wire web_first web_later \
        web_requests < <(echo "$web_out" |
        awk '{ v[$1] = $2 } END { print v["web_site_bytes"],
                                        v["web_step_us"], v["web_run_wall_ms"], v["web_run_cpu_ms"],
                                        v["web_choose_us"], v["web_wire_bytes"],
                                        v["web_first_visit_ms"], v["web_later_visit_ms"],
                                        v["web_later_visit_requests"] }')
fi

row() { # figure, value text, goal text, met (1/0)
    printf '| %-44s | %-26s | %-10s | %-3s |\n' "$1" "$2" "$3" "$([ "$4" = 1 ] && echo yes || echo no)"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
le() { awk -v a="$1" -v b="$2" 'BEGIN { print (a <= b) ? 1 : 0 }'; }
share() { awk -v a="$1" -v f="$frame_us" 'BEGIN { printf "%.2f", 100 * a / f }'; }

startup_ratio=$(ratio "$kansu_frame" "$base_frame")
memory_ratio=$(ratio "$kansu_rss" "$base_rss")
length_off=$(awk -v w="$run_wall" 'BEGIN { printf "%.2f", 100 * (w - 8000) / 8000 }')
length_abs=$(awk -v w="$run_wall" 'BEGIN { d = 100 * (w - 8000) / 8000; printf "%.2f", d < 0 ? -d : d }')
cpu_share=$(awk -v c="$run_cpu" -v w="$run_wall" 'BEGIN { printf "%.2f", 100 * c / w }')

echo "| figure                                       | measured                   | goal       | met |"
echo "|----------------------------------------------|----------------------------|------------|-----|"
row "start-up to first frame, against minimal Qt" "${startup_ratio}× (${kansu_frame} / ${base_frame} ms)" "≤ 1.2×" "$(le "$startup_ratio" 1.2)"
row "peak resident memory, against minimal Qt" "${memory_ratio}× (${kansu_rss} / ${base_rss} kB)" "≤ 1.3×" "$(le "$memory_ratio" 1.3)"
row "forward step, every view on" "$(share "$forward")% of a frame (${forward} µs)" "≤ 5%" "$(le "$(share "$forward")" 5)"
row "backward step, every view on" "$(share "$backward")% of a frame (${backward} µs)" "≤ 5%" "$(le "$(share "$backward")" 5)"
row "initial screen, every view on" "$(share "$init")% of a frame (${init} µs)" "≤ 5%" "$(le "$(share "$init")" 5)"
echo "$problem_steps" | while read -r name us; do
    [ -n "$us" ] || continue
    row "forward step of $name, every view on" "$(share "$us")% of a frame (${us} µs)" "≤ 5%" "$(le "$(share "$us")" 5)"
done
row "choosing a problem, every view on" "$(share "$choose")% of a frame (${choose} µs)" "≤ 100%" "$(le "$(share "$choose")" 100)"
row "100k queued actions against 10k (quadratic: 100×)" "$(ratio "$queued_large" "$queued_small")×" "≤ 20×" "$(le "$(ratio "$queued_large" "$queued_small")" 20)"
row "automatic run at \"20\": length against 8 s" "${length_off}% (${run_wall} ms)" "within 2%" "$(le "$length_abs" 2)"
row "automatic run at \"20\": CPU against wall" "${cpu_share}% of one core" "≤ 5%" "$(le "$cpu_share" 5)"
if [ -n "${web_bytes:-}" ]; then
    web_ratio=$(ratio "$web_frame" "$kansu_frame")
    web_off=$(awk -v w="$web_wall" 'BEGIN { printf "%.2f", 100 * (w - 8000) / 8000 }')
    web_abs=$(awk -v w="$web_wall" 'BEGIN { d = 100 * (w - 8000) / 8000; printf "%.2f", d < 0 ? -d : d }')
    web_cpu_share=$(awk -v c="$web_cpu" -v w="$web_wall" 'BEGIN { printf "%.2f", 100 * c / w }')
    row "browser: whole site, font included" "$(awk -v b="$web_bytes" 'BEGIN { printf "%.2f MB", b / 1e6 }')" "≤ 1.5 MB" "$(le "$web_bytes" 1500000)"
    row "browser: the site on the wire (Brotli)" "$(awk -v b="$web_wire" 'BEGIN { printf "%.0f kB", b / 1e3 }')" "—" 1
    row "tablet's first visit to the lesson drawn" "${web_first} ms" "≤ 2000 ms" "$(le "$web_first" 2000)"
    row "tablet's later visit to the lesson drawn" "${web_later} ms" "≤ 500 ms" "$(le "$web_later" 500)"
    row "tablet's later visit: requests to the network" "${web_requests}" "≤ 2" "$(le "$web_requests" 2)"
    row "browser: first frame, against the desktop" "${web_ratio}× (${web_frame} / ${kansu_frame} ms)" "≤ 2.5×" "$(le "$web_ratio" 2.5)"
    row "browser: forward step, every view on" "$(share "$web_step")% of a frame (${web_step} µs)" "≤ 5%" "$(le "$(share "$web_step")" 5)"
    echo "$web_out" | awk '$1 == "web_problem_step_us" { print $2, $3 }' | while read -r name us; do
        row "browser: forward step of $name" "$(share "$us")% of a frame (${us} µs)" "≤ 5%" "$(le "$(share "$us")" 5)"
    done
    row "browser: choosing a problem" "$(share "$web_choose")% of a frame (${web_choose} µs)" "≤ 100%" "$(le "$(share "$web_choose")" 100)"
    row "browser: run at \"20\": length against 8 s" "${web_off}% (${web_wall} ms)" "within 2%" "$(le "$web_abs" 2)"
    row "browser: run at \"20\": CPU against wall" "${web_cpu_share}% of one core" "≤ 5%" "$(le "$web_cpu_share" 5)"
fi
