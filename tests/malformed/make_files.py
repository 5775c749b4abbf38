#!/usr/bin/env python3
"""Writes the malformed corpus of tests/malformed/ (run from anywhere; the
files are committed, so this only needs running to change them).

Folders name what reads the files:
  archive_index/   archive files (the index of both layouts, then a game that reads from it)
  packed_picture/  picture entries in the engine's packed format
  jpeg/ bmp/       picture files
  definition/      game definitions (_config), as text, played in a tiny game
  sprset/          composite sprite definitions (_sprset), played in a tiny game
  script/          main scripts, played in a tiny game (LF ends a line; bytes as stored)
"""
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))
seeds = os.path.join(here, "..", "..", "fuzz", "corpus")
INT_MIN, INT_MAX = -2147483648, 2147483647


def put(folder, name, data):
    os.makedirs(os.path.join(here, folder), exist_ok=True)
    if isinstance(data, str):
        data = data.encode("latin-1")
    with open(os.path.join(here, folder, name), "wb") as f:
        f.write(data)


def seed(folder, name):
    with open(os.path.join(seeds, folder, name), "rb") as f:
        return f.read()


# --- archive files -------------------------------------------------------
def script_archive(entries, count=None):
    count = len(entries) if count is None else count
    out = struct.pack("<I", count)
    offset = 4 + 24 * len(entries)
    body = b""
    for name, data, fake_offset, fake_size in entries:
        out += name.ljust(16, b"\0")[:16]
        out += struct.pack("<II", offset if fake_offset is None else fake_offset,
                           len(data) if fake_size is None else fake_size)
        offset += len(data)
        body += data
    return out + body


def general_archive(entries, name_field=32, count=None):
    count = len(entries) if count is None else count
    out = struct.pack("<II", count, name_field)
    offset = 8 + (name_field + 8) * len(entries)
    body = b""
    for name, data, fake_offset, fake_size in entries:
        out += name.ljust(name_field, b"\0")[:name_field]
        out += struct.pack("<II", offset if fake_offset is None else fake_offset,
                           len(data) if fake_size is None else fake_size)
        offset += len(data)
        body += data
    return out + body


pic = seed("packed_picture", "run_length_6x4.pic")
good = general_archive([(b"A01", pic, None, None)])
put("archive_index", "empty_file.vsk", b"")
for n in (1, 3, 4, 7, 8, 20, len(good) - 1):
    put("archive_index", f"general_cut_at_{n}.vsk", good[:n])
put("archive_index", "general_count_4g.vsk", general_archive([(b"A01", pic, None, None)], count=0xFFFFFFFF))
put("archive_index", "general_count_int_max.vsk", general_archive([(b"A01", pic, None, None)], count=INT_MAX))
put("archive_index", "general_name_field_0.vsk", general_archive([(b"A01", pic, None, None)], name_field=0))
put("archive_index", "general_name_field_4g.vsk",
    struct.pack("<II", 1, 0xFFFFFFFF) + b"A01\0" + pic)
put("archive_index", "general_offset_past_end.vsk", general_archive([(b"A01", pic, 0x7FFFFFF0, None)]))
put("archive_index", "general_size_past_end.vsk", general_archive([(b"A01", pic, None, 0xFFFFFFFF)]))
put("archive_index", "general_offset_plus_size_wraps.vsk",
    general_archive([(b"A01", pic, 0xFFFFFFF0, 0x20)]))
put("archive_index", "general_name_without_nul.vsk",
    general_archive([(b"A01" + b"X" * 40, pic, None, None)], name_field=8))
put("archive_index", "general_entry_inside_index.vsk", general_archive([(b"A01", pic, 0, 40)]))
put("archive_index", "general_same_name_twice.vsk",
    general_archive([(b"A01", pic[:5], None, None), (b"A01", pic, None, None)]))
sgood = script_archive([(b"main", b"\x9b\x00", None, None)])
put("archive_index", "script_count_4g.vsk", script_archive([(b"main", b"\x9b", None, None)], count=0xFFFFFFFF))
put("archive_index", "script_cut_in_record.vsk", sgood[:13])
put("archive_index", "script_name_16_bytes_no_nul.vsk",
    script_archive([(b"ABCDEFGHIJKLMNOP", b"\x9b", None, None)]))
put("archive_index", "script_offset_past_end.vsk", script_archive([(b"main", b"\x9b", 1 << 31, None)]))
put("archive_index", "script_size_4g.vsk", script_archive([(b"main", b"\x9b", None, 0xFFFFFFFF)]))

# --- packed pictures ---------------------------------------------------------
def packed(flags, bpp, length, first, width, height, body=b""):
    return bytes([0, 0, flags, bpp]) + struct.pack("<IIHH", length, first, width, height) + body


