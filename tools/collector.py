#!/usr/bin/env python3
"""The analytics collector for tests: accepts batch posts, decodes them and keeps their records.

    collector.py --port PORT

    POST /collect/<status>/<bin>          decodes the form field data_list (URL encoding, Base64, gunzip,
    POST /collect/<status>/<delay>/<bin>  JSON array), keeps the batch under <bin> and answers <status>,
                                          after <delay> seconds when given
    GET  /batches/<bin>                   JSON: the decoded batches that bin received, in order
    GET  /raw/<bin>/<i>                   the exact decompressed text of batch i of that bin
"""
import argparse
import base64
import gzip
import json
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs

LOCK = threading.Lock()
BINS = {}
RAW = {}


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def answer(self, status, body):
        self.send_response(status)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        parts = self.path.strip("/").split("/")
        if len(parts) == 2 and parts[0] == "batches":
            with LOCK:
                batches = BINS.get(parts[1], [])
            return self.answer(200, json.dumps(batches).encode())
        if len(parts) == 3 and parts[0] == "raw":
            with LOCK:
                texts = RAW.get(parts[1], [])
            i = int(parts[2])
            return self.answer(200, texts[i]) if i < len(texts) else self.answer(404, b"no such batch")
        self.answer(404, b"not found")

    def do_POST(self):
        body = self.rfile.read(int(self.headers.get("Content-Length", 0)))
        parts = self.path.strip("/").split("/")
        if len(parts) not in (3, 4) or parts[0] != "collect":
            return self.answer(404, b"not found")
        status, name = int(parts[1]), parts[-1]
        try:
            form = parse_qs(body.decode("ascii"), strict_parsing=True)
            if form.get("gzip") != ["1"]:
                raise ValueError("gzip=1 missing")
            raw = gzip.decompress(base64.b64decode(form["data_list"][0], validate=True))
            batch = json.loads(raw)
        except Exception as e:  # a malformed post is the client's fault: say what was wrong
            return self.answer(400, f"bad batch: {e}".encode())
        with LOCK:
            RAW.setdefault(name, []).append(raw)
            BINS.setdefault(name, []).append({"status": status, "records": batch,
                                              "agent": self.headers.get("User-Agent", ""),
                                              "cookie": self.headers.get("Cookie", "")})
        if len(parts) == 4:
            time.sleep(float(parts[2]))
        self.answer(status, b"ok" if status == 200 else b"collector refused")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, required=True)
    server = ThreadingHTTPServer(("127.0.0.1", parser.parse_args().port), Handler)
    server.daemon_threads = True
    server.serve_forever()


if __name__ == "__main__":
    main()
