"""Serves the browser's lesson on this machine only: serve.py SITE_DIR [PORT]."""
import functools
import http.server
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".wasm": "application/wasm",
        ".js": "text/javascript",
        ".webmanifest": "application/manifest+json",
        ".ttf": "font/ttf",
        ".svg": "image/svg+xml",
    }

    def end_headers(self) -> None:
        # Always ask again, so a new build shows at once; the service worker keeps the copy.
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()


def main() -> None:
    site = sys.argv[1]
    port = int(sys.argv[2]) if len(sys.argv) > 2 else 8080
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", port), functools.partial(Handler, directory=site)
    )
    print(f"serving {site} on http://localhost:{port}/", flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