for s in ("run_length_6x4.pic", "dictionary_6x4.pic", "delta_6x4.pic", "delta_run_length_6x4.pic"):
    data = seed("packed_picture", s)
    stem = s[:-4]
    for n in (0, 15, 16, 17, len(data) // 2, len(data) - 1):
        put("packed_picture", f"{stem}_cut_at_{n}.pic", data[:n])
body = pic[16:]
put("packed_picture", "dims_65535x65535.pic", packed(0x40, 3, len(body), 0x28, 65535, 65535, body))
put("packed_picture", "dims_0x0.pic", packed(0x40, 3, len(body), 0x28, 0, 0, body))
put("packed_picture", "length_4g.pic", packed(0x40, 3, 0xFFFFFFFF, 0x28, 6, 4, body))
put("packed_picture", "first_stage_4g.pic", packed(0x40, 3, len(body), 0xFFFFFFFF, 6, 4, body))
put("packed_picture", "bytes_per_pixel_0.pic", packed(0x40, 0, len(body), 0x28, 6, 4, body))
put("packed_picture", "bytes_per_pixel_255.pic", packed(0x40, 255, len(body), 0x28, 6, 4, body))
put("packed_picture", "every_flag.pic", packed(0xFF, 3, len(body), 0x28, 6, 4, body))
put("packed_picture", "copy_before_start.pic", packed(0, 3, 4, 0, 6, 4, b"\xff\xff\xff\xff"))

# --- JPEG ----------------------------------------------------------------
for s in ("baseline_8x8.jpg", "progressive_16x8.jpg", "gray_8x8.jpg"):
    data = seed("jpeg", s)
    stem = s[:-4]
    for n in (2, 20, len(data) // 2, len(data) - 2):
        put("jpeg", f"{stem}_cut_at_{n}.jpg", data[:n])
    for marker in (b"\xff\xc0", b"\xff\xc2"):
        at = data.find(marker)
        if at >= 0:
            for w, h in ((65535, 65535), (0, 8), (8, 0)):
                big = bytearray(data)
                big[at + 5:at + 7] = struct.pack(">H", h)
                big[at + 7:at + 9] = struct.pack(">H", w)
                put("jpeg", f"{stem}_claims_{w}x{h}.jpg", bytes(big))
put("jpeg", "only_start_marker.jpg", b"\xff\xd8")
put("jpeg", "not_a_jpeg.jpg", b"GIF89a" + b"\0" * 20)

# --- BMP -------------------------------------------------------------------
def bmp(width, height, bpp=24, offset=54, pixels=b"", compression=0, header=40):
    info = struct.pack("<IiiHHIIiiII", header, width, height, 1, bpp, compression, len(pixels), 2835, 2835,
                       0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(info) + len(pixels), 0, 0, offset) + info + pixels


row = b"\x10\x20\x30" * 3 + b"\0\0\0"
b = seed("bmp", "bottom_up_3x2.bmp")
for n in (0, 2, 14, 30, 54, len(b) - 1):
    put("bmp", f"bottom_up_cut_at_{n}.bmp", b[:n])
put("bmp", "width_int_max.bmp", bmp(INT_MAX, 2, pixels=row * 2))
put("bmp", "width_int_min.bmp", bmp(INT_MIN, 2, pixels=row * 2))
put("bmp", "height_int_min.bmp", bmp(3, INT_MIN, pixels=row * 2))
put("bmp", "height_int_max.bmp", bmp(3, INT_MAX, pixels=row * 2))
put("bmp", "huge_both.bmp", bmp(100000, 100000, pixels=row * 2))
put("bmp", "offset_past_end.bmp", bmp(3, 2, offset=0x7FFFFFFF, pixels=row * 2))
put("bmp", "eight_bit.bmp", bmp(3, 2, bpp=8, pixels=row * 2))
put("bmp", "compressed.bmp", bmp(3, 2, compression=1, pixels=row * 2))
put("bmp", "header_size_4g.bmp", bmp(3, 2, header=0xFFFFFFFF, pixels=row * 2))

# --- game definitions ---------------------------------------------------------
keys = ["TXW_OFS_X", "TXW_OFS_Y", "TXW_SIZE_X", "TXW_SIZE_Y", "NP_OFS_X", "NP_OFS_Y", "NP_SZ_X", "NP_SZ_Y",
        "CLICK_WAIT_OFS_X", "CLICK_WAIT_SIZE_X", "CLICK_WAIT_PAT", "TX_PITCH_X", "MOJI_MAX_X", "FONT_SIZE",
        "SELECT_Y_PITCH", "TACHI_TYPE", "VKD_GRA", "VOLUME1"]
for key in keys:
    for value, tag in ((INT_MIN, "int_min"), (INT_MAX, "int_max")):
        put("definition", f"{key.lower()}_{tag}.txt", f"{key}:{value}\nTXW_SIZE_X:200\nTXW_SIZE_Y:60\nEND\n")
put("definition", "not_an_integer.txt", "TXW_SIZE_X:12a\nEND\n")
put("definition", "beyond_32_bits.txt", "TXW_SIZE_X:99999999999\nEND\n")
put("definition", "name_entry_int_min.txt", f"NAME:{INT_MIN},a,FFF\nNAME:60,b,FFF\nEND\n")
put("definition", "rectangle_short.txt", "CFG_WM_WIN:1,2\nEND\n")
put("definition", "no_end_no_newline.txt", "TITLE:" + "x" * 3000)
put("definition", "huge_window_and_plate.txt",
    "TXW_SIZE_X:100000\nTXW_SIZE_Y:100000\nNP_SZ_X:65536\nNP_SZ_Y:65536\nEND\n")

# --- composite sprites ---------------------------------------------------------
put("sprset", "offset_int_max.txt", f":C1\nBASE\nPART,{INT_MAX},{INT_MAX}\n:END\n")
put("sprset", "offset_int_min.txt", f":C1\nBASE\nPART,{INT_MIN},{INT_MIN}\n:END\n")
put("sprset", "offset_near_int_max.txt", ":C1\nBASE\nPART,2147483547,2147483547\n:END\n")
put("sprset", "offset_beyond_32_bits.txt", ":C1\nBASE\nPART,99999999999,-99999999999\n:END\n")
put("sprset", "many_parts.txt", ":C1\n" + "BASE\nPART,1,1\n" * 200 + ":END\n")
put("sprset", "no_end.txt", ":C1\nBASE\nPART,5")
put("sprset", "empty_names.txt", ":C1\n,\n,,\n:\n:END\n")
put("sprset", "head_only.txt", ":C1\n")

# --- scripts -------------------------------------------------------------
scripts = {
    "ptset_int_min": "*partsload PARTS\n*ptset 0,0,8,8,-2147483648,-2147483648\n*exitgame\n",
    "ptset_sheet_int_min": "*partsload PARTS\n*ptset -2147483648,-2147483648,2147483647,2147483647,0,0\n",
    "direct_int_min": "*direct A01,10,-2147483648,-2147483648\n*exitgame\n",
    "direct_int_max_wait": "*direct A01,2147483647,0,0\n*exitgame\n",
    "sprite_int_min": "!S080=-2147483648\n!S090=-2147483648\n*spr SPR1\n*exitgame\n",
    "sprite_int_max": "!S080=2147483647\n!S090=2147483647\n*spr SPR1\n*exitgame\n",
    "four_sprites_extremes": "!S086=-2147483648\n!S087=2147483647\n!S088=-2147483648\n!S099=2147483647\n"
                             "*spr SPR1,SPR1,SPR1,SPR1\n*exitgame\n",
    "overlay_int_min": "!S023=0\n*ovr OVL,1,-2147483648,-2147483648\n*exitgame\n",
    "overlay_blend_int_max": "!S023=2147483647\n*ovr OVL,1,2147483647,2147483647\n*exitgame\n",
    "circle_int_min": "*gra SG00 4\n!S020=-2147483648\n!S021=-2147483648\n*gra S0G0 7\n*exitgame\n",
    "gra_mode_huge": "*gra SG00 9999999999\n*exitgame\n",
    "gra_mode_int_min": "*gra SG00 -2147483648\n*exitgame\n",
    "auto_int_min": "!S026=-2147483648\nhello\n\\\n*exitgame\n",
    "auto_2e9": "!S026=2000000000\nhello\n\\\n*exitgame\n",
    "shake_extremes": "*shake -2147483648,2147483647,-2147483648\n*exitgame\n",
    "wait_int_max": "*wait 2147483647\n*exitgame\n",
    "arithmetic_overflow": "!V001=2147483647+1\n!V002=0-2147483647-1\n!V003=V002/0-1\n!V004=V002%0-1\n"
                           "!V005=-2147483648*-1\n*exitgame\n",
    "register_index_huge": "!V999999999=1\n!S-1=2\n!F2147483647=3\n*exitgame\n",
    "goto_missing": "*goto NOWHERE\n",
    "if_without_paren": "*if (V001=0 *exitgame\n*if\n*exitgame\n",
    "cjmp_int_max": "*cjmp 2147483647\n{\n}\n*exitgame\n",
    "unclosed_block": "{\nhello\n",
    "long_line": "x" * 5000 + "\n*exitgame\n",
    "no_final_newline": "*exitgame",
    "lone_lead_byte": "\x82\n\x81\n*exitgame\n",
    "empty_command": "*\n*\n*exitgame\n",
    "picture_name_long": "*gra " + "A" * 300 + " 1\n*exitgame\n",
    "spr_many_commas": "*spr " + "," * 300 + "\n*exitgame\n",
    "spr_unknown_composite": "*spr #NOPE,#,#C\n*exitgame\n",
    "ovr_no_args": "*ovr\n*ovr ,\n*exitgame\n",
    "text_only_page_ends": "\\\n~\n+\n=\n*exitgame\n",
}
for name, text in scripts.items():
    put("script", name + ".txt", text)
