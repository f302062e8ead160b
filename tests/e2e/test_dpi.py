"""The main window at the common screen scales: 96 DPI, 144 (150 %) and 192 (200 %).
The program is aware of each monitor's DPI, so the dialog units, the fonts and the
layout's margins follow it; at 96 the layout is the one it always was. A move to a
monitor of another scale, which Xvfb's one screen cannot show, is the message the
system then sends the window."""
import subprocess
import unittest

from tavrin import BUTTON_ROW, LauncherTest, section


class DpiTest(LauncherTest):
    # A screen that Windows offers 200 % for: the window at 192 DPI is larger than the
    # other tests' 1280x960.
    desktop = "2560x1920"

    def set_dpi(self, dpi: int):
        subprocess.run(["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                        "/t", "REG_DWORD", "/d", str(dpi), "/f"], env=self.session.env,
                       check=True, timeout=60, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)

    def test_layout_at_96_144_and_192_dpi(self):
        self.addCleanup(self.set_dpi, 96)
        book = b"".join(section(f"Camera {i}".encode(), SERVERIP=f"10.0.0.{i}".encode())
                        for i in range(1, 9))
        screen_width, screen_height = (int(n) for n in self.desktop.split("x"))
        widths = {}
        for dpi in (96, 144, 192):
            self.set_dpi(dpi)
            p = self.start(f"dpi{dpi}", book)
            p.main_window()
            self.assert_main_layout(p, dpi)
            frame = p.frame()
            # Nothing of the window off the screen.
            rect = frame["rect"]
            self.assertGreaterEqual(min(rect["left"], rect["top"]), 0, rect)
            self.assertLessEqual(rect["right"], screen_width, rect)
            self.assertLessEqual(rect["bottom"], screen_height, rect)
            widths[dpi] = frame["client"]["right"] - frame["client"]["left"]
            p.screenshot("main")
            if dpi == 96:
                self.assert_follows_moves_to_another_scale(p)
            self.assert_closes(p)
        # The dialog's units follow the resolution: half as wide again at 150 %, twice at 200 %.
        self.assertGreater(widths[144], widths[96] * 1.3)
        self.assertGreater(widths[192], widths[96] * 1.8)

    def assert_follows_moves_to_another_scale(self, p):
        """To a monitor at 144 DPI and back: the buttons, margins and fonts scale there, and
        back at 96 every control stands where it stood."""
        start = p.frame()["rect"]
        before = {c["id"]: c["rect"] for c in p.controls()}
        there = dict(start, right=start["left"] + (start["right"] - start["left"]) * 3 // 2,
                     bottom=start["top"] + (start["bottom"] - start["top"]) * 3 // 2)
        p.driver.dpi_changed(p.main["hwnd"], 144, there)
        self.assertEqual(p.frame()["rect"], there)
        self.assert_main_layout(p, 144)
        moved = {c["id"]: c["rect"] for c in p.controls()}
        for id in BUTTON_ROW:
            for low, high in (("left", "right"), ("top", "bottom")):
                self.assertEqual(moved[id][high] - moved[id][low],
                                 ((before[id][high] - before[id][low]) * 3 + 1) // 2, id)
        p.screenshot("moved-to-144")
        p.driver.dpi_changed(p.main["hwnd"], 96, start)
        self.assertEqual({c["id"]: c["rect"] for c in p.controls()}, before)


class ChineseDpiTest(DpiTest):
    locale = "zh"


if __name__ == "__main__":
    unittest.main()
