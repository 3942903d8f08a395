"""Serves the browser's lesson on this machine only: serve.py SITE_DIR [PORT].

A file the site holds pre-compressed (name.br, name.gz) is sent so to a browser that takes it,
with the right Content-Encoding, as a school's web server is set up to do (README)."""
import functools
import http.server
import os
import sys

ENCODINGS = (("br", ".br"), ("gzip", ".gz"))


def accepted(header: str) -> set:
    """The content codings a request's Accept-Encoding allows (a q of 0 refuses one)."""
    codings = set()
    for part in header.split(","):
        name, _, params = part.strip().partition(";")
        quality = params.strip()
        if quality.startswith("q=") and quality[2:].strip() in ("0", "0.0", "0.00", "0.000"):
            continue
        if name:
            codings.add(name.strip().lower())
    return codings


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".wasm": "application/wasm",
        ".js": "text/javascript",
        ".webmanifest": "application/manifest+json",
        ".ttf": "font/ttf",
        ".svg": "image/svg+xml",
        ".json": "application/json",
    }

    def send_head(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path):
            if not self.path.split("?", 1)[0].endswith("/"):
                return super().send_head()
            path = os.path.join(path, "index.html")
        codings = accepted(self.headers.get("Accept-Encoding", ""))
        for coding, suffix in ENCODINGS:
            if coding in codings and os.path.isfile(path + suffix):
                handle = open(path + suffix, "rb")
                size = os.fstat(handle.fileno()).st_size
                self.send_response(200)
                self.send_header("Content-Type", self.guess_type(path))
                self.send_header("Content-Encoding", coding)
                self.send_header("Content-Length", str(size))
                self.send_header("Vary", "Accept-Encoding")
                self.end_headers()
                return handle
        return super().send_head()

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
