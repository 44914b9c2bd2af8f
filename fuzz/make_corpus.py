#!/usr/bin/env python3
"""Writes the seed corpus of BarcodeFuzz.cpp into fuzz/corpus (run from anywhere).

Field order and selectors follow TInput in BarcodeFuzz.cpp: flags, type, Modul, Ratio, Angle,
Height, Left, Top, canvas bits, pen colour, brush colour, font size, then the Text.
"""
import pathlib
import struct

CHECKSUM, SHOW_TEXT, PATTERN_ONLY, WRONG_TYPE = 1, 2, 4, 8
NAN, INF, NEG_INF, MAX, LOWEST, DENORM = 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE
INT_MIN, INT_MAX = b"\xfc", b"\xfd"


def raw_int(v):
    return b"\xff" + struct.pack("<i", v)


def raw_double(v):
    return b"\xff" + struct.pack("<d", v)


def case(flags, typ, text, modul=b"\x0a", ratio=b"\x60", angle=b"\x7c", height=b"\x38",
         left=b"\x7a", top=b"\x7a", canvas=b"\x00\x00\xff\x07"):
    """Defaults: Modul 2, Ratio 2.0, Angle 0, Height 40, Left and Top 2, default canvas."""
    return bytes([flags, typ]) + modul + ratio + angle + height + left + top + canvas + text


DATA = [b"12345678", b"1234", b"1234", b"CODE 39", b"Code39 ext!", b"ABC123", b"Hello 128",
        b"123456", b"CODE 93", b"code93 ext", b"1234", b"12345", b"A1234B", b"1234567",
        b"400638133393"]

cases = {}
for typ, data in enumerate(DATA):
    cases[f"type{typ:02}_render"] = case(SHOW_TEXT | CHECKSUM, typ, data)
    cases[f"type{typ:02}_pattern"] = case(PATTERN_ONLY, typ, data)
cases.update({
    "empty_ean13": case(CHECKSUM | SHOW_TEXT, 14, b""),
    "empty_code128c": case(0, 7, b""),
    "empty_codabar": case(PATTERN_ONLY, 12, b""),
    "wrong_type_render": case(WRONG_TYPE | SHOW_TEXT, 0, b"123"),
    "wrong_type_pattern": case(WRONG_TYPE | PATTERN_ONLY, 240, b"123"),
    "bad_data_ean13": case(SHOW_TEXT, 14, b"12A"),
    "bad_data_code128c": case(0, 7, b"12345"),
    "long_code128b": case(SHOW_TEXT, 6, bytes(range(32, 127)) * 4),
    "long_code39ext": case(PATTERN_ONLY, 4, bytes(range(1, 128)) * 3),
    "high_bytes_code93ext": case(SHOW_TEXT, 9, bytes(range(128, 256))),
    "high_bytes_code39": case(SHOW_TEXT | CHECKSUM, 3, bytes(range(128, 256))),
    "ratio_nan": case(SHOW_TEXT, 6, b"nan", ratio=bytes([NAN])),
    "ratio_inf_msi": case(0, 10, b"99", ratio=bytes([INF])),
    "ratio_neg_inf_code93": case(0, 8, b"X", ratio=bytes([NEG_INF])),
    "ratio_max_angle_30": case(0, 6, b"big", modul=b"\x39", ratio=bytes([MAX]), angle=b"\x80"),
    "ratio_raw_negative": case(0, 10, b"123", ratio=raw_double(-1e9)),
    "angle_nan": case(SHOW_TEXT, 14, b"400638133393", angle=bytes([NAN])),
    "angle_inf": case(0, 13, b"1234567", angle=bytes([INF])),
    "angle_lowest": case(0, 3, b"A", angle=bytes([LOWEST])),
    "angle_denorm": case(0, 3, b"A", angle=bytes([DENORM])),
    "angle_90_postnet": case(0, 11, b"55555", angle=b"\x88"),
    "angle_45_raw": case(0, 12, b"A0B", angle=raw_double(45.0), left=b"\x98"),
    "angle_huge_raw": case(0, 0, b"00", angle=raw_double(1e300)),
    "height_negative": case(0, 14, b"1", height=raw_int(-500)),
    "height_int_min": case(0, 11, b"1", height=INT_MIN),
    "height_int_max_angle_10": case(0, 5, b"A", height=INT_MAX, angle=b"\x7e"),
    "modul_refused": case(0, 1, b"12", modul=raw_int(1000)),
    "left_top_far": case(0, 2, b"12", left=raw_int(-(1 << 30)), top=raw_int(1 << 30)),
    "canvas_clear_bold": case(SHOW_TEXT, 8, b"CLEAR", canvas=b"\x1f\x40\x80\x1f"),
    "short_input": bytes([SHOW_TEXT, 14, 0x0a]),
})

out = pathlib.Path(__file__).resolve().parent / "corpus"
out.mkdir(exist_ok=True)
for name, data in cases.items():
    (out / name).write_bytes(data)
print(f"{len(cases)} files in {out}")
