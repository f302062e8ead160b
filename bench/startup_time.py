"""Times the launcher's start under Wine with a large address book: from the moment the
program is started until its window shows, the list filled (the dialog shows its window
once its start-up has filled the list, and paints the first page at once). Run through
bench/startup-time, which gives it a private network namespace: the launcher broadcasts
a LAN search at every start.

    bench/startup-time [devices, default 100000] [runs, default 3] [launcher, default the build's]

A launcher named on the command line (an older Tavrin.exe kept for comparison) is timed in
place of build/win/bin/Tavrin.exe.
"""
import subprocess
import sys
import tempfile
import time
from pathlib import Path

from harness import paths
from harness.driver import Driver
from harness.program import Program, tavrin_files, windows_path
from harness.session import Session, stop_process
from tavrin import section, text

# The driver's own start after a warm-up, with room to spare: it polls for the window
# from then on, every 50 ms.
DRIVER_START_SECONDS = 2


def sample_book(devices: int) -> bytes:
    """Half the devices reached by address, half through the cloud, with distinct names."""
    parts = []
    for i in range(devices):
        name = b"Site %d Cam %d" % (i % 97, i)
        if i % 2:
            parts.append(section(name, SERVERIP=b"", SERVERPORT=b"80", ACCOUNT=b"admin",
                                 PASSWORD=b"pw%d" % i, UUID=b"KX%018X" % i, UUIDIP=b"",
                                 UUIDMAC=b"", PRIORITY=b""))
        else:
            parts.append(section(name, SERVERIP=b"192.168.%d.%d" % (i // 254 % 256, i % 254 + 1),
                                 SERVERPORT=b"8080", ACCOUNT=b"admin", PASSWORD=b"pw%d" % i,
                                 UUID=b"", UUIDIP=b"", UUIDMAC=b"", PRIORITY=b"Frame"))
    return b"".join(parts)


def one_start(session: Session, driver: Driver, book: bytes, launcher: Path | None) -> float:
    """Seconds from the launcher's start until its main window shows."""
    paths.work_root().mkdir(parents=True, exist_ok=True)
    folder = Path(tempfile.mkdtemp(prefix="startup-time-", dir=paths.work_root()))
    files = tavrin_files(book)
    if launcher is not None:
        files["Tavrin.exe"] = launcher
    for name, source in files.items():
        target = folder / name
        target.write_bytes(source if isinstance(source, bytes) else source.read_bytes())
    waiter = subprocess.Popen(
        ["wine", str(driver.exe), "wait", "--exe", windows_path(folder / "Tavrin.exe"),
         "--title", text("title", "en"), "--timeout", "300"],
        env=session.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    try:
        time.sleep(DRIVER_START_SECONDS)
        started = time.monotonic()
        with Program(session, "startup-time", {}, folder=folder) as program:
            line = waiter.stdout.readline()
            shown = time.monotonic()
            if not line.startswith(b"{") or b'"error"' in line:
                raise RuntimeError(f"the main window did not show: {line!r}")
            program.main_window()
            program.close()
            program.wait_exit(timeout=120)
        return shown - started
    finally:
        stop_process(waiter)


def main(argv: list) -> int:
    devices = int(argv[0]) if argv else 100000
    runs = int(argv[1]) if len(argv) > 1 else 3
    launcher = Path(argv[2]).resolve() if len(argv) > 2 else None
    book = sample_book(devices)
    with Session("en") as session:
        driver = Driver(session)
        driver.windows()  # the session's first Wine process starts its services
        times = [one_start(session, driver, book, launcher) for _ in range(runs)]
    for run, seconds in enumerate(times, 1):
        print(f"start to first page, run {run}    {devices:8d} devices {seconds * 1000:9.1f} ms")
    best = min(times)
    print(f"start to first page, best of {runs} {devices:8d} devices {best * 1000:9.1f} ms")
    print(f"goal (at most 1 s): {'met' if best <= 1.0 else 'missed'}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
