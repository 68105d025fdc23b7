#!/usr/bin/env python3
"""A report written by vrkcli list-range --html is one self-contained UTF-8 page holding the same
lines as the ASCII report of the same list, its text escaped; headless Chromium opens it and draws
the text.

  html_report.py VRKCLI
"""
import html.parser
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

SKIP = 77


class Page(html.parser.HTMLParser):
    """The page's elements, its charset and the text of its <pre>."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.tags, self.charset, self.pre, self.inside = [], None, "", False

    def handle_starttag(self, tag, attrs):
        self.tags.append(tag)
        self.charset = dict(attrs).get("charset", self.charset)
        self.inside = self.inside or tag == "pre"

    def handle_endtag(self, tag):
        self.inside = self.inside and tag != "pre"

    def handle_data(self, data):
        if self.inside:
            self.pre += data


def run(vrkcli, *args):
    done = subprocess.run([vrkcli, *args], capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"vrkcli {' '.join(args)} failed ({done.returncode}): {done.stderr}")
    return done


def drawn_pixels(png):
    """How many bytes of the picture's rows are neither white nor a row's filter byte."""
    with open(png, "rb") as picture:
        data = picture.read()
    if not data.startswith(b"\x89PNG"):
        sys.exit("the screenshot is no PNG picture")
    at, compressed = 8, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        if kind == b"IDAT":
            compressed += data[at + 8:at + 8 + length]
        at += 12 + length
    return sum(1 for byte in zlib.decompress(compressed) if byte not in (0xFF, 0, 1, 2, 3, 4))


def main(vrkcli):
    with tempfile.TemporaryDirectory() as work:
        os.environ["VRK_HOME"] = work
        base = os.path.join(work, "BOOKS")
        run(vrkcli, "new", base, "Title:30:key", "Price:8:sum")
        run(vrkcli, "add", base, 'Title=Café <b>&amp; "x"', "Price=12.50")
        run(vrkcli, "add", base, "Title=Zürich </pre>", "Price=3")
        with open(os.path.join(work, "VRK.INI"), "w") as ini:
            ini.write(f"[Database]\nCurrentDB={base}\n")
        run(vrkcli, "format", "new", "BOOKS", "Title@1:1:30", "Price@1:60:8", "--titles")
        run(vrkcli, "format", "select", base, "BOOKS")
        report, page = os.path.join(work, "books.txt"), os.path.join(work, "books.html")
        run(vrkcli, "list-range", base, "1", "2", "--ascii", report)
        said = run(vrkcli, "list-range", base, "1", "2", "--html", page)
        if not said.stderr.startswith(f"Wrote 2 entries to HTML file: {page}"):
            sys.exit(f"the completion message: {said.stderr!r}")

        with open(report, encoding="cp1252", newline="") as lines:
            ascii_lines = lines.read().replace("\r\n", "\n")
        with open(page, encoding="utf-8") as text:
            parsed = Page()
            parsed.feed(text.read())
        if parsed.charset != "utf-8" or parsed.tags.count("pre") != 1 or "b" in parsed.tags:
            sys.exit(f"the page's elements {parsed.tags}, charset {parsed.charset}")
        if parsed.pre.lstrip("\n") != ascii_lines:
            sys.exit(f"the page's lines:\n{parsed.pre}\nthe ASCII report's:\n{ascii_lines}")
        if any(tag in parsed.tags for tag in ("script", "link", "img")):
            sys.exit("the page is not self-contained")

        browser = shutil.which("chromium")
        if browser is None:
            print("chromium is not installed: the page was parsed but not drawn")
            return SKIP
        picture = os.path.join(work, "books.png")
        subprocess.run([browser, "--headless", "--no-sandbox", "--disable-gpu", f"--screenshot={picture}",
                        "--window-size=800,300", "file://" + page], capture_output=True, timeout=120)
        if not os.path.exists(picture) or drawn_pixels(picture) < 500:
            sys.exit("Chromium drew no text of the page")
    print("the HTML report holds the ASCII report's lines, and Chromium draws them")
    return 0


sys.exit(main(sys.argv[1]))
