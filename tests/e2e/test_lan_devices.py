"""The demo's address book on a simulated LAN with three devices that answer the
search: the context menu, the "Devices on this LAN" dialog and what it marks as in
the book, the Add form it fills, the one form that adds all new devices, a second
search, and a connection through the NAT tunnel. Its screenshots are the README's."""
import time
import unittest

from harness import paths
from harness.lan import DEVICE_ADDRESS, SECOND_DEVICE_ADDRESS, SimulatedLan
from harness.poll import eventually, eventually_equal
from harness.win32 import IDCANCEL, IDOK
from tavrin import ADD_FORM, LauncherTest, ids

DEMO = paths.REPO / "scripts" / "demo"
# Branch Office answers in the fixed layout with its name, Stockroom in text with its title;
# the book has Branch Office by the MAC it learned. A second "Front Door" announces an
# address of its own.
FOUND = [["Branch Office", DEVICE_ADDRESS, "80", "02:ab:cd:0a:0b:0c"],
         ["Front Door", "10.77.0.9", "8083", "02:ab:cd:0d:0d:0d"],
         ["Stockroom", SECOND_DEVICE_ADDRESS, "8082", "02:ab:cd:0c:0c:0c"]]
# What "Add all new" adds with the user name and password typed once.
ADDED = [b"[Front Door (2)]\r\nSERVERIP=10.77.0.9\r\nSERVERPORT=8083\r\nACCOUNT=admin\r\n"
         b"PASSWORD=demo\r\n",
         b"[Stockroom]\r\nSERVERIP=" + SECOND_DEVICE_ADDRESS.encode() +
         b"\r\nSERVERPORT=8082\r\nACCOUNT=admin\r\nPASSWORD=demo\r\n"]


