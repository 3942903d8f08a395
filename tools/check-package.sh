#!/usr/bin/env bash
# Builds the .deb from a build folder and checks its contents and metadata with lintian,
# desktop-file-validate and appstreamcli, and that apt can resolve its dependencies here.
#   tools/check-package.sh BUILD_DIR
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
grep -q '^ Depends: .*qt6-translations-l10n' <<<"$info"
grep -q '^ Section: education$' <<<"$info"

contents=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
for f in ./usr/bin/kansu ./usr/bin/kansu-script \
         ./usr/share/applications/jp.kansu.kansu.desktop \
         ./usr/share/metainfo/jp.kansu.kansu.metainfo.xml \
         ./usr/share/icons/hicolor/scalable/apps/jp.kansu.kansu.svg \
         ./usr/share/icons/hicolor/48x48/apps/jp.kansu.kansu.png \
         ./usr/share/icons/hicolor/256x256/apps/jp.kansu.kansu.png \
         ./usr/share/man/man1/kansu.1.gz ./usr/share/man/man1/kansu-script.1.gz \
         ./usr/share/man/ja/man1/kansu.1.gz ./usr/share/man/ja/man1/kansu-script.1.gz \
         ./usr/share/doc/kansu/copyright ./usr/share/doc/kansu/changelog.gz \
         ./usr/share/doc/kansu/README.md.gz; do
    grep -qx "$f" <<<"$contents" || { echo "missing from the package: $f" >&2; exit 1; }
done

dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/jp.kansu.kansu.desktop"
grep -qx 'StartupWMClass=kansu' "$work/root/usr/share/applications/jp.kansu.kansu.desktop"
# The AppStream file speaks Japanese too: a name, a summary and the description's paragraphs.
metainfo="$work/root/usr/share/metainfo/jp.kansu.kansu.metainfo.xml"
for element in name summary p; do
    grep -q "<$element xml:lang=\"ja\">" "$metainfo" || { echo "no Japanese <$element>" >&2; exit 1; }
done
# Every finding counts, down to the pedantic ones.
appstream=$(appstreamcli validate --no-net --pedantic \
            "$work/root/usr/share/metainfo/jp.kansu.kansu.metainfo.xml" 2>&1) || true
if grep -qE '^[EWIP]:' <<<"$appstream" || ! grep -q 'successful' <<<"$appstream"; then
    echo "$appstream" >&2
    exit 1
fi
# No error and no warning from lintian.
if ! findings=$(lintian --fail-on error,warning --tag-display-limit 0 "$deb" 2>&1); then
    echo "$findings" >&2
    exit 1
fi
# Every dependency is one apt can install here.
apt-get install --simulate -qq "$deb" >/dev/null
echo "package checks passed"
