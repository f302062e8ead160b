"""A simulated LAN for the launcher: a veth pair from the test's own network
namespace to a second namespace where simulated devices run.

The launcher's side gets 10.77.0.1 and a default route through the pair, so its
start-up broadcast to 255.255.255.255:7777 reaches the devices and nothing else:
both namespaces are made by the tests and die with them. The device side has two
addresses, so that a second device can announce an address of its own.
"""
import os
import subprocess
import tempfile
import time
from pathlib import Path

from . import paths
from .poll import eventually
from .session import require_private_network, stop_process

LAUNCHER_ADDRESS = "10.77.0.1"
DEVICE_ADDRESS = "10.77.0.2"
SECOND_DEVICE_ADDRESS = "10.77.0.3"


def devicesim() -> Path:
    return paths.build_root() / "host" / "tools" / "devicesim" / "devicesim"


class SimulatedLan:
    """with SimulatedLan([[devicesim options...], ...]) as lan: ... — each list of
    options starts one simulated device at DEVICE_ADDRESS (or, with "--ip",
    SECOND_DEVICE_ADDRESS: it listens on both)."""

    def __init__(self, devices: list):
        self.devices = devices
        self._holder = None
        self._sims = []
        self._logs = []

    def __enter__(self):
        require_private_network()
        try:
            self._start()
        except BaseException:
            self.__exit__()
            raise
        return self

    def _start(self):
        # A process that only sleeps holds the device namespace; the devices join it.
        self._holder = subprocess.Popen(["unshare", "-n", "--", "sleep", "infinity"],
                                        start_new_session=True)
        own = os.readlink("/proc/self/ns/net")
        eventually(lambda: os.readlink(f"/proc/{self._holder.pid}/ns/net") != own, timeout=5)
        pid = str(self._holder.pid)
        run = lambda *cmd: subprocess.run(cmd, check=True, timeout=10)
        inside = lambda *cmd: run("nsenter", "-t", pid, "-n", *cmd)
        run("ip", "link", "add", "v0", "type", "veth", "peer", "name", "v1", "netns", pid)
        run("ip", "addr", "add", f"{LAUNCHER_ADDRESS}/24", "dev", "v0")
        run("ip", "link", "set", "v0", "up")
        run("ip", "route", "add", "default", "dev", "v0")
        inside("ip", "link", "set", "lo", "up")
        inside("ip", "addr", "add", f"{DEVICE_ADDRESS}/24", "dev", "v1")
        inside("ip", "addr", "add", f"{SECOND_DEVICE_ADDRESS}/24", "dev", "v1")
        inside("ip", "link", "set", "v1", "up")
        inside("ip", "route", "add", "default", "dev", "v1")
        paths.artifacts_root().mkdir(parents=True, exist_ok=True)
        for options in self.devices:
            log = tempfile.NamedTemporaryFile(prefix="devicesim-", suffix=".log",
                                              dir=paths.artifacts_root(), delete=False)
            self._logs.append(Path(log.name))
            self._sims.append(subprocess.Popen(
                ["nsenter", "-t", pid, "-n", str(devicesim()), "--bind", "0.0.0.0",
                 "--ip", DEVICE_ADDRESS, *options],
                stdout=log, stderr=subprocess.STDOUT, start_new_session=True))
        for log in self._logs:
            eventually(lambda: "devicesim ready" in log.read_text(errors="replace"), timeout=10)

    def log(self, index: int = 0) -> str:
        return self._logs[index].read_text(errors="replace")

    def __exit__(self, *exc):
        for sim in self._sims:
            stop_process(sim)
        if self._holder:
            stop_process(self._holder)
            # The pair goes with the device namespace; make sure our end is gone too.
            subprocess.run(["ip", "link", "del", "v0"], capture_output=True)
            time.sleep(0.1)
