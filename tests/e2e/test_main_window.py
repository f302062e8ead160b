"""The main window as a user sees it: the list, its sorting and the header's
sort arrows, its filter box, the layout of the list and the button row before
and after a resize, and the About box."""
import unittest

from harness import paths
from harness.poll import eventually, eventually_equal
from harness.win32 import IDOK, SC_MINIMIZE, SC_RESTORE
from tavrin import BUTTON_ROW, LauncherTest, ids, section

DEVICES = [  # name, address, port
    (b"lobby", b"10.0.0.5", b"8080"), (b"Front Door", b"192.168.1.64", b"80"),
    (b"Warehouse NVR", b"192.168.1.20", b"554"), (b"annex", b"10.0.0.7", b"80abc"),
    (b"Parking Lot", b"192.168.1.65", b"443"), (b"Branch Office", b"", b""),
    (b"Gate", b"10.0.0.9", b"81"), (b"Yard", b"10.0.0.10", b"8000"),
    (b"Dock", b"10.0.0.11", b"9"),
]


class MainWindowTest(LauncherTest):
    def click_header(self, p, column: int):
        """A real click on a column header: the widths are 30/30/10/30 % of the list."""
        lst = p.control(ids.IDC_DEVICE_LIST)["rect"]
        width = lst["right"] - lst["left"] - 4
        shares = (30, 30, 10, 30)
        x = lst["left"] + 2 + sum(width * s // 100 for s in shares[:column]) + width * shares[column] // 200
        y = lst["top"] + 10
        hit = p.driver.at(x, y)
        self.assertEqual((hit["pid"], hit["class"]), (p.main["pid"], "SysHeader32"),
                         "something lies over the list's header")
        self.session.click_at(x, y)

    def test_list_sorts_lays_out_resizes_and_shows_about(self):
        book = b"".join(section(n, SERVERIP=ip, SERVERPORT=port, UUID=b"U" if not ip else b"")
                        for n, ip, port in DEVICES)
        p = self.start("mainwindow", book)
        p.main_window()
        self.assertEqual([p.control(id)["text"] for id in BUTTON_ROW],
                         [self.text(key) for key in BUTTON_ROW.values()])
        names_now = lambda: [r[0] for r in self.row_texts(p)]
        self.assertEqual(names_now(), [d[0].decode() for d in DEVICES])
        self.assert_main_layout(p)
        p.screenshot("1-started")

        self.assertEqual(self.sort_arrows(p), ["", "", "", ""])
        self.click_header(p, 0)
        names = sorted((d[0].decode() for d in DEVICES), key=str.lower, reverse=True)
        eventually_equal(names_now, names)
        self.assertEqual(self.sort_arrows(p), ["down", "", "", ""])
        p.screenshot("2-sorted-by-name-descending")
        self.click_header(p, 0)
        eventually_equal(names_now, names[::-1])
        self.assertEqual(self.sort_arrows(p), ["up", "", "", ""])

        self.click_header(p, 2)
        ports = lambda: [r[2] for r in self.row_texts(p)]
        # By number: no digits is 0, "80abc" is 80 like "80"; 80 before 554 before 8080.
        eventually_equal(lambda: ports()[:2], ["", "9"])
        self.assertEqual(sorted(ports()[2:4]), ["80", "80abc"])
        self.assertEqual(ports()[4:], ["81", "443", "554", "8000", "8080"])
        self.assertEqual(self.sort_arrows(p), ["", "", "up", ""])
        p.screenshot("3-sorted-by-port")

        # Drag the frame's bottom-right corner as a user would.
        frame = p.frame()["rect"]
        x, y = frame["right"] - 3, frame["bottom"] - 3
        self.session.xdotool("mousemove", str(x), str(y), "mousedown", "1",
                             "mousemove", str(x + 60), str(y + 40),
                             "mousemove", str(x + 160), str(y + 90), "mouseup", "1")
        eventually(lambda: p.frame()["rect"]["right"] > frame["right"] + 100, timeout=10)
        self.assert_main_layout(p)
        p.screenshot("4-resized")

        # Minimised and restored, the window keeps its layout.
        p.driver.syscommand(p.main["hwnd"], SC_MINIMIZE)
        eventually(lambda: p.frame()["rect"]["right"] - p.frame()["rect"]["left"]
                   < frame["right"] - frame["left"], timeout=10)
        p.screenshot("4b-minimised")
        p.driver.syscommand(p.main["hwnd"], SC_RESTORE)
        eventually(lambda: p.frame()["rect"]["right"] > frame["right"] + 100, timeout=10)
        self.assert_main_layout(p)

        p.driver.syscommand(p.main["hwnd"], ids.IDM_ABOUTBOX)
        about = p.dialog(self.text("about title"))
        texts = [c["text"] for c in p.controls(about["hwnd"])]
        self.assertIn(self.text("about version"), texts)
        self.assertIn(self.text("about program"), texts)
        p.screenshot("5-about")
        p.answer(about, IDOK)
        self.assert_closes(p)

    def type_into(self, box, text: str, tries: int = 3):
        """Types a character that no key of the X keyboard makes into the empty box that has
        the focus: xdotool maps a spare key to it for the moment of the keystroke, and Wine,
        reading the new mapping late, may take that keystroke for none. Typed again until
        the box holds it."""
        for _ in range(tries):
            self.session.type_text(text)
            try:
                eventually(lambda: box()["text"] == text)
                return
            except AssertionError:
                self.assertEqual(box()["text"], "", "the box took another text")
        self.fail(f"{text!r} never reached the box")

    def test_filter_box_narrows_the_list_as_you_type(self):
        # In Big5, 大門 and 入門 are A4 6A AA F9 and A4 4A AA F9: second bytes that read as
        # "j" and "J" to a single-byte code page, and must not match a typed letter.
        big5 = [] if self.english() else [("大門".encode("cp950"), b"10.1.0.1"),
                                          ("入門 2".encode("cp950"), b"10.1.0.2")]
        devices = DEVICES + [(name, ip, b"80") for name, ip in big5] + [(b"Jetty", b"10.1.0.3", b"80")]
        book = b"".join(section(n, SERVERIP=ip, SERVERPORT=port, UUID=b"U" if not ip else b"")
                        for n, ip, port in devices)
        p = self.start("filter", book, **{"Pellix.exe": paths.win_bin() / "Pellix.exe"})
        p.main_window()
        everything = [d[0].decode("cp950" if big5 else "ascii") for d in devices]
        names_now = lambda: [r[0] for r in self.row_texts(p)]
        box = lambda: p.control(ids.IDC_FILTER_EDIT)
        self.assertFalse(box()["visible"])

        p.click_like_user(self.rows(p)[0])
        self.session.xdotool("key", "ctrl+f")
        eventually(lambda: box()["visible"])
        # The box stands where the list's top was; the list starts below it.
        lst = p.control(ids.IDC_DEVICE_LIST)["rect"]
        client = p.frame()["client"]
        self.assertEqual((box()["rect"]["left"], box()["rect"]["top"], box()["rect"]["right"]),
                         (client["left"] + 20, client["top"] + 20, lst["right"]))
        self.assertEqual(lst["top"], box()["rect"]["bottom"] + 8)
        p.screenshot("filter-1-shown")
        self.session.type_text("ARK")  # any letter case: Parking Lot
        eventually_equal(names_now, ["Parking Lot"])
        self.session.xdotool("key", "ctrl+a", "BackSpace")
        eventually_equal(names_now, everything)
        self.session.type_text("0.0.1")  # 10.0.0.10 and 10.0.0.11, in the list's order
        eventually_equal(names_now, ["Yard", "Dock"])
        p.screenshot("filter-2-address")
        self.session.xdotool("key", "ctrl+a")
        self.session.type_text("j")
        eventually_equal(names_now, ["Jetty"])
        if big5:
            self.session.xdotool("key", "BackSpace")
            self.type_into(box, "門")
            eventually_equal(names_now, ["大門", "入門 2"])
            p.screenshot("filter-3-big5")

        # Escape puts the box away, empty, and shows every device in the window's own layout.
        self.session.xdotool("key", "Escape")
        eventually(lambda: not box()["visible"])
        self.assertEqual(box()["text"], "")
        eventually_equal(names_now, everything)
        self.assert_main_layout(p)

        # Enter in the box connects to the one row left.
        self.session.xdotool("key", "ctrl+e")
        eventually(lambda: box()["visible"])
        self.session.type_text("front")
        eventually_equal(names_now, ["Front Door"])
        self.session.xdotool("key", "Return")
        log = p.folder / "Pellix.log"
        eventually(lambda: log.exists() and b"IP=192.168.1.64#" in log.read_bytes(), timeout=15)
        self.close_viewers(p)
        self.assert_closes(p)

    def test_tiny_frame_keeps_a_sane_layout_and_recovers(self):
        p = self.start("tinyframe", b"".join(section(n, SERVERIP=ip) for n, ip, _ in DEVICES))
        p.main_window()
        frame = p.frame()["rect"]
        x, y = frame["right"] - 3, frame["bottom"] - 3
        self.session.xdotool("mousemove", str(x), str(y), "mousedown", "1",
                             "mousemove", str(frame["left"] + 40), str(frame["top"] + 40),
                             "mouseup", "1")
        eventually(lambda: p.frame()["rect"]["right"] < frame["right"] - 200, timeout=10)
        lst = p.control(ids.IDC_DEVICE_LIST)["rect"]
        self.assertGreaterEqual(lst["right"], lst["left"])
        self.assertGreaterEqual(lst["bottom"], lst["top"])
        p.screenshot("tiny")
        small = p.frame()["rect"]
        self.session.xdotool("mousemove", str(small["right"] - 3), str(small["bottom"] - 3),
                             "mousedown", "1", "mousemove", str(x), str(y), "mouseup", "1")
        eventually(lambda: p.frame()["rect"]["right"] > frame["right"] - 20, timeout=10)
        self.assert_main_layout(p)
        self.assert_closes(p)


class ChineseMainWindowTest(MainWindowTest):
    locale = "zh"


if __name__ == "__main__":
    unittest.main()
