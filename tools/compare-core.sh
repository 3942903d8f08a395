#!/usr/bin/env bash
# Plays the same lesson on the native core and on the core built for the browser (run by node),
# and fails unless both report the same state and the same pictures, byte for byte.
#   tools/compare-core.sh NATIVE_CHECK BROWSER_CHECK_JS
set -euo pipefail
native=$("$1")
browser=$(node "$2")
if [ "$native" != "$browser" ]; then
    diff <(echo "$native") <(echo "$browser") | head -20 >&2
    echo "the browser's core differs from the native one" >&2
    exit 1
fi
echo "browser core: same state and pictures as the native core ($(echo "$native" | tail -3 | tr '\n' ' '))"
