"""One run of a Windows program under test, from its own fresh folder.

Each run gets a new folder under <build>/e2e-work/, so what the program reads
at start (AddressBook.ini, the DLL beside it) is exactly what the test put
there, and what it writes can be checked after it has ended.
"""
import shutil
import signal
import subprocess
import tempfile
from pathlib import Path

from . import paths
from .driver import Driver, NotFound
from .poll import eventually
from .session import stop_process

DIALOG = "#32770"


def tavrin_files(address_book: bytes | Path | None = None, **extra) -> dict:
    """The shipped files, plus an AddressBook.ini (none if None) and any extra
    name=contents pairs; contents are bytes to write or a Path to copy."""
    files = {"Tavrin.exe": paths.win_bin() / "Tavrin.exe",
             "KXC_IE_NATT.dll": paths.win_bin() / "KXC_IE_NATT.dll"}
    if address_book is not None:
        files["AddressBook.ini"] = address_book
    files.update(extra)
    return files


def windows_path(path: Path) -> str:
    """How Wine names a Unix path: inside a prefix's drive_c (where an installer
    puts a program) the C: drive, elsewhere the Z: drive, which maps the Unix root."""
    path = path.resolve()
    for drive_c in paths.wine_root().resolve().glob("*/drive_c"):
        if path.is_relative_to(drive_c):
            return "C:\\" + str(path.relative_to(drive_c)).replace("/", "\\")
    return "Z:" + str(path).replace("/", "\\")


