"""Connecting to devices on a simulated LAN: a static address, a cloud device
found by the LAN search and confirmed by its MAC, and cloud devices reached
through our NAT library, each ending in the stand-in viewer's log."""
import base64
import re
import time
import unittest
import urllib.request

from harness import paths
from harness.driver import NotFound
from harness.lan import DEVICE_ADDRESS, SimulatedLan
from harness.poll import eventually
from tavrin import DEVICE_LIST, LauncherTest, section

LAN_MAC = "02:ab:cd:0a:0b:0c"
CLOUD_MAC = "02:ab:cd:0b:0b:0b"
CREDENTIALS = dict(ACCOUNT=b"admin", PASSWORD=b"secret")
BOOK = b"".join([
    section(b"Static Cam", SERVERIP=DEVICE_ADDRESS.encode(), SERVERPORT=b"80", UUID=b"SEEN-TOO",
            PRIORITY=b"Frame", **CREDENTIALS),
    section(b"LAN Cam", SERVERIP=b"", SERVERPORT=b"80", UUID=b"UUID-LAN",
            UUIDMAC=LAN_MAC.encode(), **CREDENTIALS),
    section(b"Cloud Cam", SERVERIP=b"", SERVERPORT=b"0080", UUID=b"UUID-CLOUD", **CREDENTIALS),
    section(b"Relay Cam", SERVERIP=b"", SERVERPORT=b"80", UUID=b"UUID-RELAY", **CREDENTIALS),
    section(b"Gone Cam", SERVERIP=b"", SERVERPORT=b"80", UUID=b"UUID-UNKNOWN", **CREDENTIALS),
    section(b"Captcha Cam", SERVERIP=b"", SERVERPORT=b"80", UUID=b"UUID-CAPTCHA", **CREDENTIALS),
    section(b"Broken Cam", SERVERIP=b"", SERVERPORT=b"80", UUID=b"UUID-BROKEN", **CREDENTIALS),
    section(b"Slow Cam", SERVERIP=b"", SERVERPORT=b"80", UUID=b"UUID-SLOW", **CREDENTIALS),
])
# Where our NAT library finds each cloud device: the NAT-only device listens on 8081.
DIRECTORY = f"""device UUID-CLOUD {DEVICE_ADDRESS}:8081 p2p delay 300
device UUID-RELAY {DEVICE_ADDRESS}:8081 relay
device UUID-CAPTCHA {DEVICE_ADDRESS}:8081 error 17
device UUID-BROKEN {DEVICE_ADDRESS}:8081 error 42
device UUID-SLOW {DEVICE_ADDRESS}:8081 p2p delay 600000
""".encode()
MESSAGES = {
    "en": {15: "Device is not exist.(15)", 17: "Captcha error.(17)", 42: "Connect failed.(42)"},
    "zh": {15: "設備不存在。(15)", 17: "認證碼錯誤。(17)", 42: "連線失敗。(42)"},
}
SEARCH_QUIET_SECONDS = 5  # the search ends this long after the last answer


def fields(command_line: str) -> dict:
    return dict(re.findall(r"(IP|PORT|ACCOUNT|PASSWORD|PATH|PRIORITY|DEVICEUUID|DEVICEPORT|"
                           r"CONNECTTYPE|OEMNAME|LANGUAGEID)=(.*?)#", command_line))


