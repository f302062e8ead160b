"""What the launcher's end-to-end tests share: address books to start from, the
platform's own reading of a book, and the launcher's controls and texts."""
import subprocess
import tempfile

from harness import paths
from harness.program import Program, tavrin_files, windows_path
from harness.session import SessionTestCase

DEVICE_LIST = 1000
BUTTONS = {1002: ("Add", "新增"), 1003: ("Delete", "刪除"), 1004: ("Edit", "編輯"),
           1033: ("Export", "匯出"), 1034: ("Import", "匯入")}
TITLES = {"en": "Tavrin", "zh": "Tavrin 遠端監看"}
ROW_ORDER = (1002, 1004, 1003, 1033, 1034)  # Add, Edit, Delete, Export, Import
# What the launcher takes for a key missing from a device's section, in the platform
# reading's column order; PRIORITY is never read back.
MISSING_KEY_VALUES = (b"192.168.1.10", b"80", b"admin", b"tulpo", b"", b"", b"")
# The bytes a record keeps of the name and of each value, in the same order.
FIELD_WIDTHS = (31, 63, 7, 31, 31, 127, 63, 31)
# The ANSI code page of each locale's session, and the bytes that lead its double-byte
# characters.
CODE_PAGES = {"en": "cp1252", "zh": "cp950"}
LEAD_BYTES = {"en": b"", "zh": bytes(range(0x81, 0xFF))}


def characters(text: bytes, lead: bytes) -> list:
    """The text's characters as the platform's conversion walks them: a lead byte
    takes the next byte, whatever it is, unless that is a zero or the text ends."""
    chars, at = [], 0
    while at < len(text):
        size = 2 if text[at] in lead and at + 1 < len(text) and text[at + 1] != 0 else 1
        chars.append(text[at:at + size])
        at += size
    return chars


def cut(text: bytes, width: int, lead: bytes) -> bytes:
    """The longest start of the text that fits `width` bytes and ends between two
    characters, as the launcher keeps an over-long name or value."""
    kept = b""
    for char in characters(text, lead):
        if len(kept) + len(char) > width:
            break
        kept += char
    return kept


def section(name: bytes, **values: bytes) -> bytes:
    """One device as the launcher writes it; keys not given are left out."""
    lines = [b"[" + name + b"]"] + [k.encode() + b"=" + v for k, v in values.items()]
    return b"".join(line + b"\r\n" for line in lines)


