#!/usr/bin/env bash
# Builds the .deb from a build folder and checks its contents and metadata, and that apt can
# resolve its dependencies on this system.   tools/check-package.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/kansu_*.deb)
echo "package: $(basename "$deb")"

info=$(dpkg-deb -I "$deb")
grep -q '^ Package: kansu$' <<<"$info"
grep -q '^ Depends: .*libqt6widgets6' <<<"$info"
grep -q '^ Depends: .*fonts-ipafont-gothic' <<<"$info"
grep -q '^ Section: education$' <<<"$info"

contents=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
for f in ./usr/bin/kansu ./usr/bin/kansu-script \
         ./usr/share/applications/jp.kansu.Kansu.desktop \
         ./usr/share/metainfo/jp.kansu.Kansu.metainfo.xml \
         ./usr/share/icons/hicolor/scalable/apps/jp.kansu.Kansu.svg \
         ./usr/share/icons/hicolor/48x48/apps/jp.kansu.Kansu.png \
         ./usr/share/icons/hicolor/256x256/apps/jp.kansu.Kansu.png; do
    grep -qx "$f" <<<"$contents" || { echo "missing from the package: $f" >&2; exit 1; }
done

dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/jp.kansu.Kansu.desktop"
appstreamcli validate --no-net --pedantic "$work/root/usr/share/metainfo/jp.kansu.Kansu.metainfo.xml"
# Every dependency is one apt can install here.
apt-get install --simulate -qq "$deb" >/dev/null
echo "package checks passed"
