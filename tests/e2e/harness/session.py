"""A private X display and wineserver for one group of e2e tests.

The program under test talks to network video devices; it must never reach a
real network, so a session refuses to start unless the process already sits
in its own network namespace (tests/e2e/run arranges that with unshare -n).
"""
import contextlib
import os
import select
import signal
import socket
import subprocess
import time
import unittest

from . import wine_env

# A second click within the double-click time (500 ms) and a few pixels of the first
# is a double-click, and Wine's list header takes a double-click as no click at all.
# Separate clicks at one spot wait this long apart.
DOUBLE_CLICK_SECONDS = 0.6
DOUBLE_CLICK_PIXELS = 8


# The only interface besides lo a test may add: its end of a simulated LAN (harness.lan).
OWN_INTERFACES = {"lo", "v0"}


def require_private_network() -> None:
    """Refuse to go on in the machine's own network namespace, or in one with
    interfaces the tests did not make."""
    others = sorted(name for _, name in socket.if_nameindex() if name not in OWN_INTERFACES)
    # tests/e2e/run notes the namespace it started from before it makes a private one.
    outer = os.environ.get("TAVRIN_OUTER_NETNS")
    if others or not outer or os.readlink("/proc/self/ns/net") == outer:
        raise RuntimeError(
            f"refusing to run Wine outside a private network namespace (interfaces {others}); "
            "start the e2e tests through tests/e2e/run (it uses unshare -n)")


def stop_process(proc: subprocess.Popen, grace: float = 5) -> None:
    """Terminate, then kill; never waits longer than `grace` twice."""
    if proc.poll() is not None:
        return
    proc.terminate()
    try:
        proc.wait(grace)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait(grace)


def kill_prefix_processes(prefix: str) -> None:
    """SIGKILL whatever still runs in the prefix. Wine processes whose server
    died under them (an X error, a crash) can linger and hold files open."""
    marker = f"WINEPREFIX={prefix}".encode()
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/environ", "rb") as f:
                if marker in f.read().split(b"\0"):
                    os.kill(int(entry), signal.SIGKILL)
        except OSError:
            pass


class Session:
    """with Session("en") as s: ... — Xvfb + wineserver, all gone afterwards."""

    def __init__(self, locale: str = "en", size: str = wine_env.DESKTOP_SIZE):
        self.locale = locale
        self.size = size  # of the X screen and of the Wine desktop on it, "WxH"
        self.display = None
        self.env = None
        self._xvfb = None
        self._server = None
        self._stack = contextlib.ExitStack()
        self._last_click = (0.0, None)  # when, and (x, y, button)

    def __enter__(self):
        require_private_network()
        try:
            self._start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def _start(self):
        self._stack.enter_context(wine_env.prefix_lock(self.locale))
        self._stack.callback(self._stop_processes)
        wine_env.ensure_prefix(self.locale)
        self._start_xvfb()
        self.env = wine_env.env(self.locale, self.display)
        # A server or processes left behind by an interrupted run would carry
        # that run's display and windows into this one.
        self._wineserver("-k")
        kill_prefix_processes(self.env["WINEPREFIX"])
        wine_env.ensure_desktop_size(self.locale, self.size)
        self._server = subprocess.Popen(["wineserver", "-f", "-p"], env=self.env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        start_new_session=True)

    def _start_xvfb(self, timeout: float = 10):
        # -displayfd lets Xvfb pick a free display itself, so parallel runs and
        # leftover lock files in /tmp cannot collide.
        read_end, write_end = os.pipe()
        self._xvfb = subprocess.Popen(
            # -noreset: by default the server resets whenever its last client
            # leaves, which would race with the next program connecting.
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{self.size}x24", "-nolisten", "tcp",
             "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        os.close(write_end)
        # Xvfb writes the number and the newline separately, and dies if the
        # newline finds the pipe closed: read up to the newline.
        number = b""
        deadline = time.monotonic() + timeout
        try:
            while not number.endswith(b"\n"):
                ready, _, _ = select.select([read_end], [], [], max(0, deadline - time.monotonic()))
                chunk = os.read(read_end, 16) if ready else b""
                if not chunk:
                    break
                number += chunk
        finally:
            os.close(read_end)
        number = number.decode().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.display = f":{number}"

    def _wineserver(self, flag: str, timeout: float = 15) -> None:
        try:
            subprocess.run(["wineserver", flag], env=self.env, timeout=timeout,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        except subprocess.TimeoutExpired:
            pass

    def _stop_processes(self):
        if self._server:
            # -k kills every Wine process of the prefix, then the server itself.
            self._wineserver("-k")
            stop_process(self._server)
            kill_prefix_processes(self.env["WINEPREFIX"])
        wine_env.ensure_desktop_size(self.locale, self.size)
        if self._xvfb:
            stop_process(self._xvfb)

    def close(self):
        self._stack.close()

    def xdotool(self, *args: str) -> None:
        """Real X input. Wine's own injected mouse input does not move the
        pointer under Xvfb, so clicks "as a person would" go through X."""
        subprocess.run(["xdotool", *args], env={**os.environ, "DISPLAY": self.display},
                       check=True, timeout=10)

    def click_at(self, x: int, y: int, double: bool = False, button: int = 1) -> None:
        """A click of the left button (button 3: the right one) at a screen point;
        never taken together with the click before it as a double-click."""
        when, place = self._last_click
        since = time.monotonic() - when
        if (place and place[2] == button and since < DOUBLE_CLICK_SECONDS
                and max(abs(x - place[0]), abs(y - place[1])) <= DOUBLE_CLICK_PIXELS):
            time.sleep(DOUBLE_CLICK_SECONDS - since)
        self.xdotool("mousemove", str(x), str(y), "click", "--repeat", "2" if double else "1",
                     str(button))
        self._last_click = (time.monotonic(), (x, y, button))

    def type_text(self, text: str) -> None:
        """Keystrokes into whatever has the focus, as a person types them."""
        self.xdotool("type", "--delay", "30", text)

    def screenshot(self, path) -> None:
        subprocess.run(["import", "-window", "root", str(path)],
                       env={**os.environ, "DISPLAY": self.display}, check=True, timeout=30)


def uses_both_prefixes(test):
    """Marks a test that opens a session on the other locale's prefix as well. The
    two locales' tests run side by side, each run holding its own prefix, so such a
    test runs on its own after both (see harness.runner)."""
    test.uses_both_prefixes = True
    return test


class SessionTestCase(unittest.TestCase):
    """Tests that share one session per class; `locale` chooses its Wine prefix, and
    `desktop` the size of the screen."""
    locale = "en"
    desktop = wine_env.DESKTOP_SIZE

    @classmethod
    def setUpClass(cls):
        cls.session = Session(cls.locale, cls.desktop).__enter__()
        cls.addClassCleanup(cls.session.close)

    def assert_closes(self, program) -> None:
        """The main window's close box ends the program with exit code 0."""
        program.close()
        program.assert_clean_exit()
