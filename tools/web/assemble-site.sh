#!/usr/bin/env bash
# Puts the browser's lesson together in one folder that any static web server can serve:
# the page, the core built with emscripten, the font cut down to the characters the lesson
# uses (renamed, as the IPA Font License asks of a derived font) with its licence, the icons,
# the web-app manifest and the service worker that keeps it all for offline use.
#   tools/web/assemble-site.sh NATIVE_BUILD WEB_BUILD
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
native=$(cd "$1" && pwd)
web=$(cd "$2" && pwd)
site="$web/site"
rm -rf "$site"
mkdir -p "$site"

cp "$here"/src/web/site/{index.html,style.css,manifest.webmanifest} "$here"/src/web/site/*.js "$site/"
rm -f "$site/sw.js" # written below, with the list of files
cp "$web/src/web/kansu.js" "$web/src/web/kansu.wasm" "$site/"
cp "$native"/web-icons/{icon.svg,icon-192.png,icon-512.png} "$site/"
cp "$here/LICENSE" "$site/LICENSE.txt"
# The QR code of a shared moment is drawn by qrcode-generator (MIT, its notice in the file).
cp "$here/src/web/node_modules/qrcode-generator/dist/qrcode.mjs" "$site/qrcode.js"

# The font: the characters of the lesson and of the page itself.
font=/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf
{
    "$native/tools/web/kansu_web_glyphs"
    cat "$here"/src/web/site/index.html "$here"/src/web/site/*.js
} > "$web/glyphs.txt"
/usr/bin/python3 -m fontTools.subset "$font" --text-file="$web/glyphs.txt" --output-file="$web/subset.ttf" \
    --no-hinting --desubroutinize --name-IDs='*' --name-languages='*' --layout-features='*'
/usr/bin/python3 "$here/tools/web/rename_font.py" "$web/subset.ttf" "$site/kansu-gothic.ttf" \
    "Kansu Gothic"
cp /usr/share/doc/fonts-ipafont-gothic/copyright "$site/FONT-LICENSE.txt"
cat > "$site/FONT-README.txt" <<'TEXT'
kansu-gothic.ttf holds only the characters this lesson shows, taken from IPA P Gothic
(IPAPGothic, ipagp.ttf, as Debian's fonts-ipafont-gothic package ships it) and renamed
"Kansu Gothic", as the IPA Font License Agreement v1.0 asks of a derived program.
The agreement is in FONT-LICENSE.txt. The original font is at https://moji.or.jp/ipafont/.
TEXT

# The service worker keeps the files as one set, named in a small version file after their
# contents; the worker itself is the same for every version.
cp "$here/src/web/site/sw.js" "$site/sw.js"
files=$(cd "$site" && ls | grep -v -e '^sw.js$' | sort)
version=$(cd "$site" && cat $files | sha256sum | cut -c1-16)
list=$(printf '"./"'; for f in $files; do printf ', "%s"' "$f"; done)
printf '{"version": "%s", "files": [%s]}\n' "$version" "$list" > "$site/version.json"

# Each text and the core also pre-compressed, Brotli and gzip, for a server to send as they are
# (make serve does; docs say how a school's web server does).
for f in "$site"/*; do
    case "$f" in
    *.html | *.js | *.css | *.wasm | *.ttf | *.json | *.webmanifest | *.svg | *.txt)
        brotli --quality=11 --force --keep "$f"
        gzip -9 --no-name --force --keep "$f"
        ;;
    esac
done
sizes=$(cd "$site" && for f in *; do
    case "$f" in *.br | *.gz) continue ;; esac
    if [ -f "$f.br" ]; then echo "$(stat -c %s "$f") $(stat -c %s "$f.br")"; else echo "$(stat -c %s "$f") $(stat -c %s "$f")"; fi
done | awk '{ plain += $1; brotli += $2 } END { print plain, brotli }')
echo "site: $site (${sizes% *} bytes, ${sizes#* } with Brotli)"