def awkward_book(count: int, high: bytes, twin: bytes) -> bytes:
    """`count` devices whose names and values test the reader and the writer:
    quotes, blanks that only quotes keep, brackets, '=' and ';', bytes above
    0x7F (`high`, valid in the session's code page, and `twin`, the same name
    but for the case of a byte that is a letter only in a single-byte code
    page), missing keys, empty values, fields filled to their width or beyond,
    and duplicate names."""
    parts = []
    for i in range(count):
        n = str(i).encode()
        kind = i % 10
        if kind == 0:
            parts.append(section(b"Camera " + n, SERVERIP=b"10.0.%d.%d" % (i // 250, i % 250),
                                 SERVERPORT=b"80", ACCOUNT=b"admin", PASSWORD=b"secret",
                                 UUID=b"", UUIDIP=b"", UUIDMAC=b"", PRIORITY=b"Frame"))
        elif kind == 1:
            parts.append(section(b"\"Quoted\" " + n, SERVERIP=b"", PASSWORD=b'" pass "',
                                 ACCOUNT=b"'x'", UUID=b"U" * 127, UUIDIP=b"192.168.1.2"))
        elif kind == 2:
            parts.append(section(b"a=b;c " + n))  # every key missing: the defaults
        elif kind == 3:
            parts.append(section(b" Spaced " + n + b" ", SERVERIP=b"\t 10.1.1.1 ",
                                 PASSWORD=b"\"", ACCOUNT=b"\"\""))
        elif kind == 4:
            parts.append(section(high + b" " + n, ACCOUNT=high, PASSWORD=high + high))
            parts.append(section(twin + b" " + n, SERVERIP=b"4.4.4.4"))
            parts.append(section(n + b" " + high * 5, UUIDMAC=high * 5))  # cut to fit
        elif kind == 5:
            parts.append(section(b"x]y " + n, SERVERPORT=b"65535", UUIDMAC=b"00:11:22:33:44:55"))
        elif kind == 6:
            parts.append(section(b"N" * (31 - len(n)) + n, ACCOUNT=b"A" * 31,
                                 PASSWORD=b"P" * 31, SERVERIP=b"I" * 63))
        elif kind == 7:
            parts.append(section(b"; not a comment " + n, SERVERIP=b"=", UUID=b"[x]"))
        elif kind == 8:
            parts.append(section(b"Twin " + n, SERVERIP=b"1.1.1.1"))
            parts.append(section(b"TWIN " + n, SERVERIP=b"2.2.2.2"))
        else:
            parts.append(section(b"Camera " + str(i - 9).encode(), SERVERIP=b"3.3.3.3"))
    return b"".join(parts)


def assert_main_layout(test, p, client: dict) -> dict:
    """Buttons in one row at the bottom of the client area, the list above with
    20 px margins; returns the controls' rectangles."""
    controls = {c["id"]: c["rect"] for c in p.controls()}
    left = client["left"] + 25
    for id in ROW_ORDER:
        button = controls[id]
        test.assertEqual(button["left"], left, f"button {id}")
        test.assertEqual(button["bottom"], client["bottom"] - 15, f"button {id}")
        left = button["right"] + 10
    height = controls[1003]["bottom"] - controls[1003]["top"]
    test.assertEqual(controls[DEVICE_LIST], {
        "left": client["left"] + 20, "top": client["top"] + 20,
        "right": client["right"] - 20, "bottom": client["bottom"] - 45 - height})
    return controls


class LauncherTest(SessionTestCase):
    """The launcher started in the class's session, with the files it needs."""

    def start(self, name: str, book: bytes | None, without: tuple = (), env: dict | None = None,
              **extra) -> Program:
        """Starts the launcher from a fresh folder holding the shipped files but
        `without`, the book (none if None) and the `extra` name=contents, with
        `env` added to its environment."""
        files = tavrin_files(book, **extra)
        for name_left_out in without:
            del files[name_left_out]
        program = Program(self.session, f"{name}-{self.locale}", files, env=env)
        self.addCleanup(program.__exit__)
        return program

    def platform_reading(self, path) -> list:
        """The book as the platform's own profile functions read it: one line per
        section with the name and the eight values in hex."""
        with tempfile.TemporaryFile() as out:
            subprocess.run(["wine", str(paths.build_root() / "win" / "e2e" / "profiledump.exe"),
                            windows_path(path)], env=self.session.env, stdout=out, check=True,
                           timeout=120)
            out.seek(0)
            return out.read().decode().splitlines()

    def as_loaded(self, reading: list) -> list:
        """The devices the launcher makes of a platform reading: missing keys take
        their defaults, PRIORITY is dropped, and what does not fit a field is cut
        between two characters (a name cut after a blank then reads back without
        it)."""
        devices = []
        for line in reading:
            name, *values = [None if t == "-" else b"" if t == '""' else bytes.fromhex(t)
                             for t in line.split(" ")]
            values = [v if v is not None else d for v, d in zip(values, MISSING_KEY_VALUES)]
            texts = [cut(t, w, self.lead_bytes()) for t, w in zip([name, *values], FIELD_WIDTHS)]
            texts[0] = texts[0].rstrip(b" \t")
            devices.append(" ".join(t.hex() or '""' for t in texts))
        return devices

    def one_per_section(self, devices: list) -> list:
        """What a save keeps of devices as loaded (`as_loaded`): a name that comes
        again in other ASCII letter case or the same is the section its first
        device made, so the file holds it once. Loading gave every device of a
        section that section's values, so which one's values stand does not show.
        Only letters that are characters of their own fold: in Big5, A4 6A and
        A4 4A are two characters."""
        seen, kept = set(), []
        for device in devices:
            name = bytes.fromhex(device.split(" ")[0])
            folded = b"".join(c.lower() if len(c) == 1 else c
                              for c in characters(name, self.lead_bytes()))
            if folded not in seen:
                seen.add(folded)
                kept.append(device)
        return kept

    def lead_bytes(self) -> bytes:
        return LEAD_BYTES[self.locale]

    def english(self) -> bool:
        return self.locale == "en"
