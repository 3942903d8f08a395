#!/usr/bin/env bash
# Finishes a site folder for serving: writes into its page the class relay it speaks to (one
# address, or several of a district's cluster separated by commas; a path such as /relay means the
# site's own host, where the school's web server hands that path to the relay) and lets its
# Content-Security-Policy reach that relay and nothing else; names the set of files after their
# contents (version.json, for the service worker); and pre-compresses each text and the core,
# Brotli and gzip, for a server to send as they are.
#   tools/web/seal-site.sh SITE RELAY
set -euo pipefail
site=$(cd "$1" && pwd)
relay=$2

/usr/bin/python3 - "$site/index.html" "$relay" <<'PY'
import re, sys
path, relay = sys.argv[1], sys.argv[2]
relays = [r for r in re.split(r"[\s,]+", relay) if r]
one = re.compile(r"^(?:wss?://(?:[A-Za-z0-9.-]+|\[[0-9A-Fa-f:.]+\])(?::[0-9]{1,5})?(?:/[A-Za-z0-9._~/-]*)?"
                 r"|/[A-Za-z0-9._~/-]*)$")
if not relays or not all(one.match(r) for r in relays):
    sys.exit(f"seal-site: not a relay address (ws://host[:port][/path], wss://…, or /path): {relay!r}")
page = open(path, encoding="utf-8").read()
page, named = re.subn(r'<meta name="kansu-relay" content="[^"]*">',
                      f'<meta name="kansu-relay" content="{",".join(relays)}">', page)
origins = sorted({re.match(r"^(wss?://[^/]+)", r).group(1) for r in relays if not r.startswith("/")})
page, allowed = re.subn(r"connect-src [^;]*;", "connect-src " + " ".join(["'self'"] + origins) + ";", page)
if named != 1 or allowed != 1:
    sys.exit("seal-site: the page has no relay or no connect-src to write")
open(path, "w", encoding="utf-8").write(page)
PY

# The service worker keeps the files as one set, named in a small version file after their
# contents; the worker itself is the same for every version.
rm -f "$site"/*.br "$site"/*.gz "$site/version.json"
files=$(cd "$site" && ls | grep -v -e '^sw.js$' | sort)
version=$(cd "$site" && cat $files | sha256sum | cut -c1-16)
list=$(printf '"./"'; for f in $files; do printf ', "%s"' "$f"; done)
printf '{"version": "%s", "files": [%s]}\n' "$version" "$list" > "$site/version.json"

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
echo "site: $site (${sizes% *} bytes, ${sizes#* } with Brotli; relay $relay)"
