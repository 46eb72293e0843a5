#!/usr/bin/env python3
"""Reads a download zip back with Python's own zip reader and checks what
Windows users get: exactly the exe and the Chinese instructions, names in
GBK without the UTF-8 flag (with a matching Unicode path field), intact
data, the exe byte for byte the given one, and instructions that Notepad
on Windows 7 shows right (UTF-8 with a byte-order mark, CR LF only).

usage: check_zip.py ZIP EXE VERSION       exit 1 with the reasons otherwise
"""
import struct
import sys
import zipfile
import zlib

EXE_NAME = 'fenlodar.exe'
TEXT_NAME = '使用说明.txt'


def unicode_path(extra):
    """The UTF-8 name and its CRC from a 0x7075 field, or None."""
    while len(extra) >= 4:
        field, size = struct.unpack('<HH', extra[:4])
        body = extra[4:4 + size]
        if field == 0x7075 and size >= 5 and body[0] == 1:
            return body[5:], struct.unpack('<I', body[1:5])[0]
        extra = extra[4 + size:]
    return None


def problems(zip_path, exe_path, version):
    found = []
    with zipfile.ZipFile(zip_path) as z:
        infos = z.infolist()
        # Without the UTF-8 flag the reader decodes names as code page 437.
        raw = [i.orig_filename.encode('cp437') if not i.flag_bits & 0x800
               else i.orig_filename.encode('utf-8') for i in infos]
        want = [EXE_NAME.encode('gbk'), TEXT_NAME.encode('gbk')]
        if raw != want:
            return [f'entries {raw!r}, expected {want!r} (GBK)']
        for info, name in zip(infos, raw):
            if info.flag_bits & 0x800:
                found.append(f'{name!r} has the UTF-8 flag')
            if info.create_system != 0:
                found.append(f'{name!r} not marked as made on MS-DOS/Windows')
        field = unicode_path(infos[1].extra)
        if field != (TEXT_NAME.encode('utf-8'), zlib.crc32(raw[1])):
            found.append(f'Unicode path field of {TEXT_NAME}: {field!r}')
        bad = z.testzip()
        if bad is not None:
            found.append(f'{bad!r} is damaged')
        with open(exe_path, 'rb') as f:
            if z.read(infos[0]) != f.read():
                found.append(f'{EXE_NAME} differs from {exe_path}')
        text = z.read(infos[1])
        if not text.startswith(b'\xef\xbb\xbf'):
            found.append(f'{TEXT_NAME} has no UTF-8 byte-order mark')
        try:
            text.decode('utf-8')
        except UnicodeDecodeError as e:
            found.append(f'{TEXT_NAME} is not UTF-8: {e}')
        if text.count(b'\n') != text.count(b'\r\n') or text.count(b'\r') != text.count(b'\r\n'):
            found.append(f'{TEXT_NAME} has line ends other than CR LF')
        if version.encode() not in text:
            found.append(f'{TEXT_NAME} does not name version {version}')
    return found


def main(args):
    if len(args) != 3:
        sys.exit(__doc__)
    found = problems(*args)
    for p in found:
        print(f'{args[0]}: {p}', file=sys.stderr)
    sys.exit(1 if found else 0)


if __name__ == '__main__':
    main(sys.argv[1:])
