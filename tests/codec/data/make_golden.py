#!/usr/bin/env python3
"""Writes the binary halves of the golden pairs (golden*.bin.dfm).

The forms are described below as plain Python data and encoded straight from the
byte layout of binary form streams, without the program's own codec, so that the
pairs are independent evidence for both conversions. The text halves
(golden*.txt.dfm) are written by hand and are not touched by this script.

Run it from any folder:  python3 tests/codec/data/make_golden.py
"""

import os
import struct
from fractions import Fraction

# Value tags.
NULL, LIST, INT8, INT16, INT32, EXTENDED, SHORT_STRING, IDENT, FALSE, TRUE, BINARY, SET, \
    LONG_STRING, NIL, COLLECTION, SINGLE, CURRENCY, DATE, WIDE_STRING, INT64, UTF8_STRING, DOUBLE = range(22)

INHERITED, CHILD_POSITION, INLINE = 1, 2, 4


# --- values -------------------------------------------------------------------
# Each helper returns the complete bytes of one value, tag included.

def integer(v):
    if -128 <= v <= 127:
        return bytes([INT8]) + struct.pack('<b', v)
    if -32768 <= v <= 32767:
        return bytes([INT16]) + struct.pack('<h', v)
    if -2**31 <= v < 2**31:
        return bytes([INT32]) + struct.pack('<i', v)
    return bytes([INT64]) + struct.pack('<q', v)


def short_string(s):
    assert len(s) <= 255
    return bytes([len(s)]) + s


def utf8_units(text):
    """UTF-8 of each UTF-16 code unit on its own, as the stream format does it."""
    units = text.encode('utf-16-le')
    out = bytearray()
    for i in range(0, len(units), 2):
        u = units[i] | units[i + 1] << 8
        if u < 0x80:
            out.append(u)
        elif u < 0x800:
            out += bytes([0xC0 | u >> 6, 0x80 | u & 0x3F])
        else:
            out += bytes([0xE0 | u >> 12, 0x80 | u >> 6 & 0x3F, 0x80 | u & 0x3F])
    return bytes(out)


def string(text):
    """A string value with its tag chosen by content (code page 1252)."""
    n = len(text.encode('utf-16-le')) // 2
    u = utf8_units(text)
    if len(u) < 2 * n:
        try:
            a = text.encode('cp1252')
        except UnicodeEncodeError:
            a = None
        if a == u:
            if len(a) <= 255:
                return bytes([SHORT_STRING]) + short_string(a)
            return bytes([LONG_STRING]) + struct.pack('<i', len(a)) + a
        return bytes([UTF8_STRING]) + struct.pack('<i', len(u)) + u
    return bytes([WIDE_STRING]) + struct.pack('<i', n) + text.encode('utf-16-le')


def ident(name):
    special = {'FALSE': FALSE, 'TRUE': TRUE, 'NULL': NULL, 'NIL': NIL}
    if name.upper() in special:
        return bytes([special[name.upper()]])
    return bytes([IDENT]) + short_string(name.encode('ascii'))


def extended(decimal_text):
    """The 80-bit extended float nearest to the decimal number, rounding half to even."""
    x = Fraction(decimal_text)
    if x == 0:
        return bytes([EXTENDED]) + bytes(10)
    sign = 0x8000 if x < 0 else 0
    x = abs(x)
    e = x.numerator.bit_length() - x.denominator.bit_length()
    while Fraction(2) ** e > x:
        e -= 1
    while Fraction(2) ** (e + 1) <= x:
        e += 1
    m = x / Fraction(2) ** e * 2 ** 63
    q, r = divmod(m.numerator, m.denominator)
    if 2 * r > m.denominator or (2 * r == m.denominator and q & 1):
        q += 1
    if q == 2 ** 64:
        q >>= 1
        e += 1
    return bytes([EXTENDED]) + q.to_bytes(8, 'little') + (sign | (e + 16383)).to_bytes(2, 'little')


def single(decimal_text):
    return bytes([SINGLE]) + struct.pack('<f', float(Fraction(decimal_text)))


def currency(raw):
    return bytes([CURRENCY]) + struct.pack('<q', raw)


def date(decimal_text):
    return bytes([DATE]) + struct.pack('<d', float(Fraction(decimal_text)))


def binary(data):
    return bytes([BINARY]) + struct.pack('<i', len(data)) + data


def set_of(*names):
    return bytes([SET]) + b''.join(short_string(n.encode('ascii')) for n in names) + b'\0'


def list_of(*values):
    return bytes([LIST]) + b''.join(values) + b'\0'


def properties(props):
    return b''.join(short_string(name.encode('ascii')) + value for name, value in props) + b'\0'


