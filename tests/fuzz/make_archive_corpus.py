#!/usr/bin/env python3
"""Writes the seed corpus of the archive fuzz target: blog databases and user
files of both format versions, with objects, shared class tags, wide strings and
a few damaged ones."""
import os
import struct

DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "archive")


def u8(v): return struct.pack("<B", v)
def u16(v): return struct.pack("<H", v)
def u32(v): return struct.pack("<I", v)


def s8(text):
    b = text.encode("utf-8")
    if len(b) < 255:
        return u8(len(b)) + b
    return u8(0xFF) + u16(len(b)) + b


def s16(text):
    b = text.encode("utf-16-le")
    return u8(0xFF) + u16(0xFFFE) + u8(len(b) // 2) + b


def new_class(name):
    return u16(0xFFFF) + u16(0) + u16(len(name)) + name.encode("ascii")


def entry(eid, date, title, thumb=b"", path=""):
    return (u32(eid) + u32(0) + u32(42) + s8(title) + s8("caption") + s8("me") +
            s8("") + s8("") + s8("http://h/p/%d.jpg" % eid) + u32(date) + u32(date) +
            u32(1000) + u16(640) + u16(480) + u8(7) + u8(3) + u8(1) + s8(path) +
            u8(eid == 0) + u8(0) + u32(len(thumb)) + thumb)


def category(cid, name):
    return u32(cid) + s8(name) + s8("") + u8(1) + u8(0)


def comment(oid, eid, text):
    return u32(eid) + u8(0) + u32(oid) + u32(7) + s8(text) + s8("you") + u32(99) + u8(0)


def header(version, url="trips", title="Trips"):
    return (u16(version) + u32(0) + u32(42) + u16(0) + s8(url) + s8("") + s8("") + s8(title) +
            s8("") + s8("") + u16(0) + u8(0) + u8(1) + u16(3) + u16(2) + u8(1) + u16(25) +
            u8(0) + u8(0) + u8(0) + u32(12345) + u16(0) + u32(0xFFFFFFFF))


def database(version):
    jpeg = b"\xff\xd8\xff\xe0" + b"\x00" * 12 + b"\xff\xd9"
    body = header(version)
    body += u16(2) + new_class("CWinBlogEntry") + entry(5, 3000, "beach", jpeg)
    body += u16(0x8001) + entry(0, 2000, "pending", b"", "\\My Documents\\a.jpg")
    body += u16(3) + new_class("CWinBlogAlbum") + category(1, "Sea")
    body += u16(0x8004) + category(2, "sky") + u16(0x8004) + category(0xFFFFFF00, "local")
    body += u16(1) + new_class("CWinBlogComment") + comment(9, 5, "nice")
    body += u16(1) + u16(0x8001) + entry(6, 100, "gone")
    body += u16(0) + u16(1) + u16(0x8008) + comment(10, 5, "old")
    return body


def user(version):
    body = u32(version) + u32(42) + s8("me@example.com") + s8("pw") + u16(1) + u32(500)
    body += u16(2) + s16("trips") + s16("friends")
    if version:
        body += u16(1) + s16("remote")
    return body


def main():
    os.makedirs(DIR, exist_ok=True)
    files = {
        "db_empty": header(1) + u16(0) * 6,
        "db_full": database(1),
        "db_version0": database(0),
        "db_truncated": database(1)[:150],
        "db_back_reference": header(1) + u16(2) + new_class("CWinBlogEntry") + entry(1, 1, "a") +
        u16(2) + u16(0) * 5,
        "db_long_tags": header(1) + u16(1) + u16(0x7FFF) + u32(0x80000001) + u16(0) * 5,
        "user_v1": user(1),
        "user_v0": user(0),
        "user_long_name": u32(1) + u32(1) + s8("x" * 300) + s8("") + u16(0) + u32(0) + u16(0) + u16(0),
    }
    for name, data in files.items():
        with open(os.path.join(DIR, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
