"""Serves the browser's lesson on this machine only: serve.py SITE_DIR [PORT].

A file the site holds pre-compressed (name.br, name.gz) is sent so to a browser that takes it,
with the right Content-Encoding, as a school's web server is set up to do (README)."""
import email.utils
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
    # Connections kept open between requests, as a school's web server keeps them.
    protocol_version = "HTTP/1.1"
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
                stat = os.fstat(handle.fileno())
                # Dated as any static server dates a file, so a browser asks again with the date
                # and keeps its copy (and the code it compiled from it) when nothing changed.
                modified = email.utils.formatdate(int(stat.st_mtime), usegmt=True)
                if self.unchanged_since(stat.st_mtime):
                    handle.close()
                    self.send_response(304)
                    self.send_header("Last-Modified", modified)
                    self.send_header("Vary", "Accept-Encoding")
                    self.end_headers()
                    return None
                self.send_response(200)
                self.send_header("Content-Type", self.guess_type(path))
                self.send_header("Content-Encoding", coding)
                self.send_header("Content-Length", str(stat.st_size))
                self.send_header("Last-Modified", modified)
                self.send_header("Vary", "Accept-Encoding")
                self.end_headers()
                return handle
        return super().send_head()

    def unchanged_since(self, mtime: float) -> bool:
        """Whether the request's If-Modified-Since is no earlier than the file's date."""
        since = self.headers.get("If-Modified-Since")
        if not since or "If-None-Match" in self.headers:
            return False
        try:
            when = email.utils.parsedate_to_datetime(since)
        except (TypeError, IndexError, OverflowError, ValueError):
            return False
        return when.tzinfo is not None and int(mtime) <= when.timestamp()

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
    # Port 0 takes a free one; the line says which.
    print(f"serving {site} on http://localhost:{server.server_address[1]}/", flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
