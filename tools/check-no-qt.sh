#!/usr/bin/env bash
# Fails when any of the given libraries defines or references a Qt class or function.
#   tools/check-no-qt.sh LIBRARY...
set -euo pipefail
found=$(nm -C "$@" | grep -E '(^|[^A-Za-z0-9_])(Q[A-Z][A-Za-z]+|q[A-Z][A-Za-z]+)' || true)
if [ -n "$found" ]; then
    echo "Qt in the core:" >&2
    echo "$found" | head -20 >&2
    exit 1
fi
echo "no Qt symbol in $# libraries"
