#!/usr/bin/env bash
# Runs the browser tests against the site that `make web` puts together; skipped (status 77)
# when there is no site yet.
#   tests/web/run.sh SITE KANSU_SCRIPT
set -euo pipefail
site=$1
if [ ! -f "$site/index.html" ]; then
    echo "no site in $site: run make web first"
    exit 77
fi
cd "$(dirname "$0")"
KANSU_SITE=$site KANSU_SCRIPT=$2 exec node --test --test-reporter=spec lesson.test.mjs
