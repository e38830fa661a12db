#!/usr/bin/env python3
"""Writes the seed corpus of every fuzzing harness into fuzz/corpus/<harness>/.

Each seed is laid out as its harness reads its input (see FuzzInput in fuzz/fuzz.h): a text
is its length in one byte (FF: in two more bytes, little-endian) and then its bytes. The
seeds hold Shift-JIS text whose trail bytes are 0x5C (a backslash) and, in broken text,
0x0A or 0x0D; empty inputs; and long ones. Run it again after changing a harness's layout
(it rewrites its own seeds and leaves the other files of the corpus alone):
    python3 fuzz/make_corpus.py
"""
import os
import struct

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")

# Shift-JIS pieces: 表 ソ 能 end in 0x5C; あ; full-width Ａ and ｚ; a half-width ｱ.
HYO, SO, NOU = b"\x95\x5c", b"\x83\x5c", b"\x94\x5c"
A_HIRA, FW_A, FW_Z, HW_A = b"\x82\xa0", b"\x82\x60", b"\x82\x9a", b"\xb1"
LEAD_LF, LEAD_CR = b"\x81\x0a", b"\x82\x0d"  # broken text: a lead byte takes the break


def text(data):
    if isinstance(data, str):
        data = data.encode("ascii")
    if len(data) < 0xFF:
        return bytes([len(data)]) + data
    return b"\xff" + struct.pack("<H", len(data)) + data


def u16(v):
    return struct.pack("<H", v)


def u32(v):
    return struct.pack("<I", v & 0xFFFFFFFF)


def u64(v):
    return struct.pack("<Q", v)


# --- registry records, as fuzz/registry_input.h reads them -------------------------------
NAMES = ["Caption", "Content", "Other", "Flags", "Show", "ShellLimit", "ShellSep",
         "ShellHierarchy", "ShellUserMenu", "DriveType", "FindHistory0", "FindHistory1",
         "FindHistory2", "FindHistory3", "FindHistory4", ""]
KEYS = {"Settings": 0, "ShellExt": 1, "Folder": 2, "User": 3, "App": 5}
REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ = 1, 2, 3, 4, 7


def key(kind, number=None):
    out = bytes([KEYS[kind]])
    if number is not None:
        out += bytes([number])
    return out


def record(kind, name, rtype, data, number=None):
    out = key(kind, number)
    out += bytes([NAMES.index(name)]) if name in NAMES else b"\xc0" + text(name)
    out += bytes([rtype]) if rtype < 0xFF else b"\xff" + u32(rtype)
    return out + text(data)


def sz(s):
    return (s.encode("ascii") if isinstance(s, str) else s) + b"\0"


def folder(n, caption, number, flags=0, show=1):
    return (record("Folder", "Caption", REG_SZ, sz(caption), n) +
            record("Folder", "Other", REG_DWORD, u32(number), n) +
            record("Folder", "Flags", REG_DWORD, u32(flags), n) +
            record("Folder", "Show", REG_DWORD, u32(show), n))


def user(n, caption, content, show=1):
    return (record("User", "Caption", REG_SZ, sz(caption), n) +
            record("User", "Content", REG_SZ, sz(content), n) +
            record("User", "Show", REG_DWORD, u32(show), n))


def shell_settings(limit=1, sep=1, hier=0, usermenu=1):
    return (record("Settings", "ShellLimit", REG_DWORD, u32(limit)) +
            record("Settings", "ShellSep", REG_DWORD, u32(sep)) +
            record("Settings", "ShellHierarchy", REG_DWORD, u32(hier)) +
            record("Settings", "ShellUserMenu", REG_DWORD, u32(usermenu)))


