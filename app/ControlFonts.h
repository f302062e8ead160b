// The enlarged fonts of the main window's list and buttons. The window owns them: they are
// made once at start-up and released only after the window and its controls are gone.
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
    // and width multiplied (a width of 0 stays 0), and redraws it.
    void Enlarge(HWND control, const wchar_t* faceName, int factor);

private:
    std::vector<HFONT> m_fonts;
};
