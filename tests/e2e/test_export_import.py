"""Exporting and importing the address book through the real pickers: a folder
chosen in the folder picker for an export, a path typed into the file-open
picker for an import, and the message that tells the outcome."""
import os
import shutil
import tempfile
import time
import unittest
from pathlib import Path

from harness.poll import eventually, eventually_equal
from harness.program import Program, tavrin_files, windows_path
from harness.win32 import FILE_LIST, FILE_NAME_BOX, FILE_TYPE_LIST, IDCANCEL, IDOK
from tavrin import EDIT_FORM, LauncherTest, ids, section

BOOK = (section(b"Lobby", SERVERIP=b"10.0.0.5", SERVERPORT=b"8080", ACCOUNT=b"admin",
                PASSWORD=b"pw1", UUID=b"", UUIDIP=b"", UUIDMAC=b"", PRIORITY=b"Quality")
        + section(b"Cloud", SERVERIP=b"", SERVERPORT=b"80", ACCOUNT=b"viewer", PASSWORD=b"pw2",
                  UUID=b"KX7Q2M9D4HB3", UUIDIP=b"192.168.1.9", UUIDMAC=b"00:11:22:33:44:55")
        + section(b"Gate", SERVERIP=b"10.0.0.6"))
NAMES = ["Lobby", "Cloud", "Gate"]
OTHER_BOOK = (section(b"Yard", SERVERIP=b"10.0.0.8", PRIORITY=b"Frame")
              + b"; written by hand\r\n[Dock]\r\n"
              + section(b"Yard", SERVERIP=b"10.0.0.9"))


