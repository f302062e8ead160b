"""What a Windows user downloads (scripts/package puts it in dist/): the zip
unpacked into an empty folder, and the installer and its uninstaller, run
silently (/S) by the user, who needs no administrator rights for them."""
import re
import shutil
import subprocess
import tempfile
import unittest
import zipfile
from pathlib import Path

from harness import paths
from harness.poll import eventually_equal
from harness.program import Program, windows_path
from tavrin import LauncherTest, section

RELEASE_FILES = ["KXC_IE_NATT.dll", "Pellix.exe", "README-Windows.txt", "Tavrin.exe"]
BOOK = section(b"Lobby", SERVERIP=b"10.0.0.5", SERVERPORT=b"80", ACCOUNT=b"admin")
UNINSTALL_KEY = r"Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavrin"
PUBLISHER = "Tavrin developers"


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
        self.assertEqual(p.main_window()["title"], self.text("title"))
        self.assertEqual([r[0] for r in self.row_texts(p)], ["Lobby"])
        p.screenshot("started")
        self.assert_closes(p)
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

    def test_installer_for_one_user_upgrades_and_uninstalls_keeping_the_book(self):
        profile = self.user_profile()
        folder = profile / "AppData" / "Local" / "Programs" / "Tavrin"
        shortcut = profile / "AppData" / "Roaming" / "Microsoft" / "Windows" / "Start Menu" / \
            "Programs" / "Tavrin.lnk"
        # The prefix outlives the test: whatever a failed run left is gone before the next.
        def remove_leftovers():
            shutil.rmtree(folder, ignore_errors=True)
            shortcut.unlink(missing_ok=True)
            for hive in ("HKCU", "HKLM"):
                subprocess.run(["wine", "reg", "delete", f"{hive}\\{UNINSTALL_KEY}", "/f",
                                "/reg:32"], env=self.session.env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, timeout=60)
        remove_leftovers()
        self.addCleanup(remove_leftovers)

        # No elevation: run as the user, it touches nothing of the machine's.
        self.run_windows(str(release("setup.exe")), "/S")
        self.assert_installed(folder, shortcut)
        self.assertEqual(self.uninstall_entry("HKLM"), {})
        entry = self.uninstall_entry("HKCU")
        self.assertEqual((entry["DisplayName"], entry["Publisher"], entry["DisplayIcon"]),
                         ("Tavrin", PUBLISHER, windows_path(folder / "Tavrin.exe")))
        self.assertEqual(entry["InstallLocation"], windows_path(folder))
        self.assertIn(windows_path(folder / "Uninstall.exe"), entry["UninstallString"])
        installed_kb = sum((folder / name).stat().st_size for name in RELEASE_FILES) / 1024
        self.assertLessEqual(abs(int(entry["EstimatedSize"], 16) - installed_kb), len(RELEASE_FILES))

        (folder / "AddressBook.ini").write_bytes(BOOK)
        p = Program(self.session, f"installed-{self.locale}", {}, folder=folder)
        self.addCleanup(p.__exit__)
        self.assert_starts_with_book_and_closes(p)
        book = (folder / "AddressBook.ini").read_bytes()
        # The close's save kept the book it replaced.
        backup = folder / "AddressBook.ini.bak"
        backup_bytes = backup.read_bytes()
        (folder / "Pellix.log").write_bytes(b"Pellix.exe IP=10.0.0.5#\r\n")

        # An upgrade (here the same release again) goes to the same folder and keeps the book.
        self.run_windows(str(release("setup.exe")), "/S")
        self.assert_installed(folder, shortcut, "AddressBook.ini", "AddressBook.ini.bak",
                              "Pellix.log")
        self.assertEqual((folder / "AddressBook.ini").read_bytes(), book)

        # The uninstaller runs from a copy of itself in TEMP, so that it can delete the
        # original; the command returns before that copy has finished, and its last
        # step, removing the Apps and Features entry, marks the end.
        self.run_windows(str(folder / "Uninstall.exe"), "/S")
        eventually_equal(lambda: self.uninstall_entry("HKCU"), {}, timeout=60, interval=1)
        # The user's files stay: the book, and the one its last save replaced.
        self.assertEqual(sorted(f.name for f in folder.iterdir()),
                         ["AddressBook.ini", "AddressBook.ini.bak"])
        self.assertEqual((folder / "AddressBook.ini").read_bytes(), book)
        self.assertEqual(backup.read_bytes(), backup_bytes)
        self.assertFalse(shortcut.exists())

    def user_profile(self) -> Path:
        """The prefix's one user's folder (drive_c/users/<name>)."""
        users = paths.wine_root() / self.locale / "drive_c" / "users"
        profiles = [u for u in users.iterdir() if u.name != "Public" and not u.is_symlink()]
        self.assertEqual(len(profiles), 1, profiles)
        return profiles[0]

    def assert_installed(self, folder: Path, shortcut: Path, *kept: str) -> None:
        """The release's files, byte for byte, the uninstaller and `kept` in the folder,
        and the Start menu's shortcut leading to the launcher."""
        self.assertEqual(sorted(f.name for f in folder.iterdir()),
                         sorted(RELEASE_FILES + ["Uninstall.exe", *kept]))
        with zipfile.ZipFile(release("win32.zip")) as archive:
            for name in RELEASE_FILES:
                self.assertEqual((folder / name).read_bytes(), archive.read(name), name)
        link = shortcut.read_bytes()
        target = windows_path(folder / "Tavrin.exe")
        self.assertTrue(target.encode() in link or target.encode("utf-16-le") in link,
                        f"the shortcut does not lead to {target}")

    def uninstall_entry(self, hive: str) -> dict:
        """The installer's entry in Apps and Features under the hive (the 32-bit
        registry view) as name: value texts; empty when there is none."""
        # Into a file, not a pipe: services the first Wine process of a session starts
        # inherit its output and keep a pipe open.
        with tempfile.TemporaryFile() as out:
            result = subprocess.run(["wine", "reg", "query", f"{hive}\\{UNINSTALL_KEY}", "/reg:32"],
                                    env=self.session.env, stdout=out, stderr=subprocess.DEVNULL,
                                    timeout=60)
            out.seek(0)
            text = out.read().decode(errors="replace")
        if result.returncode != 0:
            return {}
        values = re.findall(r"^\s+(\S+)\s+REG_\w+\s+(.*?)\s*$", text, re.MULTILINE)
        return dict(values)


class ChineseReleaseTest(ReleaseTest):
    locale = "zh"


if __name__ == "__main__":
    unittest.main()
