// The enlarged fonts of the main window's list and buttons. The window owns them: they are
// made at start-up, made again for each DPI the window moves to, and released only after the
// window and its controls are gone.
#pragma once

#include <windows.h>

#include <vector>

class ControlFonts {
public:
    ControlFonts() = default;
    ~ControlFonts();
    ControlFonts(const ControlFonts&) = delete;
    ControlFonts& operator=(const ControlFonts&) = delete;

    // Gives the control a font made from its current one with another face and its height
    // and width multiplied (a width of 0 stays 0), and redraws it. The current font is the
    // one made for `dpi`.
    void Enlarge(HWND control, const wchar_t* faceName, int factor, int dpi);

    // Makes every font again for the DPI the window now has, from the one Enlarge made.
    void ScaleTo(int dpi);

private:
    struct ControlFont {
        HWND control;
        LOGFONTW description;  // as Enlarge made it, for its dpi
        int dpi;
        HFONT font;
    };
    std::vector<ControlFont> m_fonts;
};
