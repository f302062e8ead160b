"""Start-up and shutdown of the launcher: its window, the address book it loads
and saves, and the start that fails at the NAT library."""
import os
import subprocess
import tempfile
import unittest
from pathlib import Path

from harness import paths
from harness.driver import Driver
from harness.poll import eventually
from harness.program import Program, tavrin_files, windows_path
from harness.win32 import IDOK, SC_MINIMIZE
from tavrin import BUTTON_ROW, CODE_PAGES, LauncherTest, awkward_book, ids, section


class StartupTest(LauncherTest):
    high = b"Caf\xe9 \xc9t\xe9"  # Latin letters of code page 1252
    twin = b"cAF\xe9 \xc9T\xe9"  # one section with `high`
    saved = 1000  # sections of the awkward book of 1000 devices after a save
    foreign = "王小明"  # a folder name code page 1252 cannot spell

    def test_book_survives_start_and_close_and_window_is_set_up(self):
        book = awkward_book(1000, self.high, self.twin)
        p = self.start("survive", book)
        before = self.platform_reading(p.folder / "AddressBook.ini")
        self.assertEqual(len(before), 1300)

        main = p.main_window()
        self.assertEqual(main["title"], self.text("title"))
        for id, key in BUTTON_ROW.items():
            self.assertEqual(p.control(id)["text"], self.text(key))

        menu = p.driver.sysmenu(main["hwnd"])
        self.assertTrue(menu[-2]["separator"])
        self.assertEqual((menu[-1]["id"], menu[-1]["text"]), (ids.IDM_ABOUTBOX, self.text("about item")))

        rows = self.rows(p)
        self.assertEqual(len(rows), 1300)
        p.screenshot("started")

        # Enter and Escape do not end the window behind the shutdown's back.
        p.click_like_user(rows[0])
        self.session.xdotool("key", "Return", "Escape")
        self.assertTrue(p.running())

        self.assert_closes(p)
        after = self.platform_reading(p.folder / "AddressBook.ini")
        # The book's repeated names ("Twin 8" beside "TWIN 8", a second "Camera 0", and
        # `twin` beside `high` where that is a change of case) are saved once each, as the
        # platform's writer has them; over-long names and values are cut between characters.
        self.assertEqual(self.as_loaded(after), self.one_per_section(self.as_loaded(before)))
        self.assertEqual(len(after), self.saved)
        # Every key is written now, and PRIORITY, never read back, is empty.
        self.assertFalse(any(" - " in line or line.endswith(" -") for line in after))
        self.assertTrue(all(line.endswith(' ""') for line in after))
        # The save kept the book it replaced, as it was.
        self.assertEqual(sorted(os.listdir(p.folder)),
                         ["AddressBook.ini", "AddressBook.ini.bak", "KXC_IE_NATT.dll", "Tavrin.exe"])
        self.assertEqual((p.folder / "AddressBook.ini.bak").read_bytes(), book)

    def test_utf16_book_survives_start_and_close(self):
        # As another tool writes it: UTF-16 with a byte-order mark, and at the end two names
        # the code page cannot spell, which both read as "??".
        text = awkward_book(100, self.high, self.twin).decode(CODE_PAGES[self.locale])
        text += "[\U0001f600]\r\nUUID=A\r\n[\U0001f601]\r\nUUID=B\r\n"
        p = self.start("utf16", b"\xff\xfe" + text.encode("utf-16-le"))
        before = self.platform_reading(p.folder / "AddressBook.ini")
        self.assertEqual(len(before), 132)
        # Told once, at start-up: the second became a device of its own.
        box = p.driver.msgbox(p.main_window()["hwnd"])
        self.assertEqual(box["text"].split("\n"),
                         [self.text("renamed"), self.text("renamed device").format("??", "?? (2)")])
        p.answer(box, IDOK)
        p.main_window()
        self.assertEqual(len(self.rows(p)), 132)
        self.assert_closes(p)
        after = self.as_loaded(self.platform_reading(p.folder / "AddressBook.ini"))
        self.assertEqual(after[:-2], self.one_per_section(self.as_loaded(before[:-2])))
        # The platform finds no section by a name it read as "??" and gives it the missing
        # keys' values; the launcher reads each section's own, and keeps the two devices
        # apart, the second as "?? (2)".
        self.assertEqual(before[-2:], ["3f3f - - - - - - - -"] * 2)
        self.assertEqual(after[-2:], self.as_loaded(["3f3f - - - - 41 - - -",
                                                     b"?? (2)".hex() + " - - - - 42 - - -"]))

    def test_missing_book_starts_empty_and_close_writes_an_empty_book(self):
        p = self.start("nobook", None)
        p.main_window()
        self.assertEqual(self.rows(p), [])
        self.assert_closes(p)
        self.assertEqual((p.folder / "AddressBook.ini").read_bytes(), b"")

    def test_second_start_of_one_folder_brings_the_first_forward(self):
        book = section(b"Lobby", SERVERIP=b"10.0.0.5")
        p = self.start("onebook", book)
        main = p.main_window()
        p.driver.syscommand(main["hwnd"], SC_MINIMIZE)
        eventually(lambda: p.driver.wait(pid=main["pid"], cls="#32770")["iconic"])
        # The same folder spelled in other letter case is the same book.
        again = windows_path(p.exe).upper()
        try:
            started = subprocess.run(["wine", again], env=self.session.env, timeout=30,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        except subprocess.TimeoutExpired:
            self.fail("a second start of the same folder did not end")
        self.assertEqual(started.returncode, 0)
        mains = [w for w in p.driver.windows(cls="#32770") if w["visible"] and w["owner"] == 0]
        self.assertEqual([w["hwnd"] for w in mains], [main["hwnd"]])
        shown = p.driver.wait(pid=main["pid"], cls="#32770")
        self.assertFalse(shown["iconic"])
        self.assertTrue(shown["foreground"])
        p.screenshot("second-start")
        self.assertEqual(sorted(os.listdir(p.folder)),
                         ["AddressBook.ini", "KXC_IE_NATT.dll", "Tavrin.exe"])
        self.assertEqual((p.folder / "AddressBook.ini").read_bytes(), book)

        # A copy in another folder keeps a book of its own and runs beside the first.
        other = self.start("otherbook", book)
        other_main = other.main_window()
        self.assertNotEqual(other_main["pid"], main["pid"])
        for program in (other, p):
            self.assert_closes(program)

        # Started again and closed without a change, the book keeps its bytes and its time,
        # and the backup stays as it was.
        def files():
            saved = p.folder / "AddressBook.ini"
            return (saved.read_bytes(), saved.stat().st_mtime_ns,
                    (p.folder / "AddressBook.ini.bak").read_bytes(), sorted(os.listdir(p.folder)))
        before = files()
        again = Program(self.session, f"onebook-again-{self.locale}", {}, folder=p.folder)
        self.addCleanup(again.__exit__)
        again.main_window()
        self.assert_closes(again)
        self.assertEqual(files(), before)

    def test_one_device_started_from_the_command_line_and_a_desktop_shortcut(self):
        book = section(b"Front Door", SERVERIP=b"10.0.0.5") + section(b"Lobby", SERVERIP=b"10.0.0.6")
        # The letter case the book does not tell apart names the device too.
        p = self.start("connect", book, args=("--connect", "front door"),
                       **{"Pellix.exe": paths.win_bin() / "Pellix.exe"})
        p.main_window()
        log = p.folder / "Pellix.log"
        addresses = lambda: [line.split("#")[0] for line in
                             (log.read_text("latin-1").splitlines() if log.exists() else [])]
        eventually(lambda: addresses() == ["Pellix.exe IP=10.0.0.5"], timeout=20)
        self.close_viewers(p)

        def second_start(*args: str) -> None:
            """The program started again on its folder; it hands over and ends."""
            done = subprocess.run(["wine", *args], env=self.session.env, timeout=30,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self.assertEqual(done.returncode, 0)

        # Started again on the same book: the running window connects.
        second_start(windows_path(p.exe), "--connect", "Lobby")
        eventually(lambda: addresses()[1:] == ["Pellix.exe IP=10.0.0.6"], timeout=20)
        self.close_viewers(p)
        second_start(windows_path(p.exe), "--connect", "Back Door")
        self.assert_message(p.message_box(), "no device named", "Back Door")
        p.screenshot("no-device-named")
        p.answer(p.message_box(), IDOK)

        # The row's menu makes a shortcut on the desktop (here the test's own folder); started,
        # it connects as the command line did.
        desktop = p.folder / "Desktop"
        desktop.mkdir()
        shell_folders = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders"
        reg = lambda *args: subprocess.run(["wine", "reg", "add", shell_folders, "/v", "Desktop",
                                            "/t", "REG_EXPAND_SZ", "/f", *args],
                                           env=self.session.env, check=True, timeout=60,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        reg("/d", windows_path(desktop))
        self.addCleanup(reg, "/d", r"%USERPROFILE%\Desktop")
        p.click_like_user(self.row(p, "Lobby"), button=3)
        p.click_like_user(next(i for i in p.context_menu()
                               if i["text"] == self.text("row menu")[4]))
        shortcut = desktop / "Lobby.lnk"
        eventually(shortcut.exists, timeout=20)
        second_start("start", "/wait", windows_path(shortcut))
        eventually(lambda: addresses()[2:] == ["Pellix.exe IP=10.0.0.6"], timeout=20)
        self.close_viewers(p)
        self.assert_closes(p)

    def start_in(self, folder, name: str, book: bytes) -> Program:
        """Starts the launcher from `folder`, which already holds the book."""
        folder.mkdir(parents=True, exist_ok=True)
        (folder / "AddressBook.ini").write_bytes(book)
        program = Program(self.session, f"{name}-{self.locale}", tavrin_files(None), folder=folder)
        self.addCleanup(program.__exit__)
        return program

    def test_book_another_program_holds_is_told_and_never_written(self):
        book = awkward_book(50, self.high, self.twin)
        paths.work_root().mkdir(parents=True, exist_ok=True)
        folder = Path(tempfile.mkdtemp(prefix="held-", dir=paths.work_root()))
        path = folder / "AddressBook.ini"
        path.write_bytes(book)
        with Driver(self.session).hold(windows_path(path)):
            p = self.start_in(folder, "held", book)
            box = p.driver.msgbox(p.main_window()["hwnd"])
            self.assertEqual(box["text"],
                             self.text("unreadable").format(windows_path(path), self.text("held")))
            self.assertEqual([b["id"] for b in box["buttons"]], [IDOK])
            p.screenshot("book-held")
            p.driver.click(box["hwnd"], id=IDOK)
            p.wait_exit()
        self.assertEqual(path.read_bytes(), book)
        self.assertEqual(sorted(os.listdir(folder)), ["AddressBook.ini", "KXC_IE_NATT.dll", "Tavrin.exe"])

    def test_folder_the_code_page_cannot_spell_loads_and_saves_the_book(self):
        book = section(b"Lobby", SERVERIP=b"10.0.0.5")
        paths.work_root().mkdir(parents=True, exist_ok=True)
        top = Path(tempfile.mkdtemp(prefix="foreign-", dir=paths.work_root()))
        folder = top / self.foreign / "Tavrin"
        p = self.start_in(folder, "foreign", book)
        # Said once, at start-up: the viewer cannot be started from such a folder.
        box = p.driver.msgbox(p.main_window()["hwnd"])
        self.assertTrue(box["text"].startswith(
            self.text("folder").format(windows_path(folder) + "\\")), box["text"])
        p.screenshot("foreign-folder")
        p.answer(box, IDOK)
        p.main_window()
        self.assertEqual(self.row_texts(p), [["Lobby", "10.0.0.5", "80", ""]])
        self.assert_closes(p)
        self.assertEqual((folder / "AddressBook.ini").read_bytes(), section(
            b"Lobby", SERVERIP=b"10.0.0.5", SERVERPORT=b"80", ACCOUNT=b"admin", PASSWORD=b"tulpo",
            UUID=b"", UUIDIP=b"", UUIDMAC=b"", PRIORITY=b""))
        self.assertEqual((folder / "AddressBook.ini.bak").read_bytes(), book)

    def assert_init_nat_failed(self, p, book: bytes, why: str = ""):
        """The stated box, its text followed by the line `why` when given."""
        # The box comes up from the main window's start-up, before that window is shown.
        box = p.driver.msgbox(p.main_window()["hwnd"])
        self.assertEqual((box["title"], box["text"]),
                         (self.text("message"), self.text("init nat failed") + why))
        self.assertEqual([b["id"] for b in box["buttons"]], [IDOK])
        p.screenshot("init-nat-failed")
        p.driver.click(box["hwnd"], id=IDOK)
        p.wait_exit()
        self.assertEqual((p.folder / "AddressBook.ini").read_bytes(), book)

    def test_library_refusing_to_start_ends_the_program_and_leaves_the_book(self):
        book = section(b"Lobby", SERVERIP=b"10.0.0.5") + b"; hand-written\n[Gate]\n"
        p = self.start("initfail", book, **{"KXC_IE_NATT.directory": b"init-error 7\n"})
        self.assert_init_nat_failed(p, book)

    def test_missing_library_is_named_with_its_folder(self):
        book = section(b"Lobby", SERVERIP=b"10.0.0.5")
        p = self.start("nolibrary", book, without=("KXC_IE_NATT.dll",))
        folder = windows_path(p.folder)
        self.assert_init_nat_failed(p, book, self.text("no library").format(folder))


class ChineseStartupTest(StartupTest):
    locale = "zh"
    high = b"\xa4\x6a\xaa\xf9 \xa4\xa4"  # Big5: two-byte characters, some with ASCII trail bytes
    twin = b"\xa4\x4a\xaa\xf9 \xa4\xa4"  # a second byte J for j: another name in Big5
    saved = 1100
    foreign = "Ħelga"  # Big5 has no such letter


if __name__ == "__main__":
    unittest.main()
