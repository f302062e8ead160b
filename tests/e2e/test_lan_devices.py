"""The demo's address book on a simulated LAN with two devices that answer the
search: the context menu, the "Devices on this LAN" dialog, the Add form it
fills, a second search, and a connection through the NAT tunnel. Its
screenshots are the README's."""
import time
import unittest

from harness import paths
from harness.lan import DEVICE_ADDRESS, SECOND_DEVICE_ADDRESS, SimulatedLan
from harness.poll import eventually
from tavrin import DEVICE_LIST, LauncherTest

DEMO = paths.REPO / "scripts" / "demo"
LAN_LIST, STATUS, SEARCH_AGAIN, ADD_FROM_LAN, CLOSE = 1036, 1037, 1038, 1039, 2
ADD_FORM = dict(name=1011, ip=1012, port=1013, user=1014, password=1015)
OK, CANCEL = 1, 2
TEXTS = {
    "en": {"caption": "Devices on this LAN", "searching": "Searching the LAN...",
           "found": "Devices found: 2", "add": "Add Device"},
    "zh": {"caption": "區域網路上的裝置", "searching": "正在搜尋區域網路...", "found": "找到的裝置：2",
           "add": "新增裝置"},
}
# Branch Office answers in the fixed layout with its name, Stockroom in text with its title.
FOUND = [["Branch Office", DEVICE_ADDRESS, "80", "02:ab:cd:0a:0b:0c"],
         ["Stockroom", SECOND_DEVICE_ADDRESS, "8082", "02:ab:cd:0c:0c:0c"]]


class LanDevicesTest(LauncherTest):
    @classmethod
    def setUpClass(cls):
        device = ["--user", "admin", "--password", "demo"]
        cls.lan = SimulatedLan([
            [*device, "--http-port", "80", "--mac", "02:ab:cd:0a:0b:0c", "--name", "Branch Office"],
            [*device, "--http-port", "8082", "--mac", "02:ab:cd:0c:0c:0c", "--name", "Stockroom",
             "--ip", SECOND_DEVICE_ADDRESS, "--form", "text"],
            [*device, "--http-port", "8081", "--search-port", "0", "--no-answer",
             "--mac", "02:ab:cd:0b:0b:0b", "--name", "Holiday Cabin"],
        ]).__enter__()
        cls.addClassCleanup(cls.lan.__exit__)
        super().setUpClass()

    def searches(self) -> list:
        """How many search requests each answering device has seen."""
        return [self.lan.log(i).count("search request from") for i in (0, 1)]

    def test_lan_dialog_fills_the_add_form_and_searches_again(self):
        texts = TEXTS[self.locale]
        book_file = DEMO / "AddressBook.ini"
        p = self.start("lan", book_file, **{
            "Pellix.exe": paths.win_bin() / "Pellix.exe",
            "KXC_IE_NATT.directory": DEMO / "KXC_IE_NATT.directory"})
        main = p.main_window()
        demo_book = book_file.read_bytes()
        devices = p.driver.listview(main["hwnd"], id=DEVICE_LIST)["rows"]
        self.assertEqual([r["texts"][0] for r in devices[:3]],
                         ["Front Door", "Branch Office", "Holiday Cabin"])
        time.sleep(1)  # the window's first paint has come, for the screenshot
        p.screenshot("main-window")

        p.click_like_user(devices[1], button=3)
        items = p.context_menu()
        p.screenshot("context-menu")
        p.click_like_user(items[-1])
        dialog = p.driver.wait(pid=main["pid"], title=texts["caption"])
        rows = lambda: sorted(r["texts"] for r in p.driver.listview(dialog["hwnd"], id=LAN_LIST)["rows"])
        status = lambda: p.control(STATUS, dialog["hwnd"])["text"]
        eventually(lambda: rows() == FOUND, timeout=30)
        self.assertEqual(status(), texts["found"])
        p.screenshot("lan-devices")

        # Add... fills the form; nothing reaches the book until its OK.
        stockroom = next(r for r in p.driver.listview(dialog["hwnd"], id=LAN_LIST)["rows"]
                         if r["texts"][0] == "Stockroom")
        p.click_like_user(stockroom)
        p.click_like_user(p.control(ADD_FROM_LAN, dialog["hwnd"]))
        form = p.driver.wait(pid=main["pid"], title=texts["add"])
        filled = {c["id"]: c["text"] for c in p.controls(form["hwnd"])}
        self.assertEqual([filled[ADD_FORM[k]] for k in ("name", "ip", "port", "user", "password")],
                         ["Stockroom", SECOND_DEVICE_ADDRESS, "8082", "", ""])
        p.screenshot("add-from-lan")
        p.driver.click(form["hwnd"], id=CANCEL)
        p.driver.gone(form["hwnd"])
        self.assertEqual((p.folder / "AddressBook.ini").read_bytes(), demo_book)
        p.click_like_user(p.control(ADD_FROM_LAN, dialog["hwnd"]))
        form = p.driver.wait(pid=main["pid"], title=texts["add"])
        p.driver.set_text(form["hwnd"], "admin", id=ADD_FORM["user"])
        p.driver.set_text(form["hwnd"], "demo", id=ADD_FORM["password"])
        p.driver.click(form["hwnd"], id=OK)
        p.driver.gone(form["hwnd"])
        added = (b"[Stockroom]\r\nSERVERIP=" + SECOND_DEVICE_ADDRESS.encode() +
                 b"\r\nSERVERPORT=8082\r\nACCOUNT=admin\r\nPASSWORD=demo\r\n")
        eventually(lambda: added in (p.folder / "AddressBook.ini").read_bytes())
        self.assertEqual(p.driver.listview(main["hwnd"], id=DEVICE_LIST)["rows"][-1]["texts"],
                         ["Stockroom", SECOND_DEVICE_ADDRESS, "8082", ""])

        # One search at a time: a click while it runs starts no second one.
        before = self.searches()
        search_again = p.control(SEARCH_AGAIN, dialog["hwnd"])
        p.click_like_user(search_again)
        eventually(lambda: status() == texts["searching"])
        self.assertFalse(p.control(SEARCH_AGAIN, dialog["hwnd"])["enabled"])
        p.click_like_user(search_again)
        eventually(lambda: p.control(SEARCH_AGAIN, dialog["hwnd"])["enabled"], timeout=30)
        self.assertEqual(rows(), FOUND)
        self.assertEqual(status(), texts["found"])
        self.assertEqual(self.searches(), [n + 1 for n in before])
        p.session.xdotool("key", "Escape")
        p.driver.gone(dialog["hwnd"])

        # Holiday Cabin answers no search: the NAT library's tunnel reaches it.
        cabin = next(r for r in p.driver.listview(main["hwnd"], id=DEVICE_LIST)["rows"]
                     if r["texts"][0] == "Holiday Cabin")
        p.click_like_user(cabin)
        p.click_like_user(cabin, double=True)
        viewer = p.driver.wait(exe="Pellix.exe", timeout=20)
        p.screenshot("viewer-through-tunnel")
        p.driver.close(viewer["hwnd"])
        p.close()
        self.assertEqual(p.wait_exit(), 0)


class ChineseLanDevicesTest(LanDevicesTest):
    locale = "zh"


if __name__ == "__main__":
    unittest.main()
