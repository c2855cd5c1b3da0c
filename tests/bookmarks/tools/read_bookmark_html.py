#!/usr/bin/env python3
"""Reads a bookmark HTML file with Python's own HTML parser, independent of qavex's reader, and
prints one line per link: folder path (joined by "/"), tab, address, tab, title, tab, description."""
import sys
from html.parser import HTMLParser


class BookmarkParser(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.folders = []
        self.pending_folder = None
        self.in_h3 = False
        self.link = None
        self.in_dd = False
        self.links = []

    def handle_starttag(self, tag, attrs):
        if tag == "h3":
            self.in_h3 = True
            self.pending_folder = ""
        elif tag == "dl" and self.pending_folder is not None:
            self.folders.append(self.pending_folder)
            self.pending_folder = None
        elif tag == "dl":
            self.folders.append(None)
        elif tag == "a":
            self.link = [dict(attrs).get("href", ""), ""]
        elif tag == "dd":
            self.in_dd = True
        elif tag == "dt":
            self.in_dd = False

    def handle_endtag(self, tag):
        if tag == "h3":
            self.in_h3 = False
        elif tag == "dl":
            self.folders.pop()
            self.in_dd = False
        elif tag == "a" and self.link:
            path = "/".join(f for f in self.folders if f)
            self.links.append([path, self.link[0], self.link[1], ""])
            self.link = None

    def handle_data(self, data):
        if self.in_h3:
            self.pending_folder += data
        elif self.link is not None:
            self.link[1] += data
        elif self.in_dd and self.links:
            self.links[-1][3] += data


parser = BookmarkParser()
parser.feed(open(sys.argv[1], encoding="utf-8").read())
for path, href, title, description in parser.links:
    print("\t".join([path, href, title.strip(), description.strip()]))
