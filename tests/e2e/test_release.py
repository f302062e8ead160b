"""What a Windows user downloads (scripts/package puts it in dist/): the zip
unpacked into an empty folder, and the installer and its uninstaller, run
silently (/S) as an administrator deploying the program would."""
import re
import shutil
import subprocess
import unittest
import zipfile
from pathlib import Path

from harness import paths
from harness.poll import eventually
from harness.program import Program, windows_path
from tavrin import DEVICE_LIST, TITLES, LauncherTest, section

RELEASE_FILES = ["KXC_IE_NATT.dll", "Pellix.exe", "README-Windows.txt", "Tavrin.exe"]
BOOK = section(b"Lobby", SERVERIP=b"10.0.0.5", SERVERPORT=b"80", ACCOUNT=b"admin")
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavrin"


def release(kind: str) -> Path:
    """dist/Tavrin-<version>-<kind>, the version taken from CMakeLists.txt as
    scripts/package takes it; fails when missing or older than the build."""
    cmake = (paths.REPO / "CMakeLists.txt").read_text()
    version = re.search(r"project\(Tavrin VERSION ([0-9.]+)", cmake).group(1)
    path = paths.REPO / "dist" / f"Tavrin-{version}-{kind}"
    built = paths.win_bin() / "Tavrin.exe"
    if not path.exists() or path.stat().st_mtime < built.stat().st_mtime:
        raise AssertionError(f"{path} is missing or older than the build; run scripts/package")
    return path


class ReleaseTest(LauncherTest):
    def run_windows(self, *argv: str, timeout: float = 120) -> None:
        subprocess.run(["wine", *argv], env=self.session.env, check=True, timeout=timeout,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def assert_starts_with_book_and_closes(self, p: Program) -> None:
        main = p.main_window()
        self.assertEqual(main["title"], TITLES[self.locale])
        rows = p.driver.listview(main["hwnd"], id=DEVICE_LIST)["rows"]
        self.assertEqual([r["texts"][0] for r in rows], ["Lobby"])
        p.screenshot("started")
        p.close()
        self.assertEqual(p.wait_exit(), 0)
        self.assertIn(b"[Lobby]\r\nSERVERIP=10.0.0.5\r\n", (p.folder / "AddressBook.ini").read_bytes())

    def test_zip_unpacked_into_an_empty_folder_runs(self):
        with zipfile.ZipFile(release("win32.zip")) as archive:
            # Flat: the files land side by side wherever the user unpacks them.
            self.assertEqual(sorted(archive.namelist()), RELEASE_FILES)
            unpacked = paths.work_root() / f"zip-{self.locale}"
            shutil.rmtree(unpacked, ignore_errors=True)
            archive.extractall(unpacked)
        readme = (unpacked / "README-Windows.txt").read_bytes()
        self.assertIn(b"AddressBook.ini", readme)
        self.assertNotIn(b"\n", readme.replace(b"\r\n", b""), "Notepad wants CR LF line ends")

        files = {name: unpacked / name for name in RELEASE_FILES}
        p = Program(self.session, f"zip-{self.locale}", {**files, "AddressBook.ini": BOOK})
        self.addCleanup(p.__exit__)
        self.assert_starts_with_book_and_closes(p)

    def test_installer_installs_and_uninstaller_keeps_the_address_book(self):
        drive_c = paths.wine_root() / self.locale / "drive_c"
        # A 32-bit installer on 64-bit Windows: Program Files (x86).
        folder = drive_c / "Program Files (x86)" / "Tavrin"
        menu = drive_c / "ProgramData" / "Microsoft" / "Windows" / "Start Menu" / "Programs" / "Tavrin"
        # The prefix outlives the test: whatever a failed run left is gone before the next.
        for leftover in (folder, menu):
            shutil.rmtree(leftover, ignore_errors=True)
            self.addCleanup(shutil.rmtree, leftover, ignore_errors=True)

        self.run_windows(str(release("setup.exe")), "/S")
        self.assertEqual(sorted(f.name for f in folder.iterdir()), RELEASE_FILES + ["Uninstall.exe"])
        with zipfile.ZipFile(release("win32.zip")) as archive:
            for name in RELEASE_FILES:
                self.assertEqual((folder / name).read_bytes(), archive.read(name), name)
        shortcut = (menu / "Tavrin.lnk").read_bytes()
        target = windows_path(folder / "Tavrin.exe")
        self.assertTrue(target.encode() in shortcut or target.encode("utf-16-le") in shortcut,
                        f"the shortcut does not lead to {target}")
        self.assertIn(windows_path(folder / "Uninstall.exe"), self.uninstall_entry())

        (folder / "AddressBook.ini").write_bytes(BOOK)
        p = Program(self.session, f"installed-{self.locale}", {}, folder=folder)
        self.addCleanup(p.__exit__)
        self.assert_starts_with_book_and_closes(p)
        book = (folder / "AddressBook.ini").read_bytes()

        # The uninstaller runs from a copy of itself in TEMP, so that it can delete the
        # original; the command returns before that copy has finished, and its last
        # step, removing the Apps and Features entry, marks the end.
        self.run_windows(str(folder / "Uninstall.exe"), "/S")

        def entry_removed():
            return self.uninstall_entry() == ""
        eventually(entry_removed, timeout=60, interval=1)
        # The user's files stay: the book, and the one its last save replaced.
        self.assertEqual(sorted(f.name for f in folder.iterdir()),
                         ["AddressBook.ini", "AddressBook.ini.bak"])
        self.assertEqual((folder / "AddressBook.ini").read_bytes(), book)
        self.assertFalse(menu.exists())

    def uninstall_entry(self) -> str:
        """The installer's entry in Apps and Features (the 32-bit registry view),
        as `reg query` prints it; empty when there is none."""
        result = subprocess.run(["wine", "reg", "query", UNINSTALL_KEY, "/reg:32"],
                                env=self.session.env, capture_output=True, timeout=60)
        return result.stdout.decode(errors="replace") if result.returncode == 0 else ""


class ChineseReleaseTest(ReleaseTest):
    locale = "zh"


if __name__ == "__main__":
    unittest.main()
