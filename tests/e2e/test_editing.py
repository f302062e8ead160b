"""Adding, editing and deleting devices as a user would, through the buttons,
the keys and the context menu, with the address book checked on disk after
every change."""
import unittest

from harness import paths
from harness.lan import DEVICE_ADDRESS, SimulatedLan
from harness.poll import eventually, eventually_equal
from harness.program import Program, windows_path
from harness.session import Session, uses_both_prefixes
from harness.win32 import IDCANCEL, IDNO, IDOK, IDRETRY, IDYES
from tavrin import ADD_FORM, EDIT_FORM, LauncherTest, ids, section, text

CONNECT = None  # no button: a double-click on the row
KEYS = ("SERVERIP", "SERVERPORT", "ACCOUNT", "PASSWORD", "UUID", "UUIDIP", "UUIDMAC", "PRIORITY")


def book(devices: list, codec: str = "ascii") -> bytes:
    """The address book exactly as the launcher writes a table: each device is
    (name, ip, port, user, password, uuid, uuidIp, uuidMac, priority)."""
    return b"".join(section(d[0].encode(codec), **{k: v.encode() for k, v in zip(KEYS, d[1:])})
                    for d in devices)


class EditingTest(LauncherTest):
    def setUp(self):
        self.devices = [
            ("Lobby", "10.0.0.5", "80", "admin", "pw1", "", "", "", ""),
            ("Gate", "10.0.0.6", "81", "admin", "pw2", "", "", "", ""),
            ("Cloud", "", "80", "admin", "pw3", "KX7Q2M9D4HB3", "192.168.1.9", "00:11:22:33:44:55", ""),
            ("Yard", "10.0.0.8", "8080", "viewer", "pw4", "", "", "", ""),
        ]
        self.p = self.start("editing", book(self.devices))
        self.main = self.p.main_window()

    def open_form(self, button: int, title_key: str) -> dict:
        self.p.driver.click(self.main["hwnd"], id=button)
        return self.p.dialog(self.text(title_key))

    def fill(self, form: dict, fields: dict, p: Program | None = None, **values):
        """Types `values` into the form's fields (`p`: the launcher it belongs to, if not this test's)."""
        for field, typed in values.items():
            (p or self.p).driver.set_text(form["hwnd"], typed, id=fields[field])

    def expect_refused(self, form: dict, text_key: str):
        self.p.driver.click(form["hwnd"], id=IDOK)
        box = self.p.message_box(form)
        self.assert_message(box, text_key)
        self.p.answer(box, IDOK)
        self.assertTrue(any(w["hwnd"] == form["hwnd"] for w in self.p.driver.windows(pid=self.main["pid"])))

    def saved_book(self, expected: bytes) -> bytes:
        """The book on disk once it holds `expected`, or as it is after 10 s: the
        window saves just after the dialog has gone, so the test may look first."""
        path = self.p.folder / "AddressBook.ini"
        try:
            eventually_equal(path.read_bytes, expected)
        except AssertionError:
            pass  # the caller's comparison says what differs
        return path.read_bytes()

    def assert_saved(self):
        expected = book(self.devices)
        self.assertEqual(self.saved_book(expected), expected)

    def test_add_refuse_and_cancel(self):
        form = self.open_form(ids.IDC_ADD_BUTTON, "add form")
        self.p.screenshot("add-form")
        required = dict(name="Front Door", ip="192.168.1.64", port="80", user="admin", password="pw")
        for missing in ("name", "ip", "port", "user", "password"):
            self.fill(form, ADD_FORM, **{**required, missing: ""})
            self.expect_refused(form, "required")
        self.fill(form, ADD_FORM, **{**required, "name": "LOBBY"})
        self.expect_refused(form, "exists")
        self.fill(form, ADD_FORM, **required)
        self.p.answer(form, IDOK)
        self.devices.append(("Front Door", "192.168.1.64", "80", "admin", "pw", "", "", "", "Frame"))
        self.assert_saved()

        # A cloud device: name, UUID and credentials. The UUID locks the IP edit.
        form = self.open_form(ids.IDC_ADD_BUTTON, "add form")
        self.fill(form, ADD_FORM, name="Cabin", uuid="KX3W8N1F6TZ0", user="admin", password="pw")
        ip = self.p.control(ADD_FORM["ip"], form["hwnd"])
        self.assertFalse(ip["enabled"])
        self.fill(form, ADD_FORM, uuid="")
        self.assertTrue(self.p.control(ADD_FORM["ip"], form["hwnd"])["enabled"])
        self.fill(form, ADD_FORM, uuid="KX3W8N1F6TZ0")
        self.p.answer(form, IDOK)
        self.devices.append(("Cabin", "", "", "admin", "pw", "KX3W8N1F6TZ0", "", "", "Frame"))
        self.assert_saved()
        self.assertEqual(self.row_texts(self.p)[-1], ["Cabin", "", "", "KX3W8N1F6TZ0"])

        before = (self.p.folder / "AddressBook.ini").read_bytes()
        form = self.open_form(ids.IDC_ADD_BUTTON, "add form")
        self.fill(form, ADD_FORM, **{**required, "name": "Never"})
        self.p.answer(form, IDCANCEL)
        self.assertEqual((self.p.folder / "AddressBook.ini").read_bytes(), before)
        self.assertEqual(len(self.rows(self.p)), 6)
        self.assert_closes(self.p)

    def test_edit_after_sorting_and_rename_in_other_case(self):
        self.p.driver.click(self.main["hwnd"], id=ids.IDC_EDIT_BUTTON)
        box = self.p.message_box()
        self.assertEqual(box["text"], self.text("select"))
        self.p.answer(box, IDOK)

        # Sorted by name, descending: Yard, Lobby, Gate, Cloud. Edit the top row.
        lst = self.p.control(ids.IDC_DEVICE_LIST)["rect"]
        self.session.click_at(lst["left"] + 40, lst["top"] + 10)
        eventually_equal(lambda: self.rows(self.p)[0]["texts"][0], "Yard")
        self.p.click_like_user(self.rows(self.p)[0])
        form = self.open_form(ids.IDC_EDIT_BUTTON, "edit form")
        fields = {c["id"]: c for c in self.p.controls(form["hwnd"])}
        self.assertEqual([fields[EDIT_FORM[k]]["text"] for k in ("name", "ip", "port", "user", "uuid")],
                         ["Yard", "10.0.0.8", "8080", "viewer", ""])
        self.p.screenshot("edit-form")
        self.fill(form, EDIT_FORM, name="YARD", ip="10.0.0.88", port="8081")
        self.p.answer(form, IDOK)
        self.devices[3] = ("YARD", "10.0.0.88", "8081", "viewer", "pw4", "", "", "", "Frame")
        self.assert_saved()
        self.assertEqual(self.rows(self.p)[0]["texts"], ["YARD", "10.0.0.88", "8081", ""])

        # The cloud device keeps its learned LAN address and MAC through an edit; its
        # stored UUID locks the IP edit from the start.
        cloud = self.row(self.p, "Cloud")
        self.p.click_like_user(cloud)
        form = self.open_form(ids.IDC_EDIT_BUTTON, "edit form")
        self.assertFalse(self.p.control(EDIT_FORM["ip"], form["hwnd"])["enabled"])
        self.fill(form, EDIT_FORM, name="Gate")
        self.expect_refused(form, "exists")
        self.fill(form, EDIT_FORM, name="Cloud 2", password="new")
        self.p.answer(form, IDOK)
        self.devices[2] = ("Cloud 2", "", "80", "admin", "new", "KX7Q2M9D4HB3", "192.168.1.9",
                           "00:11:22:33:44:55", "Frame")
        self.assert_saved()
        self.assert_closes(self.p)

    def test_delete_removes_every_selected_row_and_no_other(self):
        rows = self.rows(self.p)
        self.p.click_like_user(rows[0])
        self.session.xdotool("keydown", "ctrl")
        for row in (rows[1], rows[3]):
            self.p.click_like_user(row)
        self.session.xdotool("keyup", "ctrl")
        eventually_equal(lambda: [r["selected"] for r in self.rows(self.p)], [True, True, False, True])

        before = (self.p.folder / "AddressBook.ini").read_bytes()
        self.p.driver.click(self.main["hwnd"], id=ids.IDC_DELETE_BUTTON)
        box = self.p.message_box()
        self.assert_message(box, "confirm")
        self.assertEqual(sorted(b["id"] for b in box["buttons"]), [IDYES, IDNO])
        self.p.screenshot("delete-confirm")
        self.p.answer(box, IDNO)
        self.assertEqual((self.p.folder / "AddressBook.ini").read_bytes(), before)

        # One question for the three of them.
        self.p.driver.click(self.main["hwnd"], id=ids.IDC_DELETE_BUTTON)
        self.p.answer(self.p.message_box(), IDYES)
        self.devices = [self.devices[2]]
        eventually_equal(lambda: len(self.rows(self.p)), 1)
        self.assertEqual([r[0] for r in self.row_texts(self.p)], ["Cloud"])
        self.assert_saved()
        self.assert_closes(self.p)

    def test_keys_and_context_menu_run_the_commands(self):
        unchanged = book(self.devices)
        self.p.click_like_user(self.rows(self.p)[1])  # Gate; the list has the focus
        self.session.xdotool("key", "F2")
        form = self.p.dialog(self.text("edit form"))
        self.assertEqual(self.p.control(EDIT_FORM["name"], form["hwnd"])["text"], "Gate")
        self.p.answer(form, IDCANCEL)
        self.session.xdotool("key", "Delete")
        box = self.p.message_box()
        self.assertEqual(box["text"], self.text("confirm"))
        self.p.answer(box, IDNO)
        for key in ("ctrl+n", "Insert"):
            self.session.xdotool("key", key)
            self.p.answer(self.p.dialog(self.text("add form")), IDCANCEL)
        self.assertEqual((self.p.folder / "AddressBook.ini").read_bytes(), unchanged)
        # Away from the list, Enter is the focused control's: Tab to the Add button, which it presses.
        self.session.xdotool("key", "Tab", "Return")
        self.p.answer(self.p.dialog(self.text("add form")), IDCANCEL)
        self.p.click_like_user(self.rows(self.p)[1])

        # The menu key and Shift+F10 open the selected row's menu, Escape closes it.
        for key in ("Menu", "shift+F10"):
            self.session.xdotool("key", key)
            self.assertEqual([i["text"] for i in self.p.context_menu()], self.text("row menu"))
            self.session.xdotool("key", "Escape")
            self.p.wait_menu_closed()

        # A right-click on a row offers its commands; Edit and Delete work as the buttons do.
        yard = self.row(self.p, "Yard")
        self.p.click_like_user(yard, button=3)
        items = self.p.context_menu()
        self.assertEqual([i["text"] for i in items], self.text("row menu"))
        self.p.screenshot("context-menu-row")
        self.p.click_like_user(items[1])
        form = self.p.dialog(self.text("edit form"))
        self.assertEqual(self.p.control(EDIT_FORM["name"], form["hwnd"])["text"], "Yard")
        self.p.answer(form, IDCANCEL)
        self.p.click_like_user(yard, button=3)
        self.p.click_like_user(self.p.context_menu()[2])
        box = self.p.message_box()
        self.assertEqual(box["text"], self.text("confirm"))
        self.p.answer(box, IDYES)
        del self.devices[3]
        self.assert_saved()

        # On empty space: Add.
        lst = self.p.control(ids.IDC_DEVICE_LIST)["rect"]
        self.session.click_at(lst["left"] + 60, lst["bottom"] - 20, button=3)
        items = self.p.context_menu()
        self.assertEqual([i["text"] for i in items], self.text("space menu"))
        self.p.screenshot("context-menu-space")
        self.p.click_like_user(items[0])
        form = self.p.dialog(self.text("add form"))
        self.fill(form, ADD_FORM, name="Dock", ip="10.0.0.9", port="80", user="admin", password="pw")
        self.p.answer(form, IDOK)
        self.devices.append(("Dock", "10.0.0.9", "80", "admin", "pw", "", "", "", "Frame"))
        self.assert_saved()
        self.assert_closes(self.p)

    def test_failed_save_is_told_and_leaves_the_book(self):
        path = self.p.folder / "AddressBook.ini"
        before = path.read_bytes()
        path.chmod(0o444)  # read-only: Windows refuses to replace it
        form = self.open_form(ids.IDC_ADD_BUTTON, "add form")
        self.fill(form, ADD_FORM, name="Dock", ip="10.0.0.9", port="80", user="admin", password="pw")
        self.p.answer(form, IDOK)
        box = self.p.message_box()
        self.assert_message(box, "not saved", windows_path(path))
        self.p.screenshot("not-saved")
        self.p.answer(box, IDOK)
        self.assertEqual(len(self.rows(self.p)), 5)
        self.assertEqual(path.read_bytes(), before)
        # The close tries once more and asks: Retry tries again, Cancel keeps the window open.
        self.p.close()
        box = self.p.message_box()
        self.assert_message(box, "not saved at close", windows_path(path))
        self.assertEqual(sorted(b["id"] for b in box["buttons"]), [IDCANCEL, IDRETRY])
        self.p.answer(box, IDRETRY)
        self.p.answer(self.p.message_box(), IDCANCEL)
        self.assertEqual(path.read_bytes(), before)
        self.assertFalse((self.p.folder / "AddressBook.ini.bak").exists())
        path.chmod(0o644)
        self.assert_closes(self.p)
        self.assertIn(b"[Dock]\r\n", path.read_bytes())

    def act(self, side: tuple, button: int, row: str | None = None, **values) -> None:
        """One change made through one launcher, `side` = (program, its locale):
        Add with `values`, or Edit, Delete or Connect of the row called `row`."""
        p, locale = side
        if row is not None:
            p.click_like_user(self.row(p, row))
        if button is CONNECT:
            # The search at the start has to end before its answers are used.
            eventually(lambda: "Run exit" in p.output(), timeout=20)
            p.click_like_user(self.row(p, row), double=True)
            eventually(lambda: self.viewers(p), timeout=15)
            self.close_viewers(p)
            return
        p.driver.click(p.main["hwnd"], id=button)
        if button == ids.IDC_DELETE_BUTTON:
            box = p.message_box()
            p.driver.click(box["hwnd"], id=IDYES)
            return
        adding = button == ids.IDC_ADD_BUTTON
        form = p.dialog(text("add form" if adding else "edit form", locale))
        self.fill(form, ADD_FORM if adding else EDIT_FORM, p, **values)
        p.answer(form, IDOK)

    @uses_both_prefixes
    def test_two_computers_sharing_the_book_keep_each_others_changes(self):
        # A second Wine prefix is a second computer: the two launchers share only the folder.
        # The first also learns where a cloud device is (its LAN search finds it by its MAC)
        # between the second's changes.
        other = "zh" if self.english() else "en"
        mac = "02:ab:cd:0a:0b:0c"
        cloud = ("LAN Cam", "", "80", "admin", "pw5", "UUID-LAN", "", mac, "")
        device = ["--http-port", "80", "--mac", mac, "--user", "admin", "--password", "pw5"]
        with SimulatedLan([device]), Session(other) as session:
            self.p.close()
            self.p.wait_exit()
            self.p = self.start("shared", book(self.devices + [cloud]),
                                **{"Pellix.exe": paths.win_bin() / "Pellix.exe"})
            path = self.p.folder / "AddressBook.ini"
            b = Program(session, f"shared-{other}", {}, folder=self.p.folder)
            self.addCleanup(b.__exit__)
            self.p.main_window()
            b.main_window()
            first, second = (self.p, self.locale), (b, other)
            new = dict(user="admin", password="pw", port="80")
            steps = [(first, ids.IDC_ADD_BUTTON, None, dict(new, name="Dock", ip="10.0.0.9"), b"[Dock]"),
                     (second, ids.IDC_ADD_BUTTON, None, dict(new, name="Pier", ip="10.0.0.10"), b"[Pier]"),
                     # Learned in memory: its next save, the edit, writes it.
                     (first, CONNECT, "LAN Cam", {}, b"[LAN Cam]"),
                     (first, ids.IDC_EDIT_BUTTON, "Gate", dict(ip="10.0.0.66"), f"={DEVICE_ADDRESS}\r".encode()),
                     (second, ids.IDC_EDIT_BUTTON, "Yard", dict(port="8090"), b"=8090\r"),
                     (first, ids.IDC_DELETE_BUTTON, "Cloud", {}, b"[Cloud]"),
                     (second, ids.IDC_DELETE_BUTTON, "Lobby", {}, b"[Lobby]")]
            for side, button, row, values, mark in steps:
                self.act(side, button, row, **values)
                # Each side's save is on disk before the other side acts.
                eventually(lambda: (mark in path.read_bytes()) != (button == ids.IDC_DELETE_BUTTON))
            # The second's list shows what its saves merged in from the first.
            self.assertEqual([r[0] for r in self.row_texts(b)],
                             ["Gate", "Yard", "LAN Cam", "Dock", "Pier"])
            b.screenshot("merged")
            for p in (self.p, b):
                self.assert_closes(p)
        saved = [line.split(" ") for line in self.platform_reading(path)]
        self.assertEqual([(bytes.fromhex(d[0]), bytes.fromhex(d[1] if d[1] != '""' else ""),
                           bytes.fromhex(d[2]), d[6]) for d in saved],
                         [(b"Gate", b"10.0.0.66", b"81", '""'),
                          (b"Yard", b"10.0.0.8", b"8090", '""'),
                          (b"LAN Cam", b"", b"80", DEVICE_ADDRESS.encode().hex()),
                          (b"Dock", b"10.0.0.9", b"80", '""'),
                          (b"Pier", b"10.0.0.10", b"80", '""')])


