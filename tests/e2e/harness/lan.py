"""A simulated LAN for the launcher, made by scripts/lib/lan.sh: a veth pair from
the test's own network namespace to a second namespace where simulated devices run.

The launcher's side gets 10.77.0.1 and a default route through the pair, so its
start-up broadcast to 255.255.255.255:7777 reaches the devices and nothing else:
both namespaces are made by the tests and die with them. The device side has two
addresses, so that a second device can announce an address of its own.
"""
import contextlib
import subprocess
import tempfile
from pathlib import Path

from . import paths
from .poll import eventually
from .session import require_private_network, stop_process

# The addresses lan.sh gives the two sides.
LAUNCHER_ADDRESS = "10.77.0.1"
DEVICE_ADDRESS = "10.77.0.2"
SECOND_DEVICE_ADDRESS = "10.77.0.3"


def devicesim() -> Path:
    return paths.build_root() / "host" / "tools" / "devicesim" / "devicesim"


def lan_sh(*args: str) -> list:
    return ["bash", str(paths.REPO / "scripts" / "lib" / "lan.sh"), *args]


class SimulatedLan:
    """with SimulatedLan([[devicesim options...], ...]) as lan: ... — each list of
    options starts one simulated device at DEVICE_ADDRESS (or, with "--ip",
    SECOND_DEVICE_ADDRESS: it listens on both)."""

    def __init__(self, devices: list):
        self.devices = devices
        self._logs = []
        self._stack = contextlib.ExitStack()

    def __enter__(self):
        require_private_network()
        with contextlib.ExitStack() as stack:
            # The process that holds the devices' namespace; the devices join it.
            holder = subprocess.run(lan_sh("up"), check=True, timeout=10, stdout=subprocess.PIPE,
                                    text=True).stdout.strip()
            stack.callback(subprocess.run, lan_sh("down", holder), timeout=10)
            paths.artifacts_root().mkdir(parents=True, exist_ok=True)
            for options in self.devices:
                log = tempfile.NamedTemporaryFile(prefix="devicesim-", suffix=".log",
                                                  dir=paths.artifacts_root(), delete=False)
                self._logs.append(Path(log.name))
                stack.callback(stop_process, subprocess.Popen(
                    lan_sh("device", holder, str(devicesim()), *options),
                    stdout=log, stderr=subprocess.STDOUT, start_new_session=True))
            for log in self._logs:
                eventually(lambda: "devicesim ready" in log.read_text(errors="replace"),
                           timeout=10)
            self._stack = stack.pop_all()
        return self

    def log(self, index: int = 0) -> str:
        return self._logs[index].read_text(errors="replace")

    def __exit__(self, *exc):
        self._stack.close()
