#!/usr/bin/env bash
# Reads the real lesson through the AT-SPI tree, in a D-Bus session of its own.
#   tests/a11y/run.sh KANSU
set -euo pipefail
exec dbus-run-session -- /usr/bin/python3 "$(dirname "$0")/atspi_test.py" "$1"
