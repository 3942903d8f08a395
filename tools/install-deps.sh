#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the benchmarks need.
# Only what is missing is installed, so a second run costs a few seconds.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    build-essential cmake
    qt6-base-dev qt6-svg-dev qt6-l10n-tools qt6-translations-l10n libstb-dev nlohmann-json3-dev
    libgtest-dev googletest libgmock-dev libbenchmark-dev
    fonts-ipafont-gothic
    xvfb xauth xdotool x11-utils libxcb1-dev openbox librsvg2-bin poppler-utils zbar-tools
    python3-pyatspi at-spi2-core dbus-x11
    clang-format
    desktop-file-utils appstream dpkg-dev lintian groff-base
    emscripten clang libclang-rt-14-dev python3-fonttools chromium brotli gzip
    nats-server
)

# Node.js runs the browser tests; Debian's npm only where the system has none.
command -v node >/dev/null 2>&1 || packages+=(nodejs)
command -v npm >/dev/null 2>&1 || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -eq 0 ]; then
        sudo_cmd=()
    elif command -v sudo >/dev/null 2>&1; then
        sudo_cmd=(sudo)
    else
        echo "Need root or sudo to install: ${missing[*]}" >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# puppeteer-core and axe-core for the browser tests, and a NATS client and a WebSocket for the
# class's hostile client and load test, from the npm registry, as the lock file pins them.
if [ ! -d tests/web/node_modules/puppeteer-core ] || [ ! -d tests/web/node_modules/axe-core ] ||
    [ ! -d tests/web/node_modules/nats ] || [ ! -d tests/web/node_modules/ws ]; then
    (cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
fi

# The page's QR codes come from qrcode-generator and its class's relay client from nats.ws, built
# into the site, and its modules are put together by esbuild, as the lock file pins them.
if [ ! -f src/web/node_modules/qrcode-generator/dist/qrcode.mjs ] || [ ! -f src/web/node_modules/nats.ws/esm/nats.js ] ||
    [ ! -x src/web/node_modules/.bin/esbuild ]; then
    (cd src/web && npm ci --no-audit --no-fund --loglevel=error)
fi
