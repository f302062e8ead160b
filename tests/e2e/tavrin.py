"""What the launcher's end-to-end tests share: its control ids and texts,
address books to start from, the platform's own reading of a book, and the
steps every test takes with the launcher's windows."""
import re
import subprocess
import tempfile
from types import SimpleNamespace

from harness import paths
from harness.driver import NotFound
from harness.program import Program, tavrin_files, windows_path
from harness.session import SessionTestCase


def resource_ids(header) -> SimpleNamespace:
    """The numbers a resource header #defines, by their names: ids.IDC_DEVICE_LIST."""
    defines = re.findall(r"^#define\s+(ID\w+)\s+(0x[0-9A-Fa-f]+|\d+)\s*$", header.read_text(),
                         re.MULTILINE)
    return SimpleNamespace(**{name: int(value, 0) for name, value in defines})


# The ids the launcher is built with, so a renumbered control needs no change here.
ids = resource_ids(paths.REPO / "resources" / "resource.h")
# The button row, left to right, and the text each button's key has in TEXTS.
BUTTON_ROW = {ids.IDC_ADD_BUTTON: "add button", ids.IDC_EDIT_BUTTON: "edit button",
              ids.IDC_DELETE_BUTTON: "delete button", ids.IDC_EXPORT_BUTTON: "export button",
              ids.IDC_IMPORT_BUTTON: "import button"}
FORM_FIELDS = ("name", "ip", "port", "user", "password", "uuid")
# The edit boxes of the Add and the Edit form by field.
ADD_FORM = {f: getattr(ids, f"IDC_ADD_{f.upper()}_EDIT") for f in FORM_FIELDS}
EDIT_FORM = {f: getattr(ids, f"IDC_EDIT_{f.upper()}_EDIT") for f in FORM_FIELDS}

# What the launcher says, English and Traditional Chinese side by side (one text: the
# same in both); {} is what it fills in.
TEXTS = {
    # The main window, its menus and the About box.
    "title": ("Tavrin", "Tavrin 遠端監看"),
    "add button": ("Add", "新增"), "delete button": ("Delete", "刪除"),
    "edit button": ("Edit", "編輯"), "export button": ("Export", "匯出"),
    "import button": ("Import", "匯入"),
    "row menu": (["&Connect\tEnter", "&Edit\tF2", "&Delete\tDel", "Chec&k devices\tF5",
                  "Create desktop s&hortcut", "Devices on this &LAN..."],
                 ["連線(&C)\tEnter", "編輯(&E)\tF2", "刪除(&D)\tDel", "檢查裝置(&K)\tF5",
                  "建立桌面捷徑(&H)", "區域網路上的裝置(&L)..."]),
    "space menu": (["&Add\tCtrl+N", "Chec&k all devices", "Devices on this &LAN..."],
                   ["新增(&A)\tCtrl+N", "檢查所有裝置(&K)", "區域網路上的裝置(&L)..."]),
    # Checking devices: the status column, its progress and what it says of a device.
    "stop check": ("&Stop checking\tEsc", "停止檢查(&S)\tEsc"),
    "status": ("Status", "狀態"), "checking": ("{} of {}", "{} / {}"),
    "ok": ("OK", "正常"), "wrong password": ("Wrong password", "密碼錯誤"),
    "no answer": ("No answer", "沒有回應"), "on the lan": ("On the LAN", "在區域網路上"),
    "not on the lan": ("Not on the LAN", "不在區域網路上"),
    "about item": "About Zorvale(&A)...",
    "about title": "About Zorvale",
    "about version": "Zorvale 1.0.8.6 Version",
    "about program": ("Tavrin remote viewing launcher", "Tavrin 遠端監看程式"),
    # The forms and what they refuse.
    "add form": ("Add Device", "新增裝置"), "edit form": ("Edit Device", "編輯裝置"),
    "message": ("Message", "訊息"),
    "required": ("The required field cannot be empty.", "必填欄位不能為空。"),
    "exists": ("The device name is exist.", "設備名字已存在。"),
    "select": ("Please select one device at least.", "請至少選擇一個設備。"),
    "confirm": ("Are you sure to delete devices?", "您確定要刪除設備嗎？"),
    "device gone": ("The device \"{}\" is no longer in the address book: another Tavrin sharing "
                    "the file has deleted or renamed it. Nothing has been changed.",
                    "通訊錄中已沒有裝置「{}」：共用此檔案的另一個 Tavrin 已將它刪除或改名。未做任何變更。"),
    "not saved": ("The address book {} could not be saved. The file on disk is as it was before.",
                  "無法儲存通訊錄 {}。磁碟上的檔案維持原來的內容。"),
    "not saved at close": ("The address book {} could not be saved, so closing now would lose the "
                           "changes made since it was last saved.\n\nRetry to save it again, or "
                           "Cancel to keep Tavrin open.",
                           "無法儲存通訊錄 {}，現在關閉將會遺失上次儲存之後的變更。\n\n按「重試」再儲存一次，"
                           "或按「取消」讓 Tavrin 保持開啟。"),
    # What the book did to keep every device, told once after a load or a save.
    "renamed": ("These devices were given a name of their own, so that two devices do not become "
                "one:", "下列裝置已改用各自的名稱，以免兩個裝置合併成一個："),
    "renamed device": ('"{}" is now "{}"', "「{}」現在名為「{}」"),
    # Export and import, and the platform's pickers they open.
    "exported": ("Export file is successful.", "匯出檔案成功。"),
    "export failed": ("Export file is failed.", "匯出檔案失敗。"),
    "imported": ("Import file is successful.", "匯入檔案成功。"),
    "import failed": ("Import file is failed.", "匯入檔案失敗。"),
    "folder picker button": "Select folder",
    "file picker": "Select File",
    "file type": "ini files",
    # Start-up.
    "unreadable": ("The address book {} could not be read: {}\n\nThe file has been left as it "
                   "is. Tavrin will close now; start it again once the file can be read.",
                   "無法讀取通訊錄 {}：{}\n\n檔案保持原狀，未被更改。Tavrin 即將關閉，請在檔案可讀取後再重新開啟。"),
    "held": ("another program is using it.", "另一個程式正在使用此檔案。"),
    "folder": ("The name of Tavrin's folder {} cannot be written in this system's language "
               "settings.", "Tavrin 所在資料夾 {} 的名稱無法以本系統的語言設定表示。"),
    "init nat failed": ("Init NAT failed.", "初始化NAT失敗。"),
    "no library": ("\nKXC_IE_NATT.dll could not be loaded from {}. It must be in the same folder "
                   "as Tavrin.exe.", "\n無法從 {} 載入 KXC_IE_NATT.dll。它必須與 Tavrin.exe 放在同一個資料夾。"),
    # Connecting, and the devices on the LAN.
    "connect failed": ("Connect failed.({})", "連線失敗。({})"),
    "device unknown": ("Device is not exist.({})", "設備不存在。({})"),
    "captcha error": ("Captcha error.({})", "認證碼錯誤。({})"),
    "lan dialog": ("Devices on this LAN", "區域網路上的裝置"),
    "searching": ("Searching the LAN...", "正在搜尋區域網路..."),
    "found": ("Devices found: {}", "找到的裝置：{}"),
    "no device named": ('There is no device named "{}" in the address book.',
                        "通訊錄中沒有名為「{}」的裝置。"),
    "in the book": ("In the book", "已在通訊錄中"), "new": ("New", "新裝置"),
}
LANGUAGES = ("en", "zh")  # the order of TEXTS' pairs


