// Where the main window's list and button row go for a given client area.
#pragma once

#include <array>

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
};

// The buttons in their row order: Add, Edit, Delete, Export, Import.
constexpr int kButtonCount = 5;

struct MainLayout {
    Rect list;
    std::array<Rect, kButtonCount> buttons;
};

// The DPI at which a pixel is a pixel: the screen of 100 % scale.
constexpr int kBaseDpi = 96;

// Pixels at kBaseDpi as many at `dpi`, rounded to the nearest (as MulDiv rounds).
constexpr int ScaledForDpi(int pixels, int dpi) {
    return (pixels * dpi + kBaseDpi / 2) / kBaseDpi;
}

// The button row stands 15 px above the client's bottom, starting 25 px from its left with
// 10 px between buttons, each keeping its size; the list fills the area above with 20 px
// margins, 30 px above the row. The margins are those at kBaseDpi, scaled to the window's
// `dpi`. A client area too small for the list gives it zero width or height, never a
// negative one.
MainLayout LayoutMainWindow(const Rect& client, const std::array<Size, kButtonCount>& buttons,
                            int dpi = kBaseDpi);

// The filter box's band, while the box is shown: the box takes the list's top, as wide as the
// list and boxHeight high, and the list starts 8 px below it (never below its own bottom).
// Returns where the box goes.
Rect MakeRoomForFilter(Rect& list, int boxHeight);
