#!/usr/bin/env bash
# Runs the browser tests against the site that `make web` puts together; skipped (status 77)
# when there is no site yet. PATTERN runs only the tests whose names match it.
#   tests/web/run.sh SITE KANSU_SCRIPT [PATTERN]
set -euo pipefail
site=$(realpath -m "$1")
script=$(realpath -m "$2")
pattern=${3:-}
if [ ! -f "$site/index.html" ]; then
    echo "no site in $site: run make web first"
    exit 77
fi
cd "$(dirname "$0")"
KANSU_SITE=$site KANSU_SCRIPT=$script exec node --test --test-reporter=spec \
    ${pattern:+--test-name-pattern="$pattern"} lesson.test.mjs class.test.mjs judge.test.mjs
