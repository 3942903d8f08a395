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
check 0 "kansu-script $version" "$script" --version
check 0 "Usage: kansu-script " "$script" --help
check 2 "kansu-script: Unknown option 'bogus'" "$script" --bogus
check 2 "kansu-script: one script at most" "$script" a b
# Always offscreen, whatever the environment names.
check 0 "" env -u DISPLAY QT_QPA_PLATFORM=xcb "$script"
exit $failed