def collection(*items):
    """Items are (index or None, [(name, value), ...])."""
    out = bytearray([COLLECTION])
    for index, props in items:
        if index is not None:
            out += integer(index)
        out.append(LIST)
        out += properties(props)
    out.append(NULL)
    return bytes(out)


# --- objects --------------------------------------------------------------------

def obj(class_name, name, props, children=(), flags=0, position=None):
    out = bytearray()
    if flags:
        out.append(0xF0 | flags)
        if flags & CHILD_POSITION:
            out += integer(position)
    out += short_string(class_name.encode('ascii'))
    out += short_string(name.encode('ascii'))
    out += properties(props)
    for child in children:
        out += child
    out.append(NULL)
    return bytes(out)


def stream(root):
    return b'TPF0' + root


# --- the golden forms -------------------------------------------------------------

def golden1():
    """A root with an integer, a string with a quote and a line break, a list, a
    collection with an indexed second item, binary data, an extended value, a child."""
    return stream(obj('TForm1', 'Form1', [
        ('Left', integer(8)),
        ('Caption', string("It's\r\ndone")),
        ('Tags', list_of(integer(1), string('two'))),
        ('Cols', collection((None, [('Width', integer(10))]), (2, [('Width', integer(20))]))),
        ('Data', binary(bytes([0x0A, 0x0B, 0x0C]))),
        ('Ratio', extended('1.5')),
    ], children=[
        obj('TButton', 'Button1', [('Left', integer(4))]),
    ]))


def golden2():
    """An inherited form with an inline frame, child positions, sets, collections,
    identifiers and nested lists."""
    return stream(obj('TMainForm', 'MainForm', [
        ('Caption', string('Main window')),
        ('Anchors', set_of('akLeft', 'akTop', 'akRight')),
        ('Options', set_of()),
        ('Font.Name', string('Tahoma')),
        ('Font.Style', set_of('fsBold')),
        ('Tag', integer(-129)),
        ('Big', integer(4294967296)),
        ('Visible', ident('True')),
        ('Enabled', ident('False')),
        ('PopupMenu', ident('nil')),
        ('Value', ident('Null')),
        ('Owner', ident('MainForm.Frame1')),
        ('Columns', collection(
            (300, [('Title', string('First')), ('Flags', set_of('cfSort'))]),
            (None, [('Title', string('Second')), ('Items', collection())]),
        )),
        ('Matrix', list_of(list_of(integer(1), integer(2)), list_of(), ident('alNone'))),
    ], children=[
        obj('TFrame1', 'Frame1', [('Align', ident('alClient'))], children=[
            obj('TLabel', 'Label1', [('Width', integer(32768))], flags=INHERITED | CHILD_POSITION, position=2),
        ], flags=INLINE | CHILD_POSITION, position=0),
        obj('TTimer', '', [('Interval', integer(1000)), ('OnTimer', ident('TimerTick'))]),
        obj('TPanel', 'Panel2', [], flags=INHERITED),
    ], flags=INHERITED))


def golden3():
    """Long and wide strings, 100 bytes of binary data, and every kind of number."""
    caption = ('The quick brown fox jumps over the lazy dog, and then it jumps ba'
               'ck again to see whether the dog has noticed anything at all.')
    notes = 'Line one\r\nLine two\tand a tab; ' + "quotes: 'single'" + ' and more text to pass the limit'
    blob = bytes((i * 37 + 11) & 0xFF for i in range(100))
    return stream(obj('TDataForm', 'DataForm', [
        ('Caption', string(caption)),
        ('Notes', string(notes)),
        ('Greeting', string('Gr\u00fc\u00dfe aus K\u00f6ln \u2014 100 \u20ac')),
        ('Cafe', string('caf\u00e9 au lait')),
        ('Euro', string('\u20ac')),
        ('Quote', string("'")),
        ('Empty', string('')),
        ('Blob', binary(blob)),
        ('Short', binary(bytes([0xDE, 0xAD, 0xBE, 0xEF]))),
        ('Ratio', extended('0.125')),
        ('Negative', extended('-2.5')),
        ('Big', extended('1.234567890123457E17')),
        ('Huge', extended('1E20')),
        ('Tiny', extended('1E-17')),
        ('Scale', single('1.5')),
        ('Third', single('0.333333343267441')),
        ('Price', currency(15000)),
        ('Debt', currency(-123456789)),
        ('When', date('38718.5')),
        ('Soon', date('1E-5')),
        ('MaxInt64', integer(9223372036854775807)),
        ('MinInt64', integer(-9223372036854775808)),
    ]))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, make in (('golden1', golden1), ('golden2', golden2), ('golden3', golden3)):
        with open(os.path.join(here, name + '.bin.dfm'), 'wb') as f:
            f.write(make())


if __name__ == '__main__':
    main()
