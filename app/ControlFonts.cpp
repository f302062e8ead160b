#include "app/ControlFonts.h"

#include <cwchar>

ControlFonts::~ControlFonts() {
    for (const ControlFont& entry : m_fonts) {
        DeleteObject(entry.font);
    }
}

void ControlFonts::Enlarge(HWND control, const wchar_t* faceName, int factor, int dpi) {
    HFONT current = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (current == nullptr) {
        current = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    LOGFONTW description{};
    GetObjectW(current, sizeof description, &description);
    // The face name goes in as UTF-16, so the Chinese face is found whatever the system's
    // ANSI code page is.
    wcsncpy(description.lfFaceName, faceName, LF_FACESIZE - 1);
    description.lfFaceName[LF_FACESIZE - 1] = L'\0';
    description.lfHeight *= factor;
    description.lfWidth *= factor;
    HFONT font = CreateFontIndirectW(&description);
    if (font == nullptr) {
        return;
    }
    m_fonts.push_back(ControlFont{control, description, dpi, font});
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void ControlFonts::ScaleTo(int dpi) {
    for (ControlFont& entry : m_fonts) {
        LOGFONTW scaled = entry.description;
        scaled.lfHeight = MulDiv(scaled.lfHeight, dpi, entry.dpi);
        scaled.lfWidth = MulDiv(scaled.lfWidth, dpi, entry.dpi);
        HFONT font = CreateFontIndirectW(&scaled);
        if (font == nullptr) {
            continue;  // the control keeps the font it has
        }
        SendMessageW(entry.control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        DeleteObject(entry.font);
        entry.font = font;
    }
}
