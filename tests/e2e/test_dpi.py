"""The main window's layout at the common screen resolutions: 96 DPI and 144 DPI
(150 %). The program declares itself DPI-aware, so the dialog units scale and the
layout must still stand as it does at 96."""
import subprocess
import unittest

from tavrin import LauncherTest, section


class DpiTest(LauncherTest):
    def set_dpi(self, dpi: int):
        subprocess.run(["wine", "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                        "/t", "REG_DWORD", "/d", str(dpi), "/f"], env=self.session.env,
                       check=True, timeout=60, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)

    def test_layout_at_96_and_144_dpi(self):
        self.addCleanup(self.set_dpi, 96)
        book = b"".join(section(f"Camera {i}".encode(), SERVERIP=f"10.0.0.{i}".encode())
                        for i in range(1, 9))
        widths = {}
        for dpi in (96, 144):
            self.set_dpi(dpi)
            p = self.start(f"dpi{dpi}", book)
            p.main_window()
            self.assert_main_layout(p)
            client = p.frame()["client"]
            widths[dpi] = client["right"] - client["left"]
            p.screenshot("main")
            self.assert_closes(p)
        # The dialog's units follow the resolution: half as wide again at 150 %.
        self.assertGreater(widths[144], widths[96] * 1.3)


if __name__ == "__main__":
    unittest.main()
