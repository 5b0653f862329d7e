#!/usr/bin/env python3
"""Writes the saved fuzz inputs: a handful of valid conversations, hand-made.

Each input starts with one byte that tells the fuzz target how to cut the stream into pieces
(0: all at once), followed by frames as they travel on the wire. Run it again after a change of
the frame format; the files it writes are committed.
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def scramble(plain: bytes) -> bytes:
    key, out = 41233, bytearray()
    for byte in plain:
        c = byte ^ ((key >> 8) & 0xFF)
        out.append(c)
        key = ((key + c) * 52711 + 39117) & 0xFFFF
    return bytes(out)


def header(cmd: int, value: int) -> bytes:
    return scramble(struct.pack("<B3xi", cmd, value))


def frame(cmd: int, value: int, payload: bytes = b"", scrambled: bool = True) -> bytes:
    return header(cmd, value) + (scramble(payload) if scrambled else payload)


def text(value: str, width: int) -> bytes:
    raw = value.encode()[: width - 1]
    return raw + bytes(width - len(raw))


def config_record() -> bytes:
    r = bytearray(316)
    r[0] = 3
    struct.pack_into("<HHHH", r, 2, 412, 12301, 12302, 80)
    r[10:26] = text("QV-MY", 16)
    r[90:122] = text("Quorvel \uc8fc\uc2dd\ud68c\uc0ac", 32)
    r[122:154] = text("myrelay", 32)
    r[154:160] = bytes([0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E])
    r[160:172] = bytes([192, 168, 0, 20, 192, 168, 0, 1, 255, 255, 255, 0])
    r[172:237] = text("admin@example.com", 65)
    r[238] = 1
    struct.pack_into("<HiI", r, 242, 5, 500, 1)
    r[252:284] = text("stable", 32)
    r[284:316] = text("pool.ntp.org", 32)
    return bytes(r)


def center_ids(count: int) -> bytes:
    t = bytearray(13130)
    for i in range(count):
        e = 130 * i
        t[e:e + 32] = text(f"center{i}", 32)
        t[e + 32:e + 64] = text("pw", 32)
        t[e + 64:e + 96] = text(f"Operator {i}", 32)
        struct.pack_into("<H", t, e + 96, 1 + i)
        t[e + 98:e + 127] = text("1" if i == 0 else "0", 29)
        t[e + 127] = i & 1
    return bytes(t)


def wol(count: int) -> bytes:
    t = bytearray(10100)
    for i in range(count):
        e = 100 * i
        t[e + 4:e + 36] = text(f"pc{i}", 32)
        t[e + 36:e + 100] = text(f"ab:39:22:44:12:{i:02x}", 64)
    return bytes(t)


def blacklist(count: int) -> bytes:
    out = bytearray()
    for i in range(count):
        e = bytearray(52)
        e[0:33] = text(f"203.0.113.{i}", 33)
        e[33] = 1
        struct.pack_into("<8H", e, 36, *range(i, i + 8))
        out += e
    return bytes(out)


def block_ips(count: int) -> bytes:
    t = bytearray(10100)
    t[0:4] = b"\x01\x02\x03\x04"
    for i in range(count):
        t[4 + 100 * i:4 + 100 * (i + 1)] = text(f"198.51.100.{i}", 100)
    t[10004:] = bytes([0xEE]) * 96
    return bytes(t)


def io_list(count: int) -> bytes:
    t = bytearray(45056)
    for i in range(count):
        e = 44 * i
        t[e + 8] = 0x21
        t[e + 12:e + 44] = text(f"io-{i}", 32)
    return bytes(t)


def schedule(count: int) -> bytes:
    t = bytearray(90112)
    for i in range(count):
        e = 44 * i
        t[e:e + 4] = bytes([i % 4, 1 + i % 4, 1 + i % 7, 0])
        struct.pack_into("<HHi", t, e + 4, 8, 30, 1000 + i)
        t[e + 12:e + 44] = text("io-0", 32)
    return bytes(t)


def text_payload(first: str, second: str = "") -> bytes:
    return bytes(4) + text(first, 32) + text(second, 64)


REPLIES = {
    "logon_and_summary": b"\x00" + frame(1, 150) + frame(2, 0, config_record()),
    "center_ids": b"\x03" + frame(4, 3, center_ids(3)) + frame(5, 101),
    "center_ids_empty": b"\x01" + header(4, 0) + header(4, -1),
    "wol": b"\x07" + frame(6, 2, wol(2)) + frame(7, 101),
    "network": b"\x00" + frame(8, 0, config_record()) + header(10, 102) + header(12, 402),
    "update_steps": b"\x02" + b"".join(header(13, step) for step in range(9)) + header(19, 99),
    "io_schedule": b"\x00" + frame(21, 2, io_list(2)) + frame(22, 3, schedule(3))
    + header(24, 1700000000),
    "blacklist": b"\x05" + frame(27, 3, blacklist(3), scrambled=False) + frame(29, 2, block_ips(2)),
    "blacklist_empty": b"\x00" + header(27, 0) + header(27, -5) + header(31, 101),
    "unknown_codes": b"\x09" + header(9, 1) + header(25, 0) + header(28, 7) + header(200, 13130)
    + header(1, 101),
    "notices": b"\x00" + b"".join(header(cmd, 101) for cmd in (3, 11, 14, 15, 16, 17, 18, 20, 23,
                                                                26, 30)),
    "cut_in_payload": b"\x04" + header(2, 0) + scramble(config_record())[:100],
}

REQUESTS = {
    "logon": b"\x00" + frame(1, 100, text_payload("admin", "secret")) + header(2, 0),
    "write_tables": b"\x03" + frame(5, 3, center_ids(3)) + frame(7, 2, wol(2))
    + frame(30, 2, block_ips(2)),
    "write_empty_tables": b"\x01" + header(5, 0) + header(23, 0) + header(14, 0),
    "network": b"\x00" + frame(10, 100, text_payload("myrelay", "00:1A:2B:3C:4D:5E"))
    + frame(12, 100, config_record()) + frame(26, 100, text_payload("pool.ntp.org"))
    + frame(9, 0, config_record()),
    "uploads": b"\x06" + frame(14, 6, b"GIF89\x01", scrambled=False)
    + frame(20, 4, b"PK\x03\x04", scrambled=False) + frame(15, 5, b"<html", scrambled=False),
    "reads": b"\x00" + b"".join(header(cmd, 101) for cmd in (4, 6, 21, 22, 27, 29, 31))
    + b"".join(header(cmd, 0) for cmd in (8, 13, 16, 18, 19, 24)) + header(17, 1),
    "schedule": b"\x00" + frame(23, 3, schedule(3)),
}


def state_file(admin_id: bytes, password: bytes, center_ids_count: int, record: bytes) -> bytes:
    """A state file in the fuzz target's compact form: " *" stands for a demonstration table."""
    return (b"qvsim-state 1\n"
            + b"admin-id " + admin_id.hex().encode() + b"\n"
            + b"admin-password " + password.hex().encode() + b"\n"
            + b"max-center-ids 20\nauto-update 0\nmac-registered 1\n"
            + b"record " + record.hex().encode() + b"\n"
            + b"blacklist 6 *\nblock-ips 3 *\n"
            + b"center-ids %d *\n" % center_ids_count
            + b"io-list 12 *\nschedule 20 *\nwol 5 *\n")


STATES = {
    "demonstration": state_file(b"admin", b"admin", 6, config_record()),
    "limits": state_file(b"a" * 31, b"p" * 63, 20, bytes(316)),
    "id_too_long": state_file(b"a" * 32, b"admin", 6, config_record()),
    "password_nul": state_file(b"admin", b"\0", 6, config_record()),
    "count_past_limit": state_file(b"admin", b"admin", 21, config_record()),
    "table_written_out": state_file(b"admin", b"admin", 0, config_record()).replace(
        b"wol 5 *", b"wol 1 " + b"a5" * 10100),
}


def write(folder: str, inputs: dict) -> None:
    path = os.path.join(HERE, "corpus", folder)
    os.makedirs(path, exist_ok=True)
    for name, data in inputs.items():
        with open(os.path.join(path, name), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    write("reply_reader", REPLIES)
    write("request_reader", REQUESTS)
    write("state_file", STATES)
