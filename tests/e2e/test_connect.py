"""Connecting to devices on a simulated LAN: a static address, a cloud device
found by the LAN search and confirmed by its MAC, and cloud devices reached
through our NAT library, each ending in the stand-in viewer's log. The library
is told to misbehave as real ones may (it writes into the buffers it is given,
keeps the host-name pointer and reads it at later connects, floods the info
callback, and leaves threads running past its shutdown, one of them calling
back), proxy variables point at a
listener that must hear nothing, and a stranger on the LAN answers the search
without a MAC; the whole scenario runs again with the library built __stdcall."""
import base64
import re
import socket
import sys
import threading
import time
import unittest
import urllib.request

from harness import paths
from harness.lan import DEVICE_ADDRESS, SECOND_DEVICE_ADDRESS, SimulatedLan
from harness.poll import eventually, eventually_equal
from harness.win32 import IDOK, IDYES
from tavrin import EDIT_FORM, LauncherTest, ids, section

LAN_MAC = "02:ab:cd:0a:0b:0c"
CLOUD_MAC = "02:ab:cd:0b:0b:0b"
STRANGER_MAC = "02:ab:cd:0c:0c:0c"
BUSY_MAC = "02:ab:cd:0d:0d:0d"
CREDENTIALS = dict(ACCOUNT=b"admin", PASSWORD=b"secret")
BOOK = b"".join([
    section(b"Wait Cam", SERVERIP=b"", SERVERPORT=b"80", UUID=b"UUID-WAIT", **CREDENTIALS),
    section(b"Other Cam", SERVERIP=b"10.0.0.99", SERVERPORT=b"80", ACCOUNT=b"other",
            PASSWORD=b"otherpw", UUID=b"UUID-OTHER"),
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
    section(b"One Cam", SERVERIP=b"", SERVERPORT=b"80", UUID=b"UUID-ONE", **CREDENTIALS),
    section(b"Stream Cam", SERVERIP=b"", SERVERPORT=b"80", UUID=b"UUID-STREAM", **CREDENTIALS),
    section(b"Busy Cam", SERVERIP=b"", SERVERPORT=b"8083", UUID=b"UUID-BUSY",
            UUIDIP=SECOND_DEVICE_ADDRESS.encode(), UUIDMAC=BUSY_MAC.encode(), **CREDENTIALS),
])
# The scenario's book and a device whose password its device refuses. A row more would push
# the last of BOOK's rows to the list's edge, where the other tests click it.
CHECK_BOOK = BOOK + section(b"Wrong Cam", SERVERIP=DEVICE_ADDRESS.encode(), SERVERPORT=b"80",
                            ACCOUNT=b"admin", PASSWORD=b"wrong", UUID=b"")
# What a check of BOOK says of each device: the static ones by their login page (Other Cam's
# address has nobody), the cloud ones by whether a double-click would find them on the LAN.
CHECKED = {"Other Cam": "no answer", "Static Cam": "ok", "LAN Cam": "on the lan",
           "Busy Cam": "on the lan", "Wrong Cam": "wrong password"}
# Where our NAT library finds each cloud device: the NAT-only device listens on 8081; the
# streaming one is the test's own (its port is filled in per class).
DIRECTORY = f"""scribble
keep-host-name
flood 20000
linger 3000
call-after-deinit 3000
device UUID-CLOUD {DEVICE_ADDRESS}:8081 p2p delay 300
device UUID-RELAY {DEVICE_ADDRESS}:8081 relay
device UUID-CAPTCHA {DEVICE_ADDRESS}:8081 error 17
device UUID-BROKEN {DEVICE_ADDRESS}:8081 error 42
device UUID-ONE {DEVICE_ADDRESS}:8081 error 1
device UUID-SLOW {DEVICE_ADDRESS}:8081 p2p delay 600000
device UUID-WAIT {DEVICE_ADDRESS}:8081 p2p delay 10000
device UUID-STREAM 127.0.0.1:{{stream_port}} relay
"""
WM_CONNECT_RESULT, WM_NAT_STATUS, WM_NAT_INFO = 0x07E8, 0x07E9, 0x07EA
SEARCH_QUIET_SECONDS = 5  # the search ends this long after the last answer