class LanDevicesTest(LauncherTest):
    @classmethod
    def setUpClass(cls):
        device = ["--user", "admin", "--password", "demo"]
        cls.lan = SimulatedLan([
            [*device, "--http-port", "80", "--mac", "02:ab:cd:0a:0b:0c", "--name", "Branch Office"],
            [*device, "--http-port", "8082", "--mac", "02:ab:cd:0c:0c:0c", "--name", "Stockroom",
             "--ip", SECOND_DEVICE_ADDRESS, "--form", "text"],
            [*device, "--http-port", "8083", "--mac", "02:ab:cd:0d:0d:0d", "--name", "Front Door",
             "--ip", "10.77.0.9"],
            [*device, "--http-port", "8081", "--search-port", "0", "--no-answer",
             "--mac", "02:ab:cd:0b:0b:0b", "--name", "Holiday Cabin"],
        ]).__enter__()
        cls.addClassCleanup(cls.lan.__exit__)
        super().setUpClass()

    def searches(self) -> list:
        """How many search requests each answering device has seen."""
        return [self.lan.log(i).count("search request from") for i in (0, 1, 2)]

    def marked(self, *new: str) -> list:
        """FOUND with each row's mark: new for the names given, else in the book."""
        return [[*row, self.text("new" if row[0] in new else "in the book")] for row in FOUND]

    def test_lan_dialog_fills_the_add_form_and_searches_again(self):
        book_file = DEMO / "AddressBook.ini"
        p = self.start("lan", book_file, **{
            "Pellix.exe": paths.win_bin() / "Pellix.exe",
            "KXC_IE_NATT.directory": DEMO / "KXC_IE_NATT.directory"})
        p.main_window()
        demo_book = book_file.read_bytes()
        devices = self.rows(p)
        self.assertEqual([r["texts"][0] for r in devices[:3]],
                         ["Front Door", "Branch Office", "Holiday Cabin"])
        time.sleep(1)  # the window's first paint has come, for the screenshot
        p.screenshot("main-window")

        p.click_like_user(devices[1], button=3)
        items = p.context_menu()
        p.screenshot("context-menu")
        p.click_like_user(items[-1])
        dialog = p.dialog(self.text("lan dialog"))
        rows = lambda: sorted(self.row_texts(p, dialog["hwnd"], ids.IDC_LAN_LIST))
        status = lambda: p.control(ids.IDC_LAN_STATUS, dialog["hwnd"])["text"]
        eventually_equal(rows, self.marked("Front Door", "Stockroom"), timeout=30)
        self.assertEqual(status(), self.text("found").format(3))
        p.screenshot("lan-devices")

        # Add... fills the form; nothing reaches the book until its OK.
        p.click_like_user(self.row(p, "Stockroom", dialog["hwnd"], ids.IDC_LAN_LIST))
        p.click_like_user(p.control(ids.IDC_LAN_ADD, dialog["hwnd"]))
        form = p.dialog(self.text("add form"))
        filled = {c["id"]: c["text"] for c in p.controls(form["hwnd"])}
        self.assertEqual([filled[ADD_FORM[k]] for k in ("name", "ip", "port", "user", "password")],
                         ["Stockroom", SECOND_DEVICE_ADDRESS, "8082", "", ""])
        p.screenshot("add-from-lan")
        p.answer(form, IDCANCEL)
        self.assertEqual((p.folder / "AddressBook.ini").read_bytes(), demo_book)

        # Add all new: one form, filled from the first new device (the name the book has
        # already numbered), whose user name and password all new devices get.
        add_all_new = lambda: p.control(ids.IDC_LAN_ADD_ALL_NEW, dialog["hwnd"])
        p.click_like_user(add_all_new())
        form = p.dialog(self.text("add form"))
        filled = {c["id"]: c["text"] for c in p.controls(form["hwnd"])}
        self.assertIn([filled[ADD_FORM[k]] for k in ("name", "ip", "port")],
                      [["Front Door (2)", "10.77.0.9", "8083"],
                       ["Stockroom", SECOND_DEVICE_ADDRESS, "8082"]])
        p.driver.set_text(form["hwnd"], "admin", id=ADD_FORM["user"])
        p.driver.set_text(form["hwnd"], "demo", id=ADD_FORM["password"])
        p.answer(form, IDOK)
        eventually(lambda: all(a in (p.folder / "AddressBook.ini").read_bytes() for a in ADDED))
        self.assertEqual(sorted(self.row_texts(p)[-2:]),
                         [["Front Door (2)", "10.77.0.9", "8083", ""],
                          ["Stockroom", SECOND_DEVICE_ADDRESS, "8082", ""]])
        self.assertEqual(rows(), self.marked())
        self.assertFalse(add_all_new()["enabled"])
        p.screenshot("lan-devices-all-added")

        # One search at a time: a click while it runs starts no second one.
        before = self.searches()
        search_again = lambda: p.control(ids.IDC_LAN_SEARCH_AGAIN, dialog["hwnd"])
        p.click_like_user(search_again())
        eventually_equal(status, self.text("searching"))
        self.assertFalse(search_again()["enabled"])
        p.click_like_user(search_again())
        eventually(lambda: search_again()["enabled"], timeout=30)
        self.assertEqual(rows(), self.marked())
        self.assertEqual(status(), self.text("found").format(3))
        self.assertEqual(self.searches(), [n + 1 for n in before])
        p.session.xdotool("key", "Escape")
        p.driver.gone(dialog["hwnd"])

        # Holiday Cabin answers no search: the NAT library's tunnel reaches it.
        cabin = self.row(p, "Holiday Cabin")
        p.click_like_user(cabin)
        p.click_like_user(cabin, double=True)
        viewer = p.driver.wait(exe="Pellix.exe", timeout=20)
        p.screenshot("viewer-through-tunnel")
        p.driver.close(viewer["hwnd"])
        self.assert_closes(p)


class ChineseLanDevicesTest(LanDevicesTest):
    locale = "zh"


if __name__ == "__main__":
    unittest.main()