# --- the seeds, harness by harness -------------------------------------------------------
def history_file():
    def entry(data):
        n = len(data)
        if n < 0xFF:
            return bytes([n]) + data
        if n < 0xFFFE:
            return b"\xff" + u16(n) + data
        return b"\xff\xff\xff" + u32(n) + data

    def file(entries):
        return u16(len(entries)) + b"".join(entry(e) for e in entries)

    wide = "表示".encode("utf-16-le")
    return {
        "empty": b"",
        "empty_list": b"\x00\x00",
        "three_entries": file([b"abc\r\ndef", b"", b"x\ty"]),
        "sjis_trail_5c_and_breaks": file([HYO + b"\r\n" + SO + NOU, A_HIRA + LEAD_LF + b"z"]),
        "medium_length_300": file([b"m" * 300]),
        "long_length_65534": file([bytes(range(256)) * 255 + b"\x81\x5c" * 127]),
        "wide_entry": u16(1) + b"\xff\xfe\xff" + bytes([len(wide) // 2]) + wide,
        "wide_medium_length": u16(1) + b"\xff\xfe\xff\xff" + u16(300) +
                              "ア".encode("utf-16-le") * 300,
        "long_count_form": b"\xff\xff" + u32(2) + entry(b"a") + entry(b"b"),
        "impossible_count": b"\xff\xff" + u32(0x10000000) + b"\x00" * 8,
        "count_beyond_bytes": u16(50) + entry(b"a"),
        "cut_in_entry": file([b"abcdef"])[:-2],
        "cut_in_length": u16(1) + b"\xff\x2c",
        "trailing_bytes": file([b"kept"]) + b"\x05ignored",
    }


def history_wide():
    def entry(data, wide=False):
        if wide:
            data = data.encode("utf-16-le")
        return text(data) + bytes([1 if wide else 0])

    def seed(entries, rest=b""):
        return bytes([len(entries)]) + b"".join(entry(*e) for e in entries) + rest

    return {
        "empty": b"",
        "mixed": seed([(b"plain",), ("caf\u00e9 \u2615", True), ("\u3042\u00ff", True),
                       (HYO + b"\r\n",)]),
        "long_original": seed([("\U00020bb7\u91ce\u5bb6 " * 40, True)]),
        "odd_byte": seed([(b"\x01\x02\x03", )]) + b"\x01",
        "rest_is_wide_text": seed([], b"\x03" + "a\u00e9\u301c".encode("utf-16-le")),
        "rest_cut_short": seed([], b"\xff\x2c\x01abc"),
    }


def history_list():
    add = lambda t, cap: b"\x00" + text(t) + bytes([cap])
    insert = lambda t, at: b"\x01" + text(t) + bytes([at])
    remove = lambda at: b"\x02" + bytes([at])
    assign = lambda entries: b"\x03" + bytes([len(entries)]) + b"".join(text(e) for e in entries)
    refuse = lambda op, n: bytes([op[0] | 0x80, n]) + op[1:]
    return {
        "empty": b"",
        "adds_to_capacity": add(b"one", 3) + add(b"two\r\nsecond", 3) + add(b"three", 3) +
                            add(b"four", 3),
        "sjis_lines": add(HYO + b"\n" + SO, 5) + add(LEAD_LF + b"x\ry", 5) +
                      add(b"\r\nstarts with a break", 5) + add(FW_A + LEAD_CR, 5),
        "insert_remove": assign([b"a", b"b\nc", b"d"]) + insert(b"mid" + NOU, 1) + remove(0) +
                         remove(7) + add(b"e", 4),
        "refused_lines": assign([b"x", b"y"]) + refuse(add(b"z", 2), 0) +
                         refuse(assign([b"1", b"2", b"3"]), 1) + refuse(insert(b"w", 0), 0),
        "long_text": add(b"L" * 3000 + b"\r\n" + HYO * 100, 2),
    }


def transforms():
    def seed(flags, quote, fields, date, time, body, when=0):
        out = bytes([flags])
        if flags & 2:
            out += u32(when)
        out += text(quote) + b"".join(u16(f) for f in fields)
        return out + date + time + body

    ok = lambda t: b"\x01" + text(t)
    fail = lambda code: bytes([code << 1]) + text(b"")
    fields = [2024, 3, 5, 14, 9, 30, 15, 250]
    return {
        "empty": b"",
        "quoted_long_date": seed(0x01, b"> ", fields, ok("2024年3月14日".encode("cp932")),
                                 ok(b"9:30"),
                                 b"line one\r\nline two\n" + HYO + b"\n"),
        "short_date_unquoted": seed(0x04, b"| ", fields, ok(b"2024/03/14"), ok(b"09:30"),
                                    b"no break"),
        "date_fails_reported": seed(0x01, b"> ", fields, fail(0), ok(b"9:30"), LEAD_LF + b"\nx"),
        "time_fails_quietly": seed(0x00, b"", fields, ok(b"d"), fail(3), b"\n\n\n"),
        "odd_date_time_value": seed(0x03, SO, fields, ok(b"x"), ok(b"y"), b"a\nb", when=0xFFFFFFFF),
        "long_text": seed(0x01, b">> ", fields, ok(b"d"), ok(b"t"), (b"row\r\n" + NOU) * 600),
    }


def text_helpers():
    def seed(c, max_bytes, pick, body):
        return bytes([ord(c) if isinstance(c, str) else c]) + u16(max_bytes) + bytes([pick]) + body

    return {
        "empty": b"",
        "path_with_5c_trails": seed("\\", 9, 3,
                                    b"C:\\" + HYO + b"\\" + SO + b"\\a" + NOU + b".txt"),
        "ends_with_trail_5c": seed("\\", 5, 1, b"C:\\x" + HYO),
        "ends_with_backslash": seed("\\", 100, 2, b"C:\\" + A_HIRA + b"\\"),
        "broken_line_breaks": seed("\n", 4, 5, b"ab" + LEAD_LF + b"cd" + LEAD_CR + b"\r\nef"),
        "lone_lead_at_end": seed(0x81, 3, 0, b"xy\x81"),
        "cut_inside_pair": seed(".", 3, 7, A_HIRA + A_HIRA + b"." + HW_A),
        "lead_run": seed("\n", 1001, 200, b"\x81" * 2001 + b"\n" + b"\xe0\x0a" * 500),
    }


def registry():
    paths = lambda *ps: b"".join(text(p) for p in (list(ps) + [b""] * 8)[:8])
    std_folders = (folder(0, "Desktop", 0) + folder(1, "Temporary", 0x100) +
                   folder(2, "", 0, flags=0x800) +
                   folder(3, b"System " + "共通".encode("cp932"), 0x25))
    return {
        "empty": b"",
        "no_lists_defaults_stored": b"\x10" + paths(b"C:\\Users\\me\\Desktop", b"C:\\Temp\\",
                                                    b"", b"C:\\Windows\\System32"),
        "folders_and_users": b"\x01" + paths(b"C:\\" + HYO, b"D:\\" + SO + b"\\", b"E:\\x") +
                             std_folders + user(0, "Mail", "me@example.com") +
                             user(1, b"\x95\x5c\x8e\xa6", b"line\r\n" + NOU) +
                             user(2, "", "no caption"),
        "shell_settings": b"\x00" + paths(b"C:\\") + shell_settings() +
                          record("ShellExt", "DriveType", REG_SZ, sz("cygwin")) +
                          record("Settings", "FindHistory0", REG_SZ, sz(b"find " + HYO)) +
                          record("Settings", "FindHistory1", REG_EXPAND_SZ, b"no zero") +
                          record("Settings", "FindHistory2", REG_MULTI_SZ, b"multi\0x\0\0"),
        "bad_values": b"\x02" + paths(b"C:\\a") +
                      record("Folder", "Caption", REG_BINARY, b"bin", 0) +
                      record("Folder", "Other", REG_DWORD, b"\x01\x02\x03", 0) +
                      record("Folder", "Flags", 0x12345678, u32(0x800), 0) +
                      record("User", "Caption", REG_SZ, b"no terminator", 0) +
                      record("User", "Content", REG_MULTI_SZ, b"", 0) +
                      record("Settings", "ShellLimit", REG_DWORD, u32(0)) +
                      record("ShellExt", "DriveType", REG_SZ, b"MinGW-long\0"),
        "long_texts_cut_at_trail_5c": b"\x11" + paths(b"C:\\" + HYO * 200) +
                      record("Folder", "Caption", REG_SZ, b"a" + HYO * 300 + b"\0", 0) +
                      record("User", "Caption", REG_SZ, b"b" * 258 + HYO + b"\0", 0) +
                      record("User", "Content", REG_SZ, b"c" + NOU * 600 + b"\0", 0) +
                      record("User", "Caption", REG_SZ, b"d" * 259 + b"\0", 1) +
                      record("User", "Content", REG_EXPAND_SZ, b"e" * 1023 + b"\0", 1),
        "gap_in_numbers": b"\x00" + paths(b"C:\\") + folder(1, "Lost", 0) + user(0, "u", "v") +
                          user(2, "after gap", "x") + b"\xf2\x00",
    }


def user_string():
    def seed(is_new, caption, content, existing=(), separators=False):
        flags = (1 if is_new else 0) | (2 if separators else 0) | (len(existing) << 5)
        out = bytes([flags]) + text(caption) + text(content)
        return out + b"".join(text(c) + text(v) for c, v in existing)

    return {
        "empty": b"",
        "good_new": seed(True, b"Mail", b"me@example.com", [(b"Other", b"x")]),
        "taken_caption": seed(True, HYO + b"\\", b"x", [(b"a", b"b"), (HYO + b"\\", b"c")]),
        "edited_same_caption": seed(False, b"a", b"b", [(b"a", b"b")]),
        "caption_too_long": seed(True, b"c" * 257, b"x"),
        "content_too_long": seed(True, b"", b"x" * 1024),
        "at_the_limits": seed(True, b"c" * 255 + HYO[:1], NOU * 511 + b"z"),
        "empty_fields": seed(True, b"", b""),
    }


def find():
    def seed(flags, needle, entries, recent, selected, body):
        out = bytes([flags]) + text(needle)
        out += bytes([len(entries)]) + b"".join(text(e) for e in entries)
        out += bytes([len(recent)]) + b"".join(text(r) for r in recent)
        return out + bytes([selected + 1]) + body

    entries = [b"Hello World", HYO + b"abc", b"x" + FW_A + b"BC", b"\x82\x60\x82\x61", b"trail\\\\"]
    return {
        "empty": b"",
        "down_ignoring_case": seed(0x01, b"HELLO", entries, [b"a", b"b"], -1, b"Some TEXT " + FW_Z),
        "up_matching_case": seed(0x02, b"\\", entries, [b"\\"], 4, HYO + b"\\"),
        "trail_5c_not_a_match": seed(0x03, b"\\abc", entries, [], 0, SO + b"abc" + b"\\abc"),
        "full_width_capitals": seed(0x01, FW_A + b"b", entries,
                                    [FW_A + b"B", b"x", b"y", b"z", b"w", b"v"], 1,
                                    b"ABCDEFGHIJKLMNOPQRSTUVWXYZ@[`{" + FW_A * 4 + FW_Z),
        "recent_full": seed(0x00, b"new", entries, [b"1", b"2", b"3", b"4", b"5", b"NEW"], 3, b""),
        "long_ascii_runs": seed(0x01, b"zZ", entries, [], 2,
                                b"AbCdEfGhIjKlMnOpQrStUvWxYz" * 40 + HYO),
    }


def selection():
    def seed(paths1, paths2=(), count=None, style=b"std"):
        flags = len(paths1) | (len(paths2) << 2) | (0x80 if count is not None else 0)
        out = bytes([flags]) + b"".join(text(p) for p in list(paths1) + list(paths2))
        if count is not None:
            out += bytes([count])
        return out + text(style)

    return {
        "empty": b"",
        "one_short_path": seed([b"C:\\WINDOWS\\NOTEPAD.EXE"]),
        "long_names": seed([b"C:\\Program Files\\My Application.exe", b"C:\\a.b.c.d\\x.url"],
                           [b"D:\\LONGFOLDERNAME\\short.txt"], style=b"CYGWIN"),
        "trail_5c_paths": seed([b"C:\\" + HYO + b"\\" + SO + NOU + b".txt",
                                b"C:\\" + A_HIRA * 5 + b"\\" + HYO],
                               style=b"mingw"),
        "network_paths": seed([b"\\\\server\\share\\file.URL"], [b"\\\\x\\y;z"], style=b"sfu"),
        "lone_lead_and_cr": seed([b"C:\\a\x81", b"C:\\b\r\nc", b""], count=5, style=b"SFU"),
        "no_backslash": seed([b"plain", b":", b"\x81"], count=0, style=b""),
        "long_path": seed([b"C:\\" + (b"folder" + HYO + b"\\") * 120 + b"name.url"], count=1),
    }


def url():
    def seed(path, name, address, file):
        return text(path) + text(name) + text(address) + file

    shortcut = b"[InternetShortcut]\r\nURL=http://example.com/\r\nIconIndex=0\r\n"
    return {
        "empty": b"",
        "plain_shortcut": seed(b"C:\\Links\\Example.url", b"Example", b"http://example.com/",
                               shortcut),
        "quoted_spaced_value": seed(b"C:\\My Site.URL", b"My Site", b"mailto:me@example.com",
                                    b"[ internetshortcut ]\n url =  \"http://a.b/c d\"  \r\n"),
        "other_section_first": seed(b"x.url", HYO, b"MAILTO:x",
                                    b"[Other]\nURL=wrong\n[InternetShortcut]\nURL=right\n"),
        "failed_and_zero": seed(b"C:\\a.url.url", b"a", b"b",
                                b"[InternetShortcut]\nURL=Failed!\n\0URL=x\n"),
        "sjis_name_and_long_url": seed(b"C:\\" + HYO + b"\\" + SO + b".url", SO * 600,
                                       b"http://" + NOU * 600,
                                       b"[InternetShortcut]\nURL=http://" + HYO * 1100 + b"\n"),
        "no_section_close": seed(b"", b"", b"", b"[InternetShortcut\nURL=x\n"),
    }


def shell_commands():
    def item(attrs, display, type_name, alt=b"", shell=0, version=None, copyright=None, high=0):
        out = u32(attrs)
        out += u64(0x01D0000000000000) + u64(0x01D1000000000000) + u64(0x01D2000000000000)
        out += (b"\x01" + u32(high)) if high else b"\x00"
        out += u32(123456) + text(alt) + text(display) + text(type_name) + u32(shell)
        out += (b"\x00" + text(version)) if version is not None else b"\x01"
        out += (b"\x00" + text(copyright)) if copyright is not None else b"\x01"
        return out

    def seed(paths, id_range, short_paths, items, dates, times, files, registry=b"",
             count=None, hierarchy=False):
        flags = len(paths) | (0x80 if count is not None else 0) | (0x40 if hierarchy else 0)
        out = bytes([flags]) + b"".join(text(p) for p in paths)
        if count is not None:
            out += bytes([count])
        out += bytes([id_range & 0xFF])
        maybe = lambda v: b"\x01" if v is None else b"\x00" + text(v)
        out += bytes([len(short_paths)]) + b"".join(maybe(p) for p in short_paths)
        out += bytes([len(items)]) + b"".join(b"\x01" if i is None else b"\x00" + i for i in items)
        for answers in (dates, times, files):
            out += bytes([len(answers)]) + b"".join(maybe(a) for a in answers)
        return out + registry

    file_item = item(0x21, b"readme.txt", b"Text Document", alt=b"README.TXT", version=b"1.0",
                     copyright=b"(c) Kestro!")
    folder_item = item(0x10, HYO + b"folder", b"File Folder", shell=0x20000000)
    shortcut = b"[InternetShortcut]\r\nURL=http://example.com/" + HYO + b"\r\n"
    reg = shell_settings() + record("ShellExt", "DriveType", REG_SZ, sz("mingw")) + \
          user(0, "Sig", "-- \r\nme") + user(1, HYO, NOU * 10)
    return {
        "empty": b"",
        "one_file": seed([b"C:\\Docs\\readme.txt"], 40, [b"C:\\DOCS\\README.TXT"], [file_item],
                         [b"2024/03/14"], [b"9:30"], [shortcut], reg),
        "several_with_urls": seed([b"C:\\Links\\a.url", b"C:\\" + HYO + b"\\b.URL", b"C:\\x.txt"],
                                  14,
                                  [None, b"C:\\LINKS\\A.URL"], [file_item, None, folder_item],
                                  [None, b"d"], [b"t"], [shortcut, None], reg, hierarchy=True),
        "no_paths": seed([], 11, [], [], [], [], [], reg, count=0),
        "count_without_paths": seed([b""], 5, [], [], [], [], [], b"", count=3),
        "big_file_unknown_size": seed([b"D:\\" + SO * 200 + b"\\big.iso"], 127, [b"D:\\BIG.ISO"],
                                      [item(0x1, b"big.iso" * 40, b"Disc Image", high=2)],
                                      [b"date" * 100], [None], [b"x" * 3000], reg, hierarchy=True),
        "negative_range": seed([b"C:\\a"], -5, [], [folder_item], [], [], [], reg),
    }


SEEDS = {
    "history_file": history_file,
    "history_wide": history_wide,
    "history_list": history_list,
    "transforms": transforms,
    "text": text_helpers,
    "registry": registry,
    "user_string": user_string,
    "find": find,
    "selection": selection,
    "url": url,
    "shell_commands": shell_commands,
}


def main():
    for target, make in SEEDS.items():
        # Writes its own seeds over; inputs that fuzzing found and that were added by hand stay.
        folder_path = os.path.join(ROOT, target)
        os.makedirs(folder_path, exist_ok=True)
        for name, data in make().items():
            with open(os.path.join(folder_path, name), "wb") as out:
                out.write(data)


if __name__ == "__main__":
    main()