class ConnectTest(LauncherTest):
    @classmethod
    def setUpClass(cls):
        # One device answers the search and serves its pages on port 80; the other is only
        # reachable through the NAT library's tunnel (it never answers the search).
        cls.lan = SimulatedLan([
            ["--http-port", "80", "--mac", LAN_MAC, "--user", "admin", "--password", "secret"],
            ["--http-port", "8081", "--search-port", "0", "--no-answer", "--mac", CLOUD_MAC,
             "--user", "admin", "--password", "secret"],
        ]).__enter__()
        cls.addClassCleanup(cls.lan.__exit__)
        super().setUpClass()

    def setUp(self):
        self.p = self.start("connect", BOOK, **{
            "Pellix.exe": paths.win_bin() / "Pellix.exe", "KXC_IE_NATT.directory": DIRECTORY})
        self.main = self.p.main_window()
        self.log = self.p.folder / "Pellix.log"

    def row(self, name: str) -> dict:
        rows = self.p.driver.listview(self.main["hwnd"], id=DEVICE_LIST)["rows"]
        return next(r for r in rows if r["texts"][0] == name)

    def double_click(self, name: str):
        self.p.click_like_user(self.row(name))
        self.p.click_like_user(self.row(name), double=True)

    def launches(self) -> list:
        """The command lines the viewer was started with, from its log (ANSI bytes)."""
        return self.log.read_bytes().decode("latin-1").splitlines() if self.log.exists() else []

    def next_launch(self, count: int) -> dict:
        eventually(lambda: len(self.launches()) >= count, timeout=15)
        line = self.launches()[count - 1]
        viewers = lambda: [w for w in self.p.driver.windows(exe="Pellix.exe") if w["visible"]]
        eventually(viewers, timeout=10)
        self.p.screenshot(f"viewer-{count}")
        # Close the viewer so that it covers nothing the next click needs.
        for viewer in self.p.driver.windows(exe="Pellix.exe"):
            if viewer["visible"]:
                try:
                    self.p.driver.close(viewer["hwnd"])
                except NotFound:
                    pass  # it closed on its own meanwhile
        return {"line": line, **fields(line)}

    def http_requests(self, device: int) -> list:
        return [l for l in self.lan.log(device).splitlines() if l.startswith("http ")]

    def saved(self, name: bytes) -> dict:
        """The keys of one device as AddressBook.ini holds them now."""
        text = (self.p.folder / "AddressBook.ini").read_bytes()
        body = text.split(b"[" + name + b"]\r\n", 1)[1].split(b"\r\n[", 1)[0]
        return dict(line.split(b"=", 1) for line in body.split(b"\r\n") if b"=" in line)

    def expect_connect_error(self, name: str, code: int):
        self.double_click(name)
        box = self.p.driver.wait(pid=self.main["pid"], cls="#32770", exclude=[self.main["hwnd"]],
                                 timeout=15)
        message = self.p.driver.msgbox(box["hwnd"])
        self.assertEqual(message["text"], MESSAGES[self.locale][code])
        self.assertFalse(self.p.control(DEVICE_LIST)["enabled"])
        self.p.screenshot(f"error-{code}")
        self.p.driver.click(box["hwnd"], id=1)
        eventually(lambda: self.p.control(DEVICE_LIST)["enabled"], timeout=5)

    def test_static_address_tunnels_and_their_errors(self):
        language = "1" if self.english() else "0"
        folder = "Z:" + str(self.p.folder.resolve()).replace("/", "\\") + "\\"

        # A static address: at once, and without a request to the device.
        before = len(self.http_requests(0))
        self.double_click("Static Cam")
        static = self.next_launch(1)
        self.assertEqual(static["line"],
                         f"Pellix.exe IP={DEVICE_ADDRESS}#PORT=80#ACCOUNT=admin#PASSWORD=secret#"
                         f"PATH=path={folder}&#PRIORITY=#DEVICEUUID=SEEN-TOO#DEVICEPORT=80#"
                         f"CONNECTTYPE=STATIC IP#OEMNAME=oemname=ZEQ&#LANGUAGEID={language}#")
        self.assertEqual(len(self.http_requests(0)), before)

        # Through the tunnel, peer to peer: the list waits, the viewer gets the tunnel's end,
        # and what the device reports through it is saved at once.
        self.double_click("Cloud Cam")
        cloud = self.next_launch(2)
        self.assertEqual((cloud["IP"], cloud["CONNECTTYPE"], cloud["DEVICEPORT"]),
                         ("127.0.0.1", "P2P", "0080"))
        self.assertNotEqual(cloud["PORT"], "0080")
        eventually(lambda: self.saved(b"Cloud Cam").get(b"UUIDMAC") == CLOUD_MAC.encode())
        self.assertEqual(self.saved(b"Cloud Cam")[b"UUIDIP"], DEVICE_ADDRESS.encode())
        self.assertTrue(any("Config.cgi" in line for line in self.http_requests(1)))
        # A request of our own through the tunnel's port reaches the device.
        request = urllib.request.Request(f"http://127.0.0.1:{cloud['PORT']}/Login.cgi", headers={
            "Authorization": "Basic " + base64.b64encode(b"admin:secret").decode()})
        with urllib.request.urlopen(request, timeout=5) as reply:
            self.assertIn(f"MAC-Address={CLOUD_MAC}", reply.read().decode())

        self.double_click("Relay Cam")
        self.assertEqual(self.next_launch(3)["CONNECTTYPE"], "RELAY")

        for name, code in (("Gone Cam", 15), ("Captcha Cam", 17), ("Broken Cam", 42)):
            self.expect_connect_error(name, code)
        self.assertEqual(len(self.launches()), 3)
        self.p.close()
        self.assertEqual(self.p.wait_exit(), 0)

    def test_cloud_device_found_on_the_lan_by_its_mac(self):
        # The double-click uses the search's list once the search has ended, 5 s after the
        # device's answer; the search says so on standard output.
        eventually(lambda: "search request from" in self.lan.log(0), timeout=15)
        eventually(lambda: "Run exit" in self.p.output(), timeout=SEARCH_QUIET_SECONDS + 15)
        self.double_click("LAN Cam")
        lan = self.next_launch(1)
        self.assertEqual((lan["IP"], lan["PORT"], lan["CONNECTTYPE"], lan["DEVICEUUID"]),
                         (DEVICE_ADDRESS, "80", "STATIC IP", "UUID-LAN"))
        self.assertTrue(any(line.startswith("http GET /Login.cgi") for line in self.http_requests(0)))
        self.p.close()
        self.assertEqual(self.p.wait_exit(), 0)
        self.assertEqual(self.saved(b"LAN Cam")[b"UUIDIP"], DEVICE_ADDRESS.encode())

    def test_closing_while_the_library_still_connects(self):
        self.double_click("Slow Cam")
        eventually(lambda: not self.p.control(DEVICE_LIST)["enabled"], timeout=5)
        started = time.monotonic()
        self.p.close()
        # At most the worker's 3 s wait, then the library's shutdown ends the attempt; no
        # viewer is started for it afterwards.
        self.assertEqual(self.p.wait_exit(timeout=20), 0)
        self.assertLess(time.monotonic() - started, 15)
        self.assertEqual(self.launches(), [])
        self.assertIn(b"[Slow Cam]", (self.p.folder / "AddressBook.ini").read_bytes())


class ChineseConnectTest(ConnectTest):
    locale = "zh"


if __name__ == "__main__":
    unittest.main()