def text(key: str, locale: str):
    """What the launcher says for `key` of TEXTS in the locale's language."""
    said = TEXTS[key]
    return said if isinstance(said, str) else said[LANGUAGES.index(locale)]

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


class LauncherTest(SessionTestCase):
    """The launcher started in the class's session, with the files it needs."""

    def start(self, name: str, book: bytes | None, without: tuple = (), env: dict | None = None,
              args: tuple = (), **extra) -> Program:
        """Starts the launcher from a fresh folder holding the shipped files but
        `without`, the book (none if None) and the `extra` name=contents, with
        `env` added to its environment and `args` on its command line."""
        files = tavrin_files(book, **extra)
        for name_left_out in without:
            del files[name_left_out]
        program = Program(self.session, f"{name}-{self.locale}", files, env=env, args=args)
        self.addCleanup(program.__exit__)
        return program

    def text(self, key: str):
        """What the launcher says for `key` of TEXTS in the session's language."""
        return text(key, self.locale)

    def rows(self, p: Program, hwnd: int | None = None, id: int = ids.IDC_DEVICE_LIST) -> list:
        """A list's rows, [{texts, selected, rect}]: the main window's device list
        unless another window or list is named."""
        return p.driver.listview(hwnd or p.main["hwnd"], id=id)["rows"]

    def row_texts(self, p: Program, hwnd: int | None = None,
                  id: int = ids.IDC_DEVICE_LIST) -> list:
        return [r["texts"] for r in self.rows(p, hwnd, id)]

    def row(self, p: Program, name: str, hwnd: int | None = None,
            id: int = ids.IDC_DEVICE_LIST) -> dict:
        """The first row whose first column is `name`."""
        return next(r for r in self.rows(p, hwnd, id) if r["texts"][0] == name)

    def sort_arrows(self, p: Program) -> list:
        """The device list header's arrow per column: 'up', 'down' or ''."""
        return p.driver.listview(p.main["hwnd"], id=ids.IDC_DEVICE_LIST)["sort"]

    def viewers(self, p: Program) -> list:
        """The viewer's windows on the screen, whichever launcher started them."""
        return [w for w in p.driver.windows(exe="Pellix.exe") if w["visible"]]

    def close_viewers(self, p: Program) -> None:
        """Closes the viewers on the screen, so that they cover nothing the next click needs."""
        for viewer in self.viewers(p):
            try:
                p.driver.close(viewer["hwnd"])
            except NotFound:
                pass  # it closed on its own meanwhile

    def assert_main_layout(self, p: Program, dpi: int = 96) -> None:
        """Buttons in one row at the bottom of the client area, the list above with
        20 px margins: pixels at 96 DPI, as many more as the window's `dpi` makes them."""
        def px(pixels: int) -> int:
            return (pixels * dpi + 48) // 96
        client = p.frame()["client"]
        controls = {c["id"]: c["rect"] for c in p.controls()}
        left = client["left"] + px(25)
        for id in BUTTON_ROW:
            button = controls[id]
            self.assertEqual(button["left"], left, f"button {id}")
            self.assertEqual(button["bottom"], client["bottom"] - px(15), f"button {id}")
            left = button["right"] + px(10)
        height = controls[ids.IDC_DELETE_BUTTON]["bottom"] - controls[ids.IDC_DELETE_BUTTON]["top"]
        self.assertEqual(controls[ids.IDC_DEVICE_LIST], {
            "left": client["left"] + px(20), "top": client["top"] + px(20),
            "right": client["right"] - px(20),
            "bottom": client["bottom"] - px(15) - px(30) - height})

    def assert_message(self, box: dict, key: str, *values) -> None:
        """A message box of the launcher's saying TEXTS' `key`, filled with `values`."""
        self.assertEqual((box["title"], box["text"]),
                         (self.text("message"), self.text(key).format(*values)))

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