class Program:
    """with Program(session, "startup_en", tavrin_files()) as p: p.main_window() ..."""

    def __init__(self, session, name: str, files: dict, exe: str = "Tavrin.exe",
                 args: tuple = (), cwd: Path | None = None, folder: Path | None = None,
                 env: dict | None = None):
        self.session = session
        self.name = name
        self.driver = Driver(session)
        paths.work_root().mkdir(parents=True, exist_ok=True)
        # An installed program runs from the folder its installer chose.
        self.folder = folder or Path(tempfile.mkdtemp(prefix=f"{name}-", dir=paths.work_root()))
        for target, source in files.items():
            if isinstance(source, bytes):
                (self.folder / target).write_bytes(source)
            else:
                shutil.copyfile(source, self.folder / target)
        self.exe = self.folder / exe
        self.main = None
        self.exit_code = None
        paths.artifacts_root().mkdir(parents=True, exist_ok=True)
        self._log = open(paths.artifacts_root() / f"{name}-wine.log", "wb")
        # Explorer starts a program in its own folder; a test can pass another
        # cwd to prove the program finds its files beside the exe regardless.
        # `env` adds to the session's environment, as a user's own variables would.
        self._proc = subprocess.Popen(["wine", str(self.exe), *args],
                                      env={**session.env, **(env or {})},
                                      cwd=cwd or self.folder, stdout=self._log,
                                      stderr=subprocess.STDOUT, start_new_session=True)

    def __enter__(self):
        return self

    def __exit__(self, exc_type=None, *_):
        # What the screen showed when a test failed says more than its traceback.
        if exc_type is not None and self.running():
            try:
                self.screenshot("failure")
            except subprocess.SubprocessError:
                pass  # the failure itself is what the test reports
        # A test that failed half-way must not leave its program running into
        # the next one.
        stop_process(self._proc)
        self._log.close()

    def main_window(self, title: str | None = None, cls: str = DIALOG,
                    timeout: float = 30) -> dict:
        """Wait for the program's first visible top-level window. Found by the
        exe path, since the caption differs per language."""
        self.main = self.driver.wait(exe=windows_path(self.exe), cls=cls, title=title,
                                     timeout=timeout)
        return self.main

    def message_box(self, *open_dialogs: dict, timeout: float = 10) -> dict:
        """The next dialog of this program other than its main window and
        `open_dialogs` (a form the box comes up over):
        {'hwnd', 'title', 'text', 'buttons': [{'id', 'text'}]}."""
        box = self.driver.wait(pid=self.main["pid"], cls=DIALOG, timeout=timeout,
                               exclude=[self.main["hwnd"], *(d["hwnd"] for d in open_dialogs)])
        return self.driver.msgbox(box["hwnd"])

    def dialog(self, title: str, timeout: float = 10) -> dict:
        """The program's window called `title`, once it shows."""
        return self.driver.wait(pid=self.main["pid"], title=title, timeout=timeout)

    def answer(self, dialog: dict, id: int) -> None:
        """Presses the dialog's button `id` and waits for the dialog to go."""
        self.driver.click(dialog["hwnd"], id=id)
        self.driver.gone(dialog["hwnd"])

    def frame(self) -> dict:
        """The main window as it is now: its 'rect', 'client' area, 'iconic', ..."""
        return next(w for w in self.driver.windows(pid=self.main["pid"])
                    if w["hwnd"] == self.main["hwnd"])

    def controls(self, hwnd: int | None = None) -> list:
        return self.driver.controls(hwnd or self.main["hwnd"])

    def control(self, id: int, hwnd: int | None = None) -> dict:
        for c in self.controls(hwnd):
            if c["id"] == id:
                return c
        raise NotFound(f"no control {id}")

    @staticmethod
    def _middle(target: dict) -> tuple:
        r = target["rect"]
        return (r["left"] + r["right"]) // 2, (r["top"] + r["bottom"]) // 2

    def reachable(self, target: dict) -> bool:
        """Whether a click in the middle of `target` (a control, window or list
        row: any dict with a 'rect') lands on this program, not on a window of
        another program lying over it."""
        return self.driver.at(*self._middle(target))["pid"] == self.main["pid"]

    def click_like_user(self, target: dict, double: bool = False, button: int = 1) -> None:
        """A real X click in the middle of `target` (button 3: a right-click);
        fails where a person could not click it either."""
        if not self.reachable(target):
            raise AssertionError(f"{target} is covered by another program's window")
        self.session.click_at(*self._middle(target), double, button)

    def context_menu(self, timeout: float = 10) -> list:
        """The items of the popup menu the program shows now, separators left out."""
        items = self.driver.popupmenu(self.main["pid"], timeout=timeout)
        return [item for item in items if not item["separator"]]

    def wait_menu_closed(self, timeout: float = 10) -> None:
        menus = lambda: [w for w in self.driver.windows(pid=self.main["pid"], cls="#32768")
                         if w["visible"]]
        eventually(lambda: not menus(), timeout=timeout)

    def screenshot(self, label: str) -> Path:
        path = paths.artifacts_root() / f"{self.name}-{label}.png"
        self.session.screenshot(path)
        return path

    def close(self) -> None:
        """The close box of the main window."""
        self.driver.close(self.main["hwnd"])

    def wait_exit(self, timeout: float = 15) -> int:
        """The process's exit code; kills it and fails the test if it does not end."""
        try:
            self.exit_code = self._proc.wait(timeout)
        except subprocess.TimeoutExpired:
            stop_process(self._proc)
            raise AssertionError(f"{self.exe.name} still running {timeout}s after being asked to close")
        return self.exit_code

    def assert_clean_exit(self, timeout: float = 15) -> None:
        """The process ends with exit code 0. A Unix signal that ended Wine's own process is
        named: the system keeps a core of it where /proc/sys/kernel/core_pattern says."""
        code = self.wait_exit(timeout)
        if code < 0:
            raise AssertionError(f"{self.exe.name}: Wine's own process ended by "
                                 f"{signal.Signals(-code).name}, not by the program")
        if code != 0:
            raise AssertionError(f"{self.exe.name} ended with exit code {code}, not 0")

    def running(self) -> bool:
        return self._proc.poll() is None

    def output(self) -> str:
        """What the program and Wine have written to standard output and error so far."""
        self._log.flush()
        return (paths.artifacts_root() / f"{self.name}-wine.log").read_text(errors="replace")