class ExportImportTest(LauncherTest):
    def start_with(self, name: str, book: bytes, **extra):
        self.p = self.start(name, book, **extra)
        self.main = self.p.main_window()
        return self.p

    def drive_c_folder(self, length: int = 0) -> tuple:
        """A fresh folder on the prefix's drive C: (the folder picker selects
        nothing on Wine's Z: drive), nested until its Windows path is `length`
        characters long: its Unix path and its Windows path."""
        drive_c = Path(self.session.env["WINEPREFIX"]) / "drive_c"
        folder = Path(tempfile.mkdtemp(prefix=f"tavrin-e2e-{self.locale}-", dir=drive_c))
        self.addCleanup(shutil.rmtree, folder, True)
        windows = lambda: "C:\\" + str(folder.relative_to(drive_c)).replace("/", "\\")
        while len(windows()) < length:
            folder = folder / ("d" * min(60, length - len(windows()) - 1))
            folder.mkdir()
        return folder, windows()

    def names(self) -> list:
        return [r[0] for r in self.row_texts(self.p)]

    def button(self, dialog: dict, id: int) -> dict:
        """A dialog's push button by id; other controls of the pickers share ids 1 and 2."""
        return next(c for c in self.p.controls(dialog["hwnd"])
                    if c["id"] == id and c["class"] == "Button" and c["visible"])

    def press(self, dialog: dict, id: int):
        self.p.driver.click(self.button(dialog, id)["hwnd"])

    def expect_message(self, key: str, label: str):
        """The outcome's message box, checked, captured and closed."""
        box = self.p.message_box()
        self.assert_message(box, key)
        self.assertEqual([b["id"] for b in box["buttons"]], [IDOK])
        self.p.screenshot(label)
        self.p.answer(box, IDOK)

    def open_folder_picker(self) -> dict:
        self.p.driver.click(self.main["hwnd"], id=ids.IDC_EXPORT_BUTTON)
        picker = self.p.driver.wait(pid=self.main["pid"], cls="#32770",
                                    exclude=[self.main["hwnd"]])
        self.assertEqual(picker["owner"], self.main["hwnd"])
        self.assertIn(self.text("folder picker button"),
                      [c["text"] for c in self.p.controls(picker["hwnd"])])
        return picker

    def export_to(self, windows_folder: str, outcome: str, label: str):
        picker = self.open_folder_picker()
        self.p.driver.select_folder(picker["hwnd"], windows_folder)
        self.p.screenshot(f"{label}-folder-picker")
        self.press(picker, IDOK)
        self.p.driver.gone(picker["hwnd"])
        self.expect_message(outcome, label)

    def open_file_picker(self) -> dict:
        self.p.driver.click(self.main["hwnd"], id=ids.IDC_IMPORT_BUTTON)
        picker = self.p.dialog(self.text("file picker"))
        self.assertEqual(picker["owner"], self.main["hwnd"])
        self.assertEqual(self.p.control(FILE_TYPE_LIST, picker["hwnd"])["text"], self.text("file type"))
        return picker

    def type_and_open(self, picker: dict, text: str):
        self.p.driver.set_text(picker["hwnd"], text, id=FILE_NAME_BOX)
        self.press(picker, IDOK)

    def import_from(self, typed: str, outcome: str, label: str):
        picker = self.open_file_picker()
        self.type_and_open(picker, typed)
        self.p.driver.gone(picker["hwnd"])
        self.expect_message(outcome, label)

    def edit_first_row(self):
        """A new password for the first row's device: the form also sets its priority."""
        self.p.click_like_user(self.rows(self.p)[0])
        self.p.driver.click(self.main["hwnd"], id=ids.IDC_EDIT_BUTTON)
        form = self.p.dialog(self.text("edit form"))
        self.p.driver.set_text(form["hwnd"], "pw9", id=EDIT_FORM["password"])
        self.p.answer(form, IDOK)

    def close(self) -> bytes:
        self.assert_closes(self.p)
        return (self.p.folder / "AddressBook.ini").read_bytes()

    def test_export_then_import_restores_the_devices_in_order(self):
        p = self.start_with("roundtrip", BOOK, **{"other.ini": OTHER_BOOK})
        self.edit_first_row()
        book = p.folder / "AddressBook.ini"
        saved = eventually(lambda: b"PRIORITY=Frame\r\n" in book.read_bytes() and book.read_bytes())
        self.assertTrue(saved.startswith(b"[Lobby]\r\nSERVERIP=10.0.0.5\r\n"))

        folder, windows_folder = self.drive_c_folder()
        self.export_to(windows_folder, "exported", "export")
        # The copy is the saved book, PRIORITY included, and nothing else is left beside it.
        self.assertEqual((folder / "AddressBook.ini").read_bytes(), saved)
        self.assertEqual(os.listdir(folder), ["AddressBook.ini"])
        # The save kept the book it replaced.
        self.assertEqual((p.folder / "AddressBook.ini.bak").read_bytes(), BOOK)

        self.import_from(windows_path(p.folder / "other.ini"), "imported", "import-other")
        self.assertEqual(self.names(), ["Yard", "Dock", "Yard"])
        # An export over the first keeps that one beside it, from where it comes back.
        self.export_to(windows_folder, "exported", "export-over")
        self.assertEqual((folder / "AddressBook.ini.bak").read_bytes(), saved)
        self.import_from(windows_folder + "\\AddressBook.ini.bak", "imported", "import-backup")
        self.assertEqual(self.names(), NAMES)
        self.assertEqual(self.row_texts(p)[1], ["Cloud", "", "80", "KX7Q2M9D4HB3"])

        # PRIORITY is not read back: the next save writes it empty for every device.
        self.assertEqual(self.close(), saved.replace(b"PRIORITY=Frame", b"PRIORITY="))

    def test_export_into_the_program_folder_is_a_save(self):
        # From a folder on drive C:, which the folder picker can select.
        folder, windows_folder = self.drive_c_folder()
        self.p = Program(self.session, f"ownfolder-{self.locale}", tavrin_files(BOOK), folder=folder)
        self.addCleanup(self.p.__exit__)
        self.main = self.p.main_window()
        # Another launcher sharing the folder adds a device meanwhile, which an export written
        # over the book would lose.
        (folder / "AddressBook.ini").write_bytes(BOOK + section(b"Pier", SERVERIP=b"10.0.0.10"))
        self.export_to(windows_folder, "exported", "export-own-folder")
        self.assertEqual(self.names(), NAMES + ["Pier"])
        self.assertIn(b"[Pier]\r\n", self.close())

    def test_import_replaces_the_list_and_waits_for_the_next_save(self):
        p = self.start_with("replace", BOOK, **{"other.ini": OTHER_BOOK})
        # Sorted by name first: the refilled list is in file order, and its header says so.
        lst = p.control(ids.IDC_DEVICE_LIST)["rect"]
        self.session.click_at(lst["left"] + 40, lst["top"] + 10)
        eventually_equal(lambda: self.sort_arrows(p), ["down", "", "", ""])
        # The picker holds the main window: it cannot be closed under it, and the picker works on.
        picker = self.open_file_picker()
        p.close()
        time.sleep(1)  # long enough for a close to have ended the window, were it possible
        self.assertTrue(p.running())
        self.assertIn(picker["hwnd"], [w["hwnd"] for w in p.driver.windows(pid=self.main["pid"])])
        self.type_and_open(picker, windows_path(p.folder / "other.ini"))
        p.driver.gone(picker["hwnd"])
        self.expect_message("imported", "import")
        self.assertEqual(self.sort_arrows(p), ["", "", "", ""])
        # Every section is a device, duplicates too; like the platform's reader, a name's
        # values come from its first section.
        self.assertEqual(self.row_texts(p), [["Yard", "10.0.0.8", "80", ""],
                                       ["Dock", "192.168.1.10", "80", ""],
                                       ["Yard", "10.0.0.8", "80", ""]])
        self.assertEqual((p.folder / "AddressBook.ini").read_bytes(), BOOK)
        self.close()
        # The close writes the imported devices in file order, the missing keys with their
        # defaults, PRIORITY empty, and "Yard" once, as the platform's writer has it.
        after = self.platform_reading(p.folder / "AddressBook.ini")
        self.assertEqual(self.as_loaded(after),
                         self.one_per_section(self.as_loaded(self.platform_reading(p.folder / "other.ini"))))
        self.assertEqual(len(after), 2)
        self.assertTrue(all(line.endswith(' ""') for line in after))

    def test_failed_or_cancelled_import_changes_nothing(self):
        p = self.start_with("importfails", BOOK, **{"locked.ini": OTHER_BOOK})
        book = self.platform_reading(p.folder / "AddressBook.ini")
        (p.folder / "locked.ini").chmod(0o444)
        picked = p.folder / "picked"
        picked.mkdir()
        for name in ("one.ini", "two.ini"):
            (picked / name).write_bytes(OTHER_BOOK)
        before = self.row_texts(p)

        self.import_from(windows_path(p.folder / "missing.ini"), "import failed", "missing")
        self.import_from(windows_path(p.folder / "locked.ini"), "import failed", "read-only")
        self.assertEqual(self.row_texts(p), before)

        # A typed folder opens in the picker; with two of its files selected the picker
        # hands back the folder.
        picker = self.open_file_picker()
        self.type_and_open(picker, windows_path(picked))
        listed = lambda: sorted(r[0] for r in self.row_texts(p, picker["hwnd"], FILE_LIST))
        eventually_equal(listed, ["one.ini", "two.ini"])
        p.driver.set_text(picker["hwnd"], '"one.ini" "two.ini"', id=FILE_NAME_BOX)
        p.screenshot("several-files-picker")
        self.press(picker, IDOK)
        p.driver.gone(picker["hwnd"])
        self.expect_message("import failed", "several-files")
        self.assertEqual(self.row_texts(p), before)

        picker = self.open_file_picker()
        p.screenshot("file-picker")
        self.press(picker, IDCANCEL)
        p.driver.gone(picker["hwnd"])
        self.expect_message("import failed", "import-cancelled")
        self.assertEqual(self.row_texts(p), before)

        self.assertEqual((p.folder / "AddressBook.ini").read_bytes(), BOOK)
        self.close()
        self.assertEqual(self.as_loaded(self.platform_reading(p.folder / "AddressBook.ini")),
                         self.as_loaded(book))

    def test_files_without_sections_import_as_an_empty_list(self):
        p = self.start_with("nosections", BOOK, **{
            "empty.ini": b"", "other.ini": OTHER_BOOK,
            "picture.png": b"\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10SERVERIP=1.2.3.4\r\n"})
        self.import_from(windows_path(p.folder / "empty.ini"), "imported", "import-empty")
        self.assertEqual(self.row_texts(p), [])
        self.import_from(windows_path(p.folder / "other.ini"), "imported", "import-other")
        self.assertEqual(len(self.row_texts(p)), 3)
        self.import_from(windows_path(p.folder / "picture.png"), "imported", "import-picture")
        self.assertEqual(self.row_texts(p), [])
        self.assertEqual(self.close(), b"")

    def test_failed_or_cancelled_export_writes_nothing(self):
        p = self.start_with("exportfails", BOOK)
        picker = self.open_folder_picker()
        p.screenshot("folder-picker")
        self.press(picker, IDCANCEL)
        p.driver.gone(picker["hwnd"])
        self.expect_message("export failed", "export-cancelled")

        # A folder whose path fits, but not with "\\AddressBook.ini" after it.
        deep, windows_deep = self.drive_c_folder(length=250)
        self.export_to(windows_deep, "export failed", "export-too-long")
        self.assertEqual(os.listdir(deep), [])

        # An earlier export whose replacement cannot be swapped in stays whole, and the
        # written replacement goes.
        folder, windows_folder = self.drive_c_folder()
        (folder / "AddressBook.ini").write_bytes(OTHER_BOOK)
        (folder / "AddressBook.ini.bak").mkdir()
        self.export_to(windows_folder, "export failed", "export-blocked")
        self.assertEqual((folder / "AddressBook.ini").read_bytes(), OTHER_BOOK)
        self.assertEqual(sorted(os.listdir(folder)), ["AddressBook.ini", "AddressBook.ini.bak"])

        self.assertEqual((p.folder / "AddressBook.ini").read_bytes(), BOOK)
        self.close()


class ChineseExportImportTest(ExportImportTest):
    locale = "zh"


if __name__ == "__main__":
    unittest.main()
