"""One reusable Wine prefix per locale, and the environment to run in it.

Creating a prefix takes tens of seconds, so each locale gets one prefix under
<build>/wine/<locale> that every run reuses. A stamp file marks a prefix as
finished; one without it was interrupted and is made again from scratch.
"""
import contextlib
import fcntl
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

from . import paths

# Wine takes the user's language from the Unix locale at each process start:
# zh_TW.UTF-8 makes it report LANGID 0x0404 and ANSI code page 950.
LOCALES = {"en": "C.UTF-8", "zh": "zh_TW.UTF-8"}

READY_STAMP = ".e2e-ready-2"  # renamed whenever a prefix's make-up changes
# Windows links a CJK font behind the Western dialog fonts, so a Chinese character in an
# English interface (a full-width colon in a label, say) still shows; the prefix gets the same.
CJK_FONT = Path("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc")
LINKED_FACES = ("Tahoma", "MS Shell Dlg", "MS Shell Dlg 2", "Microsoft Sans Serif", "Verdana")
# One fixed-size desktop window at the origin of the X screen: every program
# draws inside it, so a root-window screenshot shows dialogs with their captions
# and Win32 screen coordinates equal X coordinates.
DESKTOP_SIZE = "1280x960"
# Debian's Wine does not find its own fonts in /usr/share/wine/fonts; without
# Marlett the caption buttons show as "0 1 r" and dialogs fall back from Tahoma.
WINE_FONTS = Path("/usr/share/wine/fonts")


def prefix(locale: str) -> Path:
    return paths.wine_root() / locale


def env(locale: str, display: str | None = None) -> dict:
    """Environment for running Wine programs of `locale`, optionally on an X display."""
    e = dict(os.environ)
    e.pop("DISPLAY", None)
    e.update(
        WINEPREFIX=str(prefix(locale)),
        WINEDEBUG="-all",
        # No Mono/Gecko install prompts, no desktop menu entries written to $HOME.
        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d",
        LC_ALL=LOCALES[locale],
        LANG=LOCALES[locale],
    )
    if display:
        e["DISPLAY"] = display
    return e


@contextlib.contextmanager
def prefix_lock(locale: str, timeout: float = 900):
    """Exclusive use of a locale's prefix: one creator, one session at a time.

    A wineserver is shared by everything using the prefix, so two sessions on one
    prefix would see each other's windows and kill each other's programs.
    """
    paths.wine_root().mkdir(parents=True, exist_ok=True)
    with open(paths.wine_root() / f"{locale}.lock", "w") as f:
        deadline = time.monotonic() + timeout
        while True:
            try:
                fcntl.flock(f, fcntl.LOCK_EX | fcntl.LOCK_NB)
                break
            except BlockingIOError:
                if time.monotonic() > deadline:
                    raise TimeoutError(f"Wine prefix '{locale}' stayed locked for {timeout}s")
                time.sleep(0.5)
        try:
            yield
        finally:
            fcntl.flock(f, fcntl.LOCK_UN)


def ensure_locale(locale: str) -> None:
    """Generate the Unix locale Wine needs if the machine lacks it (we run as root)."""
    name = LOCALES[locale]
    have = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.split()
    if name.lower().replace("utf-8", "utf8") in (h.lower() for h in have):
        return
    lang, charset = name.split(".")
    subprocess.run(["localedef", "-i", lang, "-f", charset.upper(), name],
                   check=True, timeout=120, capture_output=True)


def ensure_prefix(locale: str) -> Path:
    """Return the locale's prefix, creating it first if needed. Call under prefix_lock."""
    ensure_locale(locale)
    pfx = prefix(locale)
    if (pfx / READY_STAMP).exists():
        return pfx
    shutil.rmtree(pfx, ignore_errors=True)
    # Silent for tens of seconds, and on a first run the user is waiting for it.
    print(f"wine: making the {locale} Wine prefix in {pfx} (about a minute, once)",
          file=sys.stderr, flush=True)
    e = env(locale)
    run = lambda *cmd: subprocess.run(cmd, env=e, check=True, timeout=300,
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    run("wineboot", "-i")
    run("wine", "reg", "add", r"HKCU\Software\Wine\Explorer", "/v", "Desktop", "/d", "Default", "/f")
    run("wine", "reg", "add", r"HKCU\Software\Wine\Explorer\Desktops", "/v", "Default",
        "/d", DESKTOP_SIZE, "/f")
    for font in WINE_FONTS.glob("*.ttf"):
        shutil.copy(font, pfx / "drive_c" / "windows" / "Fonts")
    if CJK_FONT.exists():
        shutil.copy(CJK_FONT, pfx / "drive_c" / "windows" / "Fonts")
        for face in LINKED_FACES:
            run("wine", "reg", "add",
                r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink",
                "/v", face, "/t", "REG_MULTI_SZ", "/d", f"{CJK_FONT.name},WenQuanYi Micro Hei", "/f")
    # The registry reaches the disk only when the wineserver exits.
    run("wineserver", "-w")
    (pfx / READY_STAMP).write_text("")
    return pfx


def ensure_desktop_size(locale: str, size: str) -> None:
    """Gives the prefix's desktop that size ("WxH") for the programs started next. Call
    under prefix_lock, while no Wine process of the prefix runs: the desktop takes its
    size when it is made."""
    section = r'[Software\\Wine\\Explorer\\Desktops]'
    user_reg = (prefix(locale) / "user.reg").read_text(errors="replace")
    settings = user_reg.partition(section)[2].partition("\n[")[0]
    if f'"Default"="{size}"' in settings:
        return
    e = env(locale)
    for cmd in (["wine", "reg", "add", r"HKCU\Software\Wine\Explorer\Desktops", "/v", "Default",
                 "/d", size, "/f"], ["wineserver", "-w"]):
        subprocess.run(cmd, env=e, check=True, timeout=300, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
