#!/usr/bin/env bash
# Serves the lesson and a class's relay together on this machine: the built site, sealed for the
# relay, on http://localhost:PORT, and nats-server with the project's configuration.
#   tools/web/serve-class.sh SITE CLASS_SITE RELAY PORT
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
site=$1
class_site=$2
relay=$3
port=$4
rm -rf "$class_site"
mkdir -p "$class_site"
find "$site" -maxdepth 1 -type f ! -name '*.br' ! -name '*.gz' -exec cp {} "$class_site/" \;
"$here/tools/web/seal-site.sh" "$class_site" "$relay"
nats-server -c "$here/deploy/relay/nats-server.conf" &
relay_pid=$!
trap 'kill $relay_pid 2>/dev/null || true' EXIT INT TERM
echo "relay: $relay (nats-server, pid $relay_pid)"
python3 "$here/tools/web/serve.py" "$class_site" "$port"
