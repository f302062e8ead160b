"""What a Windows user downloads (scripts/package puts it in dist/): the zip
unpacked into an empty folder, its checksums, and the installer and its
uninstaller, run by the user, who needs no administrator rights for them,
silently (/S) and answering their questions."""
import hashlib
import re
import shutil
import subprocess
import tempfile
import unittest
import zipfile
from pathlib import Path

from harness import paths
from harness.poll import eventually, eventually_equal
from harness.program import DIALOG, Program, windows_path
from harness.session import stop_process
from harness.win32 import IDNO, IDOK, IDRETRY, IDYES
from tavrin import LANGUAGES, LauncherTest, section

RELEASE_FILES = ["KXC_IE_NATT.dll", "Pellix.exe", "README-Windows.txt", "Tavrin.exe"]
BOOK = section(b"Lobby", SERVERIP=b"10.0.0.5", SERVERPORT=b"80", ACCOUNT=b"admin")
UNINSTALL_KEY = r"Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavrin"
PUBLISHER = "Tavrin developers"
# What the installer and the uninstaller ask, English and Chinese; {} is the folder.
QUESTIONS = {
    "running": ("Tavrin is running from {}. Close it, then choose Retry to go on, or Cancel to "
                "stop.", "Tavrin 正在從 {} 執行。請先關閉它，再按「重試」繼續，或按「取消」停止。"),
    "remove book": ("Also remove my address book and its backups?\r\n\r\nAddressBook.ini in {} "
                    "holds your devices and their passwords. No keeps it and its backups there.",
                    "是否同時移除我的通訊錄及其備份？\r\n\r\n{} 中的 AddressBook.ini 存有您的裝置及其"
                    "密碼。按「否」會將它及其備份保留在該資料夾中。"),
}
# The finish page's "Run Tavrin" box.
FINISH_PAGE_RUN = 1203
# A silent installer that found the launcher running stopped before touching anything.
STOPPED = 2
# The uninstaller runs as this copy of itself in TEMP, so that it can delete the original.
UNINSTALLER_COPY = "Un.exe"


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
    def run_windows(self, *argv: str, timeout: float = 120, check: bool = True) -> int:
        return subprocess.run(["wine", *argv], env=self.session.env, check=check,
                              timeout=timeout, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode

    def start_windows(self, *argv: str) -> subprocess.Popen:
        """A program the test answers, stopped at the end if it is still running."""
        proc = subprocess.Popen(["wine", *argv], env=self.session.env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL, start_new_session=True)
        self.addCleanup(stop_process, proc)
        return proc

    def assert_starts_with_book_and_closes(self, p: Program) -> None:
        self.assertEqual(p.main_window()["title"], self.text("title"))
        self.assertEqual([r[0] for r in self.row_texts(p)], ["Lobby"])
        p.screenshot("started")
        self.assert_closes(p)
        self.assertIn(b"[Lobby]\r\nSERVERIP=10.0.0.5\r\n", (p.folder / "AddressBook.ini").read_bytes())

    def test_checksums_match_the_downloads(self):
        sums = (paths.REPO / "dist" / "SHA256SUMS").read_text().splitlines()
        listed = dict(reversed(line.split("  ", 1)) for line in sums)
        downloads = [release("win32.zip"), release("setup.exe")]
        self.assertEqual(sorted(listed), sorted(d.name for d in downloads))
        for download in downloads:
            self.assertEqual(listed[download.name],
                             hashlib.sha256(download.read_bytes()).hexdigest(), download.name)

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
        # While the launcher runs from there, a silent one stops; the user is asked to close it.
        p = Program(self.session, f"upgraded-{self.locale}", {}, folder=folder)
        self.addCleanup(p.__exit__)
        p.main_window()
        setup = release("setup.exe")
        self.assertEqual(self.run_windows(str(setup), "/S", check=False), STOPPED)
        installer = self.start_windows(str(setup))
        window = p.driver.wait(exe=setup.name, cls=DIALOG, timeout=60)
        p.driver.click(window["hwnd"], id=IDOK)  # Install, on the folder page
        box = self.question(p, window, "running", folder)
        p.screenshot("installer-asks-to-close")
        self.assert_closes(p)
        p.driver.click(box["hwnd"], id=IDRETRY)
        # Finish, without starting the launcher.
        eventually(lambda: any(c["id"] == FINISH_PAGE_RUN and c["visible"]
                               for c in p.driver.controls(window["hwnd"])), timeout=60)
        p.driver.click(window["hwnd"], id=FINISH_PAGE_RUN)
        p.driver.click(window["hwnd"], id=IDOK)
        self.assertEqual(installer.wait(timeout=60), 0)
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

        # Asked, No (the answer Enter gives) keeps them too; Yes removes the book and its
        # history, but no other file of the user's.
        history = folder / "Backups" / "AddressBook.ini.20261208-234512-00.bak"
        notes = folder / "Backups" / "notes.txt"
        for answer, left in ((IDNO, ["AddressBook.ini", "AddressBook.ini.bak", "Backups"]),
                             (IDYES, ["Backups"])):
            self.run_windows(str(setup), "/S")
            history.parent.mkdir(exist_ok=True)
            history.write_bytes(backup_bytes)
            notes.write_bytes(b"mine")
            self.uninstall_answering(p, folder, answer)
            self.assertEqual(sorted(f.name for f in folder.iterdir()), left)
            self.assertEqual(sorted(f.name for f in history.parent.iterdir()),
                             ["notes.txt"] if answer == IDYES else [history.name, "notes.txt"])

    def question(self, p: Program, window: dict, key: str, folder: Path) -> dict:
        """The message box the installer or uninstaller (its `window`) shows, once it
        says QUESTIONS' `key` about the folder."""
        box = p.driver.msgbox(p.driver.wait(pid=window["pid"], cls=DIALOG,
                                            exclude=[window["hwnd"]], timeout=60)["hwnd"])
        said = QUESTIONS[key][LANGUAGES.index(self.locale)].format(windows_path(folder))
        self.assertEqual(box["text"], said)
        return box

    def uninstall_answering(self, p: Program, folder: Path, answer: int) -> None:
        """Uninstalls as a user does: Uninstall on the first page, `answer` to the
        question about the book, then Close."""
        self.run_windows(str(folder / "Uninstall.exe"))  # ends once its copy runs
        window = p.driver.wait(exe=UNINSTALLER_COPY, cls=DIALOG, timeout=60)
        p.driver.click(window["hwnd"], id=IDOK)
        box = self.question(p, window, "remove book", folder)
        self.assertEqual([b["id"] for b in box["buttons"]], [IDYES, IDNO])
        p.screenshot("uninstaller-asks-about-the-book")
        p.driver.click(box["hwnd"], id=answer)
        eventually(lambda: next(c for c in p.driver.controls(window["hwnd"])
                                if c["id"] == IDOK)["enabled"], timeout=60)
        p.driver.click(window["hwnd"], id=IDOK)
        p.driver.gone(window["hwnd"], timeout=60)
        self.assertEqual(self.uninstall_entry("HKCU"), {})

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