def fields(command_line: str) -> dict:
    return dict(re.findall(r"(IP|PORT|ACCOUNT|PASSWORD|PATH|PRIORITY|DEVICEUUID|DEVICEPORT|"
                           r"CONNECTTYPE|OEMNAME|LANGUAGEID)=(.*?)#", command_line))


class Listener:
    """A TCP port on loopback that accepts connections on a thread of its own and
    counts them; with `stream`, sends to each without pause until it goes away."""

    def __init__(self, stream: bool = False):
        self.stream = stream
        self.accepted = 0
        self.server = socket.create_server(("127.0.0.1", 0))
        self.port = self.server.getsockname()[1]
        threading.Thread(target=self._accept, daemon=True).start()

    def _accept(self):
        while True:
            try:
                connection, _ = self.server.accept()
            except OSError:
                return  # closed
            self.accepted += 1
            if self.stream:
                threading.Thread(target=self._send, args=(connection,), daemon=True).start()

    @staticmethod
    def _send(connection):
        chunk = b"s" * 65536
        with connection:
            try:
                while True:
                    connection.sendall(chunk)
            except OSError:
                pass  # the tunnel has gone

    def close(self):
        self.server.close()


class ConnectTest(LauncherTest):
    library = None  # the shipped build of the NAT library

    @classmethod
    def setUpClass(cls):
        # One device answers the search and serves its pages on port 80; another is only
        # reachable through the NAT library's tunnel (it never answers the search); a third
        # answers the search without a MAC; a fourth serves its pages slowly, at its own
        # address.
        cls.lan = SimulatedLan([
            ["--http-port", "80", "--mac", LAN_MAC, "--user", "admin", "--password", "secret"],
            ["--http-port", "8081", "--search-port", "0", "--no-answer", "--mac", CLOUD_MAC,
             "--user", "admin", "--password", "secret"],
            ["--http-port", "8082", "--form", "text", "--no-mac", "--mac", STRANGER_MAC,
             "--user", "admin", "--password", "secret"],
            ["--http-port", "8083", "--search-port", "0", "--no-answer", "--mac", BUSY_MAC,
             "--ip", SECOND_DEVICE_ADDRESS, "--slow-body", "10", "--user", "admin",
             "--password", "secret"],
        ]).__enter__()
        cls.addClassCleanup(cls.lan.__exit__)
        cls.proxy = Listener()
        cls.addClassCleanup(cls.proxy.close)
        cls.stream = Listener(stream=True)
        cls.addClassCleanup(cls.stream.close)
        super().setUpClass()

    def setUp(self):
        proxy = f"http://127.0.0.1:{self.proxy.port}"
        self.files = {"Pellix.exe": paths.win_bin() / "Pellix.exe",
                      "KXC_IE_NATT.directory":
                          DIRECTORY.format(stream_port=self.stream.port).encode()}
        if self.library:
            self.files["KXC_IE_NATT.dll"] = self.library
        self.env = {"http_proxy": proxy, "HTTP_PROXY": proxy, "all_proxy": proxy,
                    "ALL_PROXY": proxy}
        self.p = self.start("connect", BOOK, env=self.env, **self.files)
        self.main = self.p.main_window()
        self.log = self.p.folder / "Pellix.log"

    def double_click(self, name: str):
        self.p.click_like_user(self.row(self.p, name))
        self.p.click_like_user(self.row(self.p, name), double=True)

    def launches(self) -> list:
        """The command lines the viewer was started with, from its log (ANSI bytes)."""
        return self.log.read_bytes().decode("latin-1").splitlines() if self.log.exists() else []

    def next_launch(self, count: int) -> dict:
        """The viewer's logged line and its fields, and the line the viewer received."""
        eventually(lambda: len(self.launches()) >= count, timeout=15)
        line = self.launches()[count - 1]
        viewers = eventually(lambda: self.viewers(self.p), timeout=10)
        received = self.p.driver.command_line(viewers[0]["pid"])
        self.p.screenshot(f"viewer-{count}")
        self.close_viewers(self.p)
        return {"line": line, "received": received, **fields(line)}

    def http_requests(self, device: int) -> list:
        return [l for l in self.lan.log(device).splitlines() if l.startswith("http ")]

    def saved(self, name: bytes) -> dict:
        """The keys of one device as AddressBook.ini holds them now."""
        return self.devices()[name]

    def devices(self, book: bytes | None = None) -> dict:
        """{name: {key: value}} of a book's devices (AddressBook.ini's unless given), in order."""
        book = book or (self.p.folder / "AddressBook.ini").read_bytes()
        return {name: {b"UUIDIP": b"", b"UUIDMAC": b"", b"PRIORITY": b"",
                       **dict(line.split(b"=", 1) for line in body.split(b"\r\n") if b"=" in line)}
                for name, body in (part.split(b"]\r\n", 1) for part in book.split(b"[")[1:])}

    def tunnel_outcome_across(self, button: int, answer: int, gone: bool = False):
        """A tunnel's outcome while Edit or Delete (`button`) is open on another device, merged
        into another launcher's book; then `answer`, which changes that device (or, `gone`
        from that book, tells so) and none else."""
        if self.library:
            self.skipTest("the library's calling convention plays no part here")
        theirs = b"".join(b"[" + device for device in reversed(BOOK.split(b"[")[1:])
                          if not (gone and device.startswith(b"Other Cam]")))
        theirs += section(b"Pier", SERVERIP=b"10.0.0.10", SERVERPORT=b"80", UUID=b"",
                          **CREDENTIALS)
        (self.p.folder / "AddressBook.ini").write_bytes(theirs)
        self.double_click("Wait Cam")
        eventually(lambda: not self.p.control(ids.IDC_DEVICE_LIST)["enabled"], timeout=5)
        # The list is disabled meanwhile; assistive software can still select in it.
        names = [r[0] for r in self.row_texts(self.p)]
        self.p.driver.select(self.main["hwnd"], names.index("Other Cam"), id=ids.IDC_DEVICE_LIST)
        self.p.driver.click(self.main["hwnd"], id=button)
        editing = button == ids.IDC_EDIT_BUTTON
        command = self.p.dialog(self.text("edit form")) if editing else self.p.message_box()
        if editing:
            self.p.driver.set_text(command["hwnd"], "changed", id=EDIT_FORM["password"])
            self.p.driver.set_text(command["hwnd"], "81", id=EDIT_FORM["port"])
        self.assertEqual(self.launches(), [], "the tunnel connected before the command was open")
        launch = self.next_launch(1)
        self.assertEqual((launch["DEVICEUUID"], launch["received"].count("#ACCOUNT=admin#PASSWORD"
                          "=secret#")), ("UUID-WAIT", 1))
        # Learned and saved at once, merged into the other launcher's book (PRIORITY, never
        # read back, empty).
        expected = {name: {**keys, b"PRIORITY": b""} for name, keys in self.devices(theirs).items()}
        expected[b"Wait Cam"].update({b"UUIDIP": DEVICE_ADDRESS.encode(),
                                      b"UUIDMAC": CLOUD_MAC.encode()})
        book = lambda: list(self.devices().items())
        eventually_equal(book, list(expected.items()))

        self.p.answer(command, answer)
        if gone:
            box = self.p.message_box()
            self.assert_message(box, "device gone", "Other Cam")
            self.p.answer(box, IDOK)
        elif editing:
            expected[b"Other Cam"].update(
                {b"SERVERPORT": b"81", b"PASSWORD": b"changed", b"PRIORITY": b"Frame"})
        else:
            del expected[b"Other Cam"]
        eventually_equal(book, list(expected.items()))
        self.assertEqual([(r[0], r[2]) for r in self.row_texts(self.p)],
                         [(n.decode(), d[b"SERVERPORT"].decode()) for n, d in expected.items()])
        self.close_and_expect_clean_end()

    def test_tunnel_outcome_goes_to_its_device_across_an_edit(self):
        self.tunnel_outcome_across(ids.IDC_EDIT_BUTTON, IDOK)

    def test_tunnel_outcome_goes_to_its_device_across_a_delete(self):
        self.tunnel_outcome_across(ids.IDC_DELETE_BUTTON, IDYES)

    def test_edit_of_a_device_another_launcher_deleted_meanwhile_changes_nothing(self):
        self.tunnel_outcome_across(ids.IDC_EDIT_BUTTON, IDOK, gone=True)

    def close_and_expect_clean_end(self, timeout: float = 15):
        """Closes the launcher: it ends with exit code 0 and no thread of it (the NAT
        library's lingering one included) has faulted on the way."""
        self.p.close()
        self.p.assert_clean_exit(timeout)
        for fault in ("Unhandled", "unloaded under a running thread", "kept from an earlier "
                      "connect has changed", "called after NATSocket_DeInit"):
            self.assertNotIn(fault, self.p.output())

    def expect_connect_error(self, name: str, code: int, key: str):
        """The double-click on `name` ends in the box TEXTS' `key` says with `code`."""
        self.double_click(name)
        box = self.p.message_box(timeout=15)
        self.assertEqual(box["text"], self.text(key).format(code))
        self.assertFalse(self.p.control(ids.IDC_DEVICE_LIST)["enabled"])
        self.p.screenshot(f"error-{code}")
        self.p.driver.click(box["hwnd"], id=IDOK)
        eventually(lambda: self.p.control(ids.IDC_DEVICE_LIST)["enabled"], timeout=5)

    def test_static_address_tunnels_and_their_errors(self):
        language = "1" if self.english() else "0"
        folder = "Z:" + str(self.p.folder.resolve()).replace("/", "\\") + "\\"

        # A static address: at once, and without a request to the device.
        before = len(self.http_requests(0))
        self.double_click("Static Cam")
        static = self.next_launch(1)
        sent = (f"Pellix.exe IP={DEVICE_ADDRESS}#PORT=80#ACCOUNT=admin#PASSWORD=%s#"
                f"PATH=path={folder}&#PRIORITY=#DEVICEUUID=SEEN-TOO#DEVICEPORT=80#"
                f"CONNECTTYPE=STATIC IP#OEMNAME=oemname=ZEQ&#LANGUAGEID={language}#")
        # The viewer gets the password; its log, which stays on the user's disk, does not.
        self.assertEqual(static["received"], sent % "secret")
        self.assertEqual(static["line"], sent % "********")
        # Enter on the selected row and the context menu's Connect do what the double-click did.
        self.p.click_like_user(self.row(self.p, "Static Cam"))
        self.session.xdotool("key", "Return")
        self.assertEqual(self.next_launch(2)["line"], static["line"])
        self.p.click_like_user(self.row(self.p, "Static Cam"), button=3)
        self.p.click_like_user(self.p.context_menu()[0])
        self.assertEqual(self.next_launch(3)["line"], static["line"])
        self.assertEqual(len(self.http_requests(0)), before)

        # A device that answers slowly holds the window until the request's time-out: the wait
        # cursor shows meanwhile, and the window's own comes back. What arrived names the
        # device's MAC, so the viewer starts at its remembered address.
        self.double_click("Busy Cam")
        eventually(lambda: self.p.driver.wait_cursor(self.main["pid"]), timeout=5)
        busy = self.next_launch(4)
        self.assertEqual((busy["IP"], busy["PORT"]), (SECOND_DEVICE_ADDRESS, "8083"))
        eventually(lambda: not self.p.driver.wait_cursor(self.main["pid"]), timeout=5)

        # Through the tunnel, peer to peer: the list waits, the viewer gets the tunnel's end,
        # and what the device reports through it is saved at once.
        self.double_click("Cloud Cam")
        cloud = self.next_launch(5)
        self.assertEqual((cloud["IP"], cloud["CONNECTTYPE"], cloud["DEVICEPORT"],
                          cloud["DEVICEUUID"]), ("127.0.0.1", "P2P", "0080", "UUID-CLOUD"))
        self.assertNotEqual(cloud["PORT"], "0080")
        eventually_equal(lambda: self.saved(b"Cloud Cam").get(b"UUIDMAC"), CLOUD_MAC.encode())
        self.assertEqual(self.saved(b"Cloud Cam")[b"UUIDIP"], DEVICE_ADDRESS.encode())
        self.assertTrue(any("Config.cgi" in line for line in self.http_requests(1)))
        # A request of our own through the tunnel's port reaches the device.
        request = urllib.request.Request(f"http://127.0.0.1:{cloud['PORT']}/Login.cgi", headers={
            "Authorization": "Basic " + base64.b64encode(b"admin:secret").decode()})
        with urllib.request.urlopen(request, timeout=5) as reply:
            self.assertIn(f"MAC-Address={CLOUD_MAC}", reply.read().decode())

        self.double_click("Relay Cam")
        relay = self.next_launch(6)
        self.assertEqual((relay["CONNECTTYPE"], relay["DEVICEUUID"]), ("RELAY", "UUID-RELAY"))

        # A library that reports 1 after a failure has still failed.
        for name, code, key in (("Gone Cam", 15, "device unknown"),
                                ("Captcha Cam", 17, "captcha error"),
                                ("Broken Cam", 42, "connect failed"), ("One Cam", 1, "connect failed")):
            self.expect_connect_error(name, code, key)
        self.assertEqual(len(self.launches()), 6)

        # Closing while a stream flows through a tunnel without pause: the library's
        # shutdown cuts it off. The library has written into every buffer it was given and
        # leaves a thread running past its shutdown: the launcher still ends cleanly.
        self.double_click("Stream Cam")
        port = int(self.next_launch(7)["PORT"])
        viewer = socket.create_connection(("127.0.0.1", port), timeout=10)
        self.addCleanup(viewer.close)
        received = 0
        while received < 8 * 1024 * 1024:
            received += len(viewer.recv(65536))
        started = time.monotonic()
        self.close_and_expect_clean_end()
        print(f"closed during a stream in {time.monotonic() - started:.2f} s", file=sys.stderr)
        self.assertEqual(self.proxy.accepted, 0)
        # Every attempt's host name was still there, as the library left it, when it looked
        # at it again at each later connect and at its shutdown.
        self.assertIn("KXC_IE_NATT: host names kept: 7, changed: 0", self.p.output())

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
        self.assertEqual(self.proxy.accepted, 0)  # the proxy variables were not followed

        # No stored MAC: the stranger's answer without one confirms nothing and hears
        # nothing; the tunnel takes over.
        self.assertIn("search request from", self.lan.log(2))
        self.double_click("Relay Cam")
        self.assertEqual(self.next_launch(2)["CONNECTTYPE"], "RELAY")
        self.assertEqual(self.http_requests(2), [])
        self.close_and_expect_clean_end()
        self.assertEqual(self.saved(b"LAN Cam")[b"UUIDIP"], DEVICE_ADDRESS.encode())

    def columns(self, p) -> list:
        """The device list's headers, read with messages the window must answer in time."""
        return p.driver.listview(p.main["hwnd"], id=ids.IDC_DEVICE_LIST)["columns"]

    def statuses(self, p) -> dict:
        return {r[0]: r[4] for r in self.row_texts(p)}

    def test_check_devices_asks_what_a_double_click_would_and_changes_nothing(self):
        if self.library:
            self.skipTest("the library's calling convention plays no part here")
        # A launcher of its own, for a book with one device more.
        self.p.close()
        self.p.wait_exit()
        self.p = self.start("check", CHECK_BOOK, env=self.env, **self.files)
        self.main = self.p.main_window()
        eventually(lambda: "Run exit" in self.p.output(), timeout=SEARCH_QUIET_SECONDS + 15)
        self.assertEqual(len(self.columns(self.p)), 4)
        # Every row selected, then the row menu's check.
        self.p.click_like_user(self.rows(self.p)[0])
        self.session.xdotool("key", "shift+End")
        self.p.click_like_user(self.row(self.p, "Static Cam"), button=3)
        items = self.p.context_menu()
        self.assertEqual([i["text"] for i in items], self.text("row menu"))
        self.p.click_like_user(items[3])
        expected = {name.decode(): self.text(CHECKED.get(name.decode(), "not on the lan"))
                    for name in self.devices(CHECK_BOOK)}
        eventually_equal(lambda: self.statuses(self.p), expected, timeout=30)
        self.assertEqual(self.columns(self.p)[4], self.text("status"))
        self.p.screenshot("checked")
        # Nothing through the tunnel, nothing to the stranger or the proxy.
        self.assertEqual((self.http_requests(1), self.http_requests(2), self.proxy.accepted),
                         ([], [], 0))

        # F5 checks the selected device alone, which asks its page once more.
        before = len(self.http_requests(0))
        self.p.click_like_user(self.row(self.p, "Wrong Cam"))
        self.session.xdotool("key", "F5")
        eventually(lambda: len(self.http_requests(0)) == before + 1)
        eventually_equal(lambda: self.statuses(self.p), expected)
        self.close_and_expect_clean_end()
        # Nothing learned: LAN Cam's address, which a double-click would keep, is not saved.
        self.assertEqual(self.devices(), {name: {**keys, b"PRIORITY": b""}
                                          for name, keys in self.devices(CHECK_BOOK).items()})

        # 300 devices at addresses where nobody answers: each takes the second of its connect
        # time-out, eight at a time. The window answers meanwhile, and Esc ends the check.
        many = b"".join(section(b"Cam %03d" % i, SERVERIP=b"10.77.0.%d" % (100 + i % 100),
                                SERVERPORT=b"80", UUID=b"", **CREDENTIALS) for i in range(300))
        p = self.start("check-many", many)
        p.main_window()
        p.click_like_user(self.rows(p)[0])
        self.session.xdotool("key", "ctrl+space")  # the focused row stays, unselected
        eventually(lambda: not any(r["selected"] for r in self.rows(p)))
        self.session.xdotool("key", "F5")
        progress = lambda: self.columns(p)[4]
        eventually(lambda: progress() != self.text("checking").format(0, 300))
        checking = progress()
        self.assertRegex(checking, self.text("checking").format(r"\d+", 300))
        p.screenshot("checking")
        self.session.xdotool("key", "Escape")
        eventually_equal(progress, self.text("status"))
        statuses = [r[4] for r in self.row_texts(p)]
        self.assertIn(self.text("no answer"), statuses)
        self.assertIn("", statuses)
        # Closing during a check ends it; the book is saved as it was.
        self.session.xdotool("key", "F5")
        eventually(lambda: progress() != self.text("status"))
        started = time.monotonic()
        p.close()
        p.assert_clean_exit(timeout=20)
        print(f"closed during a check in {time.monotonic() - started:.2f} s", file=sys.stderr)
        self.assertEqual(self.devices((p.folder / "AddressBook.ini").read_bytes()),
                         {name: {**keys, b"PRIORITY": b""}
                          for name, keys in self.devices(many).items()})

    def test_closing_while_the_library_still_connects(self):
        self.double_click("Slow Cam")
        eventually(lambda: not self.p.control(ids.IDC_DEVICE_LIST)["enabled"], timeout=5)
        # Another program posts the launcher's own messages with made-up values: a forged
        # success is no result of the running attempt, and no value is taken for a pointer.
        for msg, wparam, lparam in ((WM_NAT_INFO, 0, 0x12345678), (WM_NAT_INFO, 7, 0xFFFFFFFF),
                                    (WM_NAT_STATUS, 1, 0xDEADBEEF), (WM_CONNECT_RESULT, 0, 1),
                                    (WM_CONNECT_RESULT, 3, 0x7FFFFFFF)):
            self.p.driver.post_message(self.main["hwnd"], msg, wparam, lparam)
        time.sleep(1)
        self.assertTrue(self.p.running())
        self.assertFalse(self.p.control(ids.IDC_DEVICE_LIST)["enabled"])
        boxes = self.p.driver.windows(pid=self.main["pid"], cls="#32770",
                                      exclude=[self.main["hwnd"]])
        self.assertEqual([w for w in boxes if w["visible"]], [])
        started = time.monotonic()
        # At most the worker's 3 s wait, then the library's shutdown ends the attempt; no
        # viewer is started for it afterwards.
        self.close_and_expect_clean_end(timeout=20)
        self.assertLess(time.monotonic() - started, 15)
        self.assertEqual(self.launches(), [])
        self.assertIn(b"[Slow Cam]", (self.p.folder / "AddressBook.ini").read_bytes())


class ChineseConnectTest(ConnectTest):
    locale = "zh"


class StdcallLibraryConnectTest(ConnectTest):
    """The same scenario with our library built __stdcall with plain names."""
    library = paths.build_root() / "win" / "stdcall" / "KXC_IE_NATT.dll"


if __name__ == "__main__":
    unittest.main()
