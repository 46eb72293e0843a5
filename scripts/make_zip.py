#!/usr/bin/env python3
"""Writes a zip for Windows users: entry names in GBK without the UTF-8
flag, which is how Explorer's zip view on Chinese Windows (7 to 11) reads
them (in the OEM code page, 936 there); Windows 7 ignores the UTF-8 flag.
Each entry also carries the Info-ZIP Unicode path field (0x7075) for tools
that read it on other systems. Entries are deflated; all get one time stamp,
so the same inputs give the same bytes.

usage: make_zip.py OUT.zip SECONDS NAME=PATH...   (NAME in UTF-8)
"""
import struct
import sys
import time
import zlib


def dos_time(seconds):
    t = time.gmtime(seconds)
    year = max(t.tm_year, 1980)
    return (t.tm_hour << 11) | (t.tm_min << 5) | (t.tm_sec // 2), \
        ((year - 1980) << 9) | (t.tm_mon << 5) | t.tm_mday


def unicode_path_field(gbk_name, utf8_name):
    body = struct.pack('<BI', 1, zlib.crc32(gbk_name)) + utf8_name
    return struct.pack('<HH', 0x7075, len(body)) + body


def main(args):
    if len(args) < 3 or any('=' not in a for a in args[2:]):
        sys.exit(__doc__)
    out, seconds, entries = args[0], int(args[1]), args[2:]
    mod_time, mod_date = dos_time(seconds)
    archive, central = bytearray(), bytearray()
    for entry in entries:
        name, path = entry.split('=', 1)
        gbk_name, utf8_name = name.encode('gbk'), name.encode('utf-8')
        extra = unicode_path_field(gbk_name, utf8_name) if gbk_name != utf8_name else b''
        with open(path, 'rb') as f:
            data = f.read()
        packer = zlib.compressobj(9, zlib.DEFLATED, -15)
        packed = packer.compress(data) + packer.flush()
        crc = zlib.crc32(data)
        offset = len(archive)
        # Version 2.0 made on MS-DOS (FAT): names in the OEM code page.
        # Flags 0: no UTF-8 flag, sizes in the header.
        common = struct.pack('<HHHHHIIIHH', 20, 0, 8, mod_time, mod_date, crc,
                             len(packed), len(data), len(gbk_name), len(extra))
        archive += b'PK\x03\x04' + common + gbk_name + extra + packed
        central += (b'PK\x01\x02' + struct.pack('<H', 20) + common +
                    struct.pack('<HHHII', 0, 0, 0, 0x20, offset) + gbk_name + extra)
    end = struct.pack('<4sHHHHIIH', b'PK\x05\x06', 0, 0, len(entries), len(entries),
                      len(central), len(archive), 0)
    with open(out, 'wb') as f:
        f.write(archive + central + end)


if __name__ == '__main__':
    main(sys.argv[1:])
