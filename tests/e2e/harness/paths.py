"""Where the e2e run finds the build and keeps its scratch files.

Everything hangs off the build root so that a fresh clone works after the
build, and TAVRIN_BUILD can point a run at another tree.
"""
import os
from pathlib import Path

REPO = Path(__file__).resolve().parents[3]


def build_root() -> Path:
    root = Path(os.environ.get("TAVRIN_BUILD", "build"))
    return root if root.is_absolute() else REPO / root


def win_bin() -> Path:
    """The shipped files of the cross build (Tavrin.exe, KXC_IE_NATT.dll)."""
    return build_root() / "win" / "bin"


def driver_exe() -> Path:
    return build_root() / "win" / "e2e" / "e2edriver.exe"


def wine_root() -> Path:
    return build_root() / "wine"


def work_root() -> Path:
    return build_root() / "e2e-work"


def artifacts_root() -> Path:
    return build_root() / "e2e-artifacts"
