#!/usr/bin/env bash
# Puts the browser's lesson together in one folder that any static web server can serve:
# the page, the core built with emscripten, the font cut down to the characters the lesson
# uses (renamed, as the IPA Font License asks of a derived font) with its licence, the icons,
# the web-app manifest and the service worker that keeps it all for offline use; the page's
# modules put together by esbuild. RELAY names the
# class relay the page speaks to (tools/web/seal-site.sh).
#   [RELAY=wss://…] tools/web/assemble-site.sh NATIVE_BUILD WEB_BUILD
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
native=$(cd "$1" && pwd)
web=$(cd "$2" && pwd)
site="$web/site"
rm -rf "$site"
mkdir -p "$site"

cp "$here"/src/web/site/{index.html,style.css,manifest.webmanifest,boot.js} "$web/src/web/kansu.wasm" "$site/"

# The page's modules, put together by esbuild: the page (app.js), each part loaded when first used
# (授業, 問題, the answers' tally, the QR code) and what they share (shared-*.js). Every part but
# the page is named after its contents: a page left open while a new version is put up asks for
# the parts of its own version, never a new part that would bring a second copy of the lesson
# beside its own. boot.js stays apart, to run as soon as it arrives, and so do the libraries a
# panel loads. Far fewer files reach the browser, which then starts the lesson sooner; the page
# names the files the lesson starts with for the browser to ask for at once.
modules="$web/modules"
rm -rf "$modules"
mkdir -p "$modules"
cp "$here"/src/web/site/*.js "$web/src/web/kansu.js" "$modules/"
(cd "$modules" && "$here/src/web/node_modules/.bin/esbuild" app.js classroom.js problems.js asking.js qr.js \
    --bundle --splitting --format=esm --charset=utf8 --outdir="$site" --entry-names='[name]-[hash]' \
    --chunk-names='shared-[hash]' --external:./boot.js --external:./nats.js --external:./qrcode.js \
    --metafile="$web/modules.json" --log-level=warning)
/usr/bin/python3 - "$web/modules.json" "$site/index.html" <<'PY'
import json, os, sys
outputs = {os.path.basename(path): output for path, output in json.load(open(sys.argv[1]))["outputs"].items()}
page_part = next(name for name, output in outputs.items() if output.get("entryPoint") == "app.js")
# Nothing imports the page, so it alone can keep a name the page's HTML gives.
os.rename(os.path.join(os.path.dirname(sys.argv[2]), page_part), os.path.join(os.path.dirname(sys.argv[2]), "app.js"))
outputs["app.js"] = outputs.pop(page_part)
needed, waiting = [], ["app.js"]
while waiting:
    for imported in outputs[waiting.pop()]["imports"]:
        name = os.path.basename(imported["path"])
        if imported["kind"] == "import-statement" and not imported.get("external") and name not in needed:
            needed.append(name)
            waiting.append(name)
page = open(sys.argv[2], encoding="utf-8").read()
script = '<script type="module" src="app.js"></script>\n'
if page.count(script) != 1:
    sys.exit("assemble-site: the page has no one app.js to preload for")
links = "".join(f'<link rel="modulepreload" href="{name}">\n' for name in sorted(needed))
open(sys.argv[2], "w", encoding="utf-8").write(page.replace(script, script + links))
PY
cp "$native"/web-icons/{icon.svg,icon-192.png,icon-512.png} "$site/"
cp "$here/LICENSE" "$site/LICENSE.txt"
# The QR code of a shared moment is drawn by qrcode-generator (MIT, its notice in the file).
cp "$here/src/web/node_modules/qrcode-generator/dist/qrcode.mjs" "$site/qrcode.js"
# A class speaks to the school's relay with nats.ws (Apache-2.0, its licence beside it).
cp "$here/src/web/node_modules/nats.ws/esm/nats.js" "$site/nats.js"
cp "$here/src/web/node_modules/nats.ws/LICENSE" "$site/NATS-LICENSE.txt"

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

# The service worker is the same for every version: it learns the set from version.json.
cp "$here/src/web/site/sw.js" "$site/sw.js"
"$here/tools/web/seal-site.sh" "$site" "${RELAY:-/relay}"
