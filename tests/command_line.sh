#!/usr/bin/env bash
# The documented exit statuses and first lines of both programs' command lines.
#   tests/command_line.sh KANSU KANSU_SCRIPT VERSION
set -uo pipefail
kansu=$1 script=$2 version=$3
failed=0
check() { # expected status, expected start of the output (stdout then stderr), command...
    local expected=$1 start=$2
    shift 2
    local output status
    output=$("$@" 2>&1 </dev/null)
    status=$?
    if [ "$status" != "$expected" ] || [[ "$output" != "$start"* ]]; then
        echo "FAIL: $*: status $status (expected $expected), output: ${output%%$'\n'*}"
        failed=1
    else
        echo "ok: $* -> $status"
    fi
}
check 0 "kansu $version" "$kansu" --version
check 0 "Usage: kansu " "$kansu" --help
check 2 "kansu: Unknown option 'bogus'" "$kansu" --bogus
check 2 "kansu: unexpected argument" "$kansu" lesson.txt
check 1 "kansu: no usable display" env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$kansu"
check 1 "kansu: no usable display" env DISPLAY=:4711 QT_QPA_PLATFORM=xcb "$kansu"
# A platform that shows nothing is no display either.
check 1 "kansu: no usable display" timeout 20 env QT_QPA_PLATFORM=offscreen "$kansu"
check 1 "kansu: no usable display" timeout 20 env QT_QPA_PLATFORM=minimal "$kansu"
# Nor a frame buffer that is not there: the platform starts with no screen.
check 1 "kansu: no usable display" timeout 20 env QT_QPA_PLATFORM=linuxfb:fb=/nonexistent "$kansu"
# What cannot be written is no success: a full disk, or no standard output at all.
for program in "$kansu" "$script"; do
    name=$(basename "$program")
    for option in --help --version; do
        check 2 "$name: cannot write the standard output" bash -c "'$program' $option >/dev/full"
        check 2 "$name: cannot write the standard output" bash -c "'$program' $option >&-"
    done
done
# The help names every action.
help=$("$script" --help)
for action in click type maximize restore close during-wait state link png image worksheet; do
    if ! grep -qE "^  ([a-z-]+ \| )?$action( |$)" <<<"$help"; then
        echo "FAIL: kansu-script --help does not list $action"
        failed=1
    fi
done
# The built-in problems as JSON, the lesson's own square first; another problem to start with.
problems=$("$script" --problems)
if ! node -e 'const p = JSON.parse(require("fs").readFileSync(0, "utf8"));
              if (p.length < 6 || p[0].name !== "square" || !p.every((q) => q.vertices && q.points && q.area)) process.exit(1)' \
        <<<"$problems"; then
    echo "FAIL: kansu-script --problems: ${problems:0:200}"
    failed=1
fi
check 2 "line 0: the problem 'nosuch' cannot be used: no such file" "$script" --problem nosuch
check 2 "kansu: the problem nosuch cannot be used: no such file" "$kansu" --problem nosuch
if ! printf 'state\n' | "$script" --problem trapezoid | grep -q '"problem": {"name": "trapezoid"'; then
    echo "FAIL: kansu-script --problem trapezoid"
    failed=1
fi
check 0 "kansu-script $version" "$script" --version
check 0 "Usage: kansu-script " "$script" --help
check 2 "kansu-script: Unknown option 'bogus'" "$script" --bogus
check 2 "kansu-script: one script at most" "$script" a b
# Always offscreen, whatever the environment names.
check 0 "" env -u DISPLAY QT_QPA_PLATFORM=xcb "$script"
# Without a sound font the lesson would draw blank numbers: both programs say so and stop.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
head -c 4000 /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf >"$work/cut.ttf"
for font in "$work/missing.ttf" "$work" "$work/cut.ttf" /dev/zero; do
    check 1 "kansu: the font $font cannot be used" env KANSU_FONT="$font" "$kansu"
    check 2 "line 0: the font $font cannot be used" env KANSU_FONT="$font" "$script"
done
# With no IPA P Gothic at all (the fonts hidden in a mount namespace of the test's own).
if unshare -rm true 2>/dev/null; then
    hidden="mount -t tmpfs none /usr/share/fonts &&"
    check 1 "kansu: the lesson's font, IPA P Gothic, is not installed" \
        unshare -rm sh -c "$hidden exec '$kansu'"
    check 2 "line 0: the lesson's font, IPA P Gothic, is not installed" \
        unshare -rm sh -c "$hidden exec '$script'"
fi
# A font file cut short while the script runs: what was drawn stays, the rest is an error on its
# line, never a bus error.
cp /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf "$work/font.ttf"
mkfifo "$work/lines"
(KANSU_FONT="$work/font.ttf" "$script" <"$work/lines" >"$work/cut.out" 2>&1
 echo $? >"$work/cut.status") &
{
    echo "png kokuban $work/before.png"
    for _ in $(seq 200); do [ -s "$work/before.png" ] && break; sleep 0.05; done
    truncate -s 4000 "$work/font.ttf"
    echo "click Check2"
    echo "png gamen $work/after.png"
} >"$work/lines"
wait
if [ "$(cat "$work/cut.status")" = 2 ] && grep -q "^line [23]: the lesson's font file changed" "$work/cut.out" &&
    [ -s "$work/before.png" ]; then
    echo "ok: a font cut short while the script runs"
else
    echo "FAIL: a font cut short while the script runs: status $(cat "$work/cut.status"), $(head -c 200 "$work/cut.out")"
    failed=1
fi
# A script that cannot be read from its first byte never started.
check 2 "line 0: cannot read script '$work'" "$script" "$work"
# A reader gone away is a failed write (status 2), not a death by SIGPIPE.
check 2 "line 1: cannot write the standard output" bash -c "set -o pipefail; printf 'state\nstate\nstate\n' | '$script' | true"
# Files named for the program's own output are written on it, after what the shell wrote there,
# whether the output is a file or a pipe.
{ echo header; printf 'state /dev/stdout\nlink /dev/stdout\n' | "$script"; echo footer; } >"$work/out.txt"
ln -s /proc/self/fd/1 "$work/mine"
{ printf 'link %s\nclick susumu\nlink\n' "$work/mine" | "$script"; } >"$work/linked.txt"
printf 'state /dev/stdout\n' | "$script" | cat >"$work/piped.txt"
# "-" is the standard output, not a file of that name.
(cd "$work" && printf 'state -\nlink -\n' | "$script" >"$work/dashed.txt")
if [ -e "$work/-" ] || ! grep -q '"controls"' "$work/dashed.txt" ||
    ! grep -q '^#x=0.0&c=000000&s=20$' "$work/dashed.txt"; then
    echo "FAIL: state - and link - write a file named -"
    failed=1
fi
if [ "$(head -1 "$work/out.txt")" = header ] && grep -q '"controls"' "$work/out.txt" &&
    grep -q '^#x=0.0&c=000000&s=20$' "$work/out.txt" && [ "$(tail -1 "$work/out.txt")" = footer ] &&
    [ "$(cat "$work/linked.txt")" = $'#x=0.0&c=000000&s=20\n#x=0.1&c=000000&s=20' ] &&
    grep -q '"controls"' "$work/piped.txt"; then
    echo "ok: state and link to the program's own output"
else
    echo "FAIL: state and link to the program's own output: $(head -c 300 "$work/out.txt")"
    failed=1
fi
exit $failed
