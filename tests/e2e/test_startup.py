"""Start-up and shutdown of the launcher: its window, the address book it loads
and saves, and the start that fails at the NAT library."""
import os
import unittest

from tavrin import (BUTTONS, DEVICE_LIST, TITLES, LauncherTest, awkward_book, one_per_section,
                    section)

ABOUT_COMMAND = 16


class StartupTest(LauncherTest):
    high = b"Caf\xe9 \xc9t\xe9"  # Latin letters of code page 1252

    def test_book_survives_start_and_close_and_window_is_set_up(self):
        book = awkward_book(1000, self.high)
        p = self.start("survive", book)
        before = self.platform_reading(p.folder / "AddressBook.ini")
        self.assertEqual(len(before), 1100)

        main = p.main_window()
        self.assertEqual(main["title"], TITLES[self.locale])
        language = 0 if self.english() else 1
        for id, texts in BUTTONS.items():
            self.assertEqual(p.control(id)["text"], texts[language])

        menu = p.driver.sysmenu(main["hwnd"])
        self.assertTrue(menu[-2]["separator"])
        self.assertEqual((menu[-1]["id"], menu[-1]["text"]), (ABOUT_COMMAND, "About Zorvale(&A)..."))

        rows = p.driver.listview(main["hwnd"], id=DEVICE_LIST)["rows"]
        self.assertEqual(len(rows), 1100)
        p.screenshot("started")

        # Enter and Escape do not end the window behind the shutdown's back.
        p.click_like_user(rows[0])
        self.session.xdotool("key", "Return", "Escape")
        self.assertTrue(p.running())

        p.close()
        self.assertEqual(p.wait_exit(), 0)
        after = self.platform_reading(p.folder / "AddressBook.ini")
        # The book's 200 repeated names ("Twin 8" beside "TWIN 8", a second "Camera 0") are
        # saved once each, as the platform's writer has them.
        self.assertEqual(self.as_loaded(after), one_per_section(self.as_loaded(before)))
        self.assertEqual(len(after), 900)
        # Every key is written now, and PRIORITY, never read back, is empty.
        self.assertFalse(any(" - " in line or line.endswith(" -") for line in after))
        self.assertTrue(all(line.endswith(' ""') for line in after))
        self.assertEqual(sorted(os.listdir(p.folder)),
                         ["AddressBook.ini", "KXC_IE_NATT.dll", "Tavrin.exe"])

    def test_missing_book_starts_empty_and_close_writes_an_empty_book(self):
        p = self.start("nobook", None)
        main = p.main_window()
        self.assertEqual(p.driver.listview(main["hwnd"], id=DEVICE_LIST)["rows"], [])
        p.close()
        self.assertEqual(p.wait_exit(), 0)
        self.assertEqual((p.folder / "AddressBook.ini").read_bytes(), b"")

    def assert_init_nat_failed(self, p, book: bytes):
        # The box comes up from the main window's start-up, before that window is shown.
        box = p.driver.msgbox(p.main_window()["hwnd"])
        if self.english():
            self.assertEqual((box["title"], box["text"]), ("Message", "Init NAT failed."))
        else:
            self.assertEqual((box["title"], box["text"]), ("訊息", "初始化NAT失敗。"))
        self.assertEqual([b["id"] for b in box["buttons"]], [1])
        p.screenshot("init-nat-failed")
        p.driver.click(box["hwnd"], id=1)
        p.wait_exit()
        self.assertEqual((p.folder / "AddressBook.ini").read_bytes(), book)

    def test_library_refusing_to_start_ends_the_program_and_leaves_the_book(self):
        book = section(b"Lobby", SERVERIP=b"10.0.0.5") + b"; hand-written\n[Gate]\n"
        p = self.start("initfail", book, **{"KXC_IE_NATT.directory": b"init-error 7\n"})
        self.assert_init_nat_failed(p, book)

    def test_missing_library_is_a_failed_start_not_a_crash(self):
        book = section(b"Lobby", SERVERIP=b"10.0.0.5")
        p = self.start("nolibrary", book, without=("KXC_IE_NATT.dll",))
        self.assert_init_nat_failed(p, book)


class ChineseStartupTest(StartupTest):
    locale = "zh"
    high = b"\xa4\x6a\xaa\xf9 \xa4\xa4"  # Big5: two-byte characters, some with ASCII trail bytes


if __name__ == "__main__":
    unittest.main()
