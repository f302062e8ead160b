"""Calls e2edriver.exe inside a session and turns its JSON lines into dicts."""
import contextlib
import json
import subprocess
import tempfile

from . import paths
from .poll import eventually
from .session import stop_process


class NotFound(AssertionError):
    """The window, control or state a test waited for did not show up.

    An AssertionError so that unittest reports it as a failed test, not a
    broken harness."""


class DriverError(RuntimeError):
    """The driver was called wrongly or crashed: a harness or test bug."""


class Driver:
    def __init__(self, session):
        self.session = session
        self.exe = paths.driver_exe()
        if not self.exe.exists():
            raise DriverError(f"{self.exe} is missing; build the Windows tree first")

    def call(self, command: str, *options, timeout: float = 60) -> list:
        """Run one driver command; options are alternating '--name', value."""
        argv = ["wine", str(self.exe), command, *(str(o) for o in options)]
        # Output goes to a file, not a pipe: the first Wine process of a session
        # starts services that inherit its stdout and never close it, so reading
        # a pipe to its end would hang.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            try:
                code = subprocess.run(argv, env=self.session.env, stdout=out, stderr=err,
                                      timeout=timeout).returncode
            except subprocess.TimeoutExpired:
                raise DriverError(f"e2edriver {command} hung for {timeout}s") from None
            out.seek(0)
            err.seek(0)
            text = out.read().decode("utf-8")
            errors = err.read().decode("utf-8", errors="replace")
        lines = [json.loads(line) for line in text.splitlines() if line.startswith("{")]
        said = [line["error"] for line in lines if "error" in line]
        # An error line is the driver saying what it did not find: that is the failure to
        # report, whichever of 0 and 1 the exit code that reached us is.
        if code in (0, 1) and said:
            raise NotFound(f"e2edriver {command} {options}: {said[-1]}")
        if code != 0:
            raise DriverError(f"e2edriver {command} {options} exited {code}: {text}{errors}")
        return lines

    def answer(self, command: str, *options, timeout: float = 60) -> dict:
        """Run a driver command that answers with one object, and return that object."""
        lines = self.call(command, *options, timeout=timeout)
        if not lines:
            raise NotFound(f"e2edriver {command} {options} gave no answer")
        return lines[0]

    @staticmethod
    def _filter(title=None, cls=None, pid=None, exe=None, exclude=()) -> list:
        options = []
        for name, value in (("title", title), ("class", cls), ("pid", pid), ("exe", exe)):
            if value is not None:
                options += [f"--{name}", value]
        for hwnd in exclude:
            options += ["--exclude", hwnd]
        return options

    def windows(self, **filter) -> list:
        return self.call("windows", *self._filter(**filter))

    def wait(self, timeout: float = 10, **filter) -> dict:
        """First visible top-level window matching title/cls/pid/exe/exclude."""
        return self.answer("wait", *self._filter(**filter), "--timeout", timeout,
                           timeout=timeout + 60)

    def gone(self, hwnd: int, timeout: float = 10) -> None:
        self.call("gone", "--hwnd", hwnd, "--timeout", timeout, timeout=timeout + 60)

    def controls(self, hwnd: int) -> list:
        return self.call("controls", "--hwnd", hwnd)

    def msgbox(self, hwnd: int) -> dict:
        """{'hwnd', 'title', 'text', 'buttons': [{'id', 'text'}]}"""
        return self.answer("msgbox", "--hwnd", hwnd)

    def click(self, hwnd: int, id: int | None = None) -> None:
        self.call("click", "--hwnd", hwnd, *(["--id", id] if id is not None else []))

    def set_text(self, hwnd: int, text: str, id: int | None = None) -> None:
        self.call("settext", "--hwnd", hwnd, "--text", text, *(["--id", id] if id is not None else []))

    def close(self, hwnd: int) -> None:
        self.call("close", "--hwnd", hwnd)

    def syscommand(self, hwnd: int, cmd: int) -> None:
        self.call("syscommand", "--hwnd", hwnd, "--cmd", cmd)

    def post_message(self, hwnd: int, msg: int, wparam: int = 0, lparam: int = 0) -> None:
        """Posts any message to the window, as another program could."""
        self.call("postmessage", "--hwnd", hwnd, "--msg", msg, "--wparam", wparam,
                  "--lparam", lparam)

    def dpi_changed(self, hwnd: int, dpi: int, rect: dict) -> None:
        """Sends what the system sends a window moved to a monitor of that DPI, with the
        rectangle ({left, top, right, bottom}) it suggests there."""
        self.call("dpichanged", "--hwnd", hwnd, "--dpi", dpi, *(o for side in
                  ("left", "top", "right", "bottom") for o in (f"--{side}", rect[side])))

    def sysmenu(self, hwnd: int) -> list:
        """[{'id', 'text', 'separator', 'grayed', 'checked'}]"""
        return self.call("sysmenu", "--hwnd", hwnd)

    def popupmenu(self, pid: int, timeout: float = 10) -> list:
        """Items of the first popup menu (a context menu) the process shows:
        [{'id', 'text', 'separator', 'grayed', 'checked', 'rect'}], rect on the screen."""
        return self.call("popupmenu", "--pid", pid, "--timeout", timeout, timeout=timeout + 60)

    def wait_cursor(self, pid: int) -> bool:
        """Whether the foreground window (if the process's) shows the wait cursor."""
        return self.answer("cursor", "--pid", pid)["wait"]

    def at(self, x: int, y: int) -> dict:
        """The control a click at screen point (x, y) would hit, with its
        'toplevel' window and that window's 'pid'."""
        return self.answer("at", "--x", x, "--y", y)

    def select_folder(self, hwnd: int, path: str, timeout: float = 10) -> dict:
        """Selects a folder (a Windows path) in a folder picker, as a click in its
        tree would, once the tree shows it selected: {'selected': its name}."""
        return self.answer("selectfolder", "--hwnd", hwnd, "--path", path, "--timeout", timeout,
                           timeout=timeout + 60)

    def command_line(self, pid: int) -> str:
        """The command line the process was started with, as the process received it."""
        return self.answer("cmdline", "--pid", pid)["cmdline"]

    def listview(self, hwnd: int, id: int | None = None) -> dict:
        """{'columns': [...], 'sort': ['up'|'down'|'' per column],
        'rows': [{'texts': [...], 'selected': bool, 'rect': {...}}]}"""
        return self.answer("listview", "--hwnd", hwnd, *(["--id", id] if id is not None else []))

    def select(self, hwnd: int, row: int, id: int | None = None) -> None:
        """Selects one row of a list view alone, as assistive software can, a disabled list too."""
        self.call("select", "--hwnd", hwnd, "--row", row, *(["--id", id] if id is not None else []))

    @contextlib.contextmanager
    def hold(self, path: str, seconds: float = 120):
        """Keeps a file (a Windows path) open sharing nothing, as another program
        that locks it would, for the `with` block (at most `seconds`)."""
        with tempfile.TemporaryFile() as out:
            proc = subprocess.Popen(["wine", str(self.exe), "hold", "--path", path,
                                     "--timeout", str(seconds)], env=self.session.env,
                                    stdout=out, stderr=subprocess.DEVNULL, start_new_session=True)
            try:
                eventually(lambda: out.seek(0) == 0 and b'"held"' in out.read(), timeout=30)
                yield
            finally:
                stop_process(proc)
