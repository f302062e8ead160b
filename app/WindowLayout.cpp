#include "app/WindowLayout.h"

#include <algorithm>

namespace {

constexpr int kListMargin = 20;
constexpr int kRowLeft = 25;
constexpr int kRowBottomMargin = 15;
constexpr int kButtonGap = 10;
constexpr int kListToRow = 30;
constexpr int kFilterToList = 8;

}  // namespace

MainLayout LayoutMainWindow(const Rect& client, const std::array<Size, kButtonCount>& buttons,
                            int dpi) {
    const int listMargin = ScaledForDpi(kListMargin, dpi);
    const int rowBottomMargin = ScaledForDpi(kRowBottomMargin, dpi);
    const int buttonGap = ScaledForDpi(kButtonGap, dpi);
    MainLayout layout;
    int left = client.left + ScaledForDpi(kRowLeft, dpi);
    for (int i = 0; i < kButtonCount; ++i) {
        const Size& size = buttons[i];
        const int bottom = client.bottom - rowBottomMargin;
        layout.buttons[i] = Rect{left, bottom - size.height, left + size.width, bottom};
        left += size.width + buttonGap;
    }
    // The row's height is the Delete button's (they all share it).
    const int rowHeight = buttons[2].height;
    layout.list.left = client.left + listMargin;
    layout.list.top = client.top + listMargin;
    layout.list.right = std::max(layout.list.left, client.right - listMargin);
    layout.list.bottom = std::max(layout.list.top, client.bottom - rowBottomMargin -
                                                       ScaledForDpi(kListToRow, dpi) - rowHeight);
    return layout;
}

Rect MakeRoomForFilter(Rect& list, int boxHeight) {
    const Rect box{list.left, list.top, list.right, list.top + boxHeight};
    list.top = std::min(list.bottom, box.bottom + kFilterToList);
    return box;
}