class ChineseEditingTest(EditingTest):
    locale = "zh"

    def test_row_whose_name_does_not_read_back_is_opened_edited_and_deleted(self):
        # A lead byte and a second byte that make no character of the code page (A3 C0), as
        # an editor in another code page may leave them. The list shows such a name changed,
        # so only the row's own record can lead back.
        cut = b"\xaa\xf9\xa3\xc0 1"
        self.p.close()
        self.p.wait_exit()
        devices = [self.devices[0], ("CUT", "10.0.0.7", "80", "admin", "pw7", "", "", "", ""),
                   self.devices[1]]
        self.p = self.start("cutname", book(devices).replace(b"CUT", cut),
                            **{"Pellix.exe": paths.win_bin() / "Pellix.exe"})
        self.main = self.p.main_window()
        path = self.p.folder / "AddressBook.ini"
        row = lambda: next(r for r in self.rows(self.p) if r["texts"][1].startswith("10.0.0.7"))
        self.assertNotEqual(row()["texts"][0].encode("big5", "replace"), cut)

        self.p.click_like_user(row())
        self.p.click_like_user(row(), double=True)
        log = self.p.folder / "Pellix.log"
        eventually(lambda: log.exists() and b"IP=10.0.0.7#" in log.read_bytes(), timeout=15)
        self.close_viewers(self.p)

        self.p.click_like_user(row())
        form = self.open_form(ids.IDC_EDIT_BUTTON, "edit form")
        self.assertEqual(self.p.control(EDIT_FORM["ip"], form["hwnd"])["text"], "10.0.0.7")
        self.fill(form, EDIT_FORM, ip="10.0.0.77")
        self.p.answer(form, IDOK)
        eventually(lambda: b"SERVERIP=10.0.0.77\r\n" in path.read_bytes())
        saved = self.platform_reading(path)
        self.assertEqual([line.split(" ")[1] for line in saved],
                         [b"10.0.0.5".hex(), b"10.0.0.77".hex(), b"10.0.0.6".hex()])
        self.assertEqual(saved[0::2], self.platform_reading(self.p.folder / "AddressBook.ini.bak")[0::2])

        self.p.click_like_user(row())
        self.p.driver.click(self.main["hwnd"], id=ids.IDC_DELETE_BUTTON)
        self.p.answer(self.p.message_box(), IDYES)
        eventually_equal(lambda: len(self.rows(self.p)), 2)
        self.assertEqual([r[0] for r in self.row_texts(self.p)], ["Lobby", "Gate"])
        expected = book([self.devices[0], self.devices[1]])
        self.assertEqual(self.saved_book(expected), expected)
        self.assert_closes(self.p)

    def add(self, name: str, typed: str | None = None):
        """Adds a device called `name`, typing `typed` over it first if given."""
        form = self.open_form(ids.IDC_ADD_BUTTON, "add form")
        self.fill(form, ADD_FORM, name=name, ip="10.0.0.9", port="80", user="admin", password="pw")
        if typed is not None:
            self.fill(form, ADD_FORM, name=typed)
            self.assertEqual(self.p.control(ADD_FORM["name"], form["hwnd"])["text"], name)
        self.p.answer(form, IDOK)
        self.devices.append((name, "10.0.0.9", "80", "admin", "pw", "", "", "", "Frame"))
        expected = book(self.devices, "cp950")
        self.assertEqual(self.saved_book(expected), expected)

    def test_edit_limits_and_duplicate_names_count_big5_characters(self):
        # In Big5, the book's code page here, each of these characters takes two of the
        # name field's 31 bytes.
        fits, too_long = "監視器" * 5, "監視器" * 5 + "門"
        self.add(fits, typed=too_long)
        # 大門 and 入門 are A4 6A AA F9 and A4 4A AA F9: the second bytes are no letters.
        self.add("大門")
        self.add("入門")
        form = self.open_form(ids.IDC_ADD_BUTTON, "add form")
        self.fill(form, ADD_FORM, name="入門", ip="10.0.0.9", port="80", user="admin", password="pw")
        self.expect_refused(form, "exists")
        self.p.screenshot("big5-pair-added")
        self.p.driver.click(form["hwnd"], id=IDCANCEL)
        self.assert_closes(self.p)


if __name__ == "__main__":
    unittest.main()
