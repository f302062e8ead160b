"""The harness itself, proven on programs that ship with Wine, so that a failing
Tavrin test means Tavrin and not the harness."""
import time
import unittest

from harness import wine_env
from harness.driver import Driver, DriverError, NotFound
from harness.poll import eventually, eventually_equal
from harness.program import Program
from harness.session import SessionTestCase
from harness.win32 import SC_CLOSE, SC_MINIMIZE

# Both are 32-bit like Tavrin.exe: task manager is a dialog (#32770) with list
# views; notepad asks before discarding typed text.
TASK_LIST = 1016
# How long a step may wait for what it needs on a busy machine, where a fresh session's first
# windows can take many times their usual second or two.
SLOW = 60
# Everything the driver's JSON has to escape, and text outside any code page.
AWKWARD_TEXT = '測試 "ünïcode" C:\\Tavrin\r\n\tnext line'


def wine_program(session, name, exe):
    system = wine_env.prefix(session.locale) / "drive_c" / "windows" / "syswow64"
    return Program(session, name, {exe: system / exe}, exe=exe)


class EnglishTest(SessionTestCase):
    def test_dialog_program_is_found_read_clicked_and_closed(self):
        # Two programs starting at once on a busy machine take their time: every step waits
        # for the state it needs, for as long as SLOW allows.
        with wine_program(self.session, "harness-notepad", "notepad.exe") as other, \
                wine_program(self.session, "harness-taskmgr", "taskmgr.exe") as p:
            notepad = other.main_window(cls="Notepad", timeout=SLOW)
            main = p.main_window(timeout=SLOW)
            # Notepad may still come to the front after task manager opened.
            other.driver.syscommand(notepad["hwnd"], SC_MINIMIZE)
            eventually_equal(lambda: p.frame()["title"], "Task Manager", timeout=SLOW)

            def notepad_row():
                listing = p.driver.listview(main["hwnd"], id=TASK_LIST)
                self.assertEqual(listing["columns"], ["Task", "Status"])
                return next((r for r in listing["rows"] if r["texts"][0] == "Untitled - Notepad"), {})

            row = eventually(notepad_row, timeout=SLOW)
            self.assertFalse(row["selected"])
            eventually(lambda: p.reachable(row), timeout=SLOW)
            p.click_like_user(row)
            eventually(lambda: notepad_row().get("selected"), timeout=SLOW)

            menu = [(m["id"], m["text"]) for m in p.driver.sysmenu(main["hwnd"])]
            self.assertIn((SC_CLOSE, "&Close\tAlt+F4"), menu)
            shot = p.screenshot("selected")
            self.assertEqual(shot.read_bytes()[:8], b"\x89PNG\r\n\x1a\n")

            self.assert_closes(p)
            self.assertTrue(other.running())

    def test_message_box_is_read_and_answered(self):
        with wine_program(self.session, "harness-msgbox", "notepad.exe") as p:
            p.main_window(cls="Notepad")
            edit = next(c for c in p.controls() if c["class"] == "Edit")
            p.driver.set_text(edit["hwnd"], AWKWARD_TEXT)
            self.assertEqual(p.control(edit["id"])["text"], AWKWARD_TEXT)
            # WM_SETTEXT leaves the edit "unmodified"; a typed key does not.
            p.click_like_user(edit)
            self.session.type_text("!")
            eventually(lambda: "!" in p.control(edit["id"])["text"])

            p.close()
            box = p.message_box()
            self.assertEqual(box["title"], "Notepad")
            self.assertIn("Untitled", box["text"])
            p.screenshot("save-changes")
            buttons = {b["text"]: b["id"] for b in box["buttons"]}
            p.answer(box, buttons["&No"])
            p.assert_clean_exit()

    def test_missing_windows_fail_the_test_in_bounded_time(self):
        driver = Driver(self.session)
        start = time.monotonic()
        with self.assertRaises(NotFound):
            driver.wait(title="No such window", timeout=1)
        self.assertLess(time.monotonic() - start, 10)
        with self.assertRaises(NotFound):
            driver.controls(hwnd=0x7FFFFFF0)
        with self.assertRaises(DriverError):
            driver.call("no-such-command")


class ChineseTest(SessionTestCase):
    locale = "zh"

    def test_programs_speak_traditional_chinese(self):
        with wine_program(self.session, "harness-zh", "notepad.exe") as p:
            main = p.main_window(cls="Notepad")
            self.assertTrue(any("\u4e00" <= ch <= "\u9fff" for ch in main["title"]), main["title"])
            p.screenshot("main")
            self.assert_closes(p)


if __name__ == "__main__":
    unittest.main()
