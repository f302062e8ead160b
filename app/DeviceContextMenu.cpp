#include "app/DeviceContextMenu.h"

#include <commctrl.h>
#include <windowsx.h>

#include <span>

#include "resources/resource.h"
#include "texts/Texts.h"

namespace {

struct MenuItem {
    UINT id;  // 0: a separator
    const UiText* text;
};

constexpr MenuItem kRowItems[] = {
    {IDM_DEVICE_CONNECT, &texts::kMenuConnect},
    {IDM_DEVICE_EDIT, &texts::kMenuEdit},
    {IDM_DEVICE_DELETE, &texts::kMenuDelete},
    {0, nullptr},
    {IDM_CHECK_DEVICES, &texts::kMenuCheckDevices},
    {IDM_DEVICE_SHORTCUT, &texts::kMenuCreateShortcut},
    {0, nullptr},
    {IDM_LAN_DEVICES, &texts::kMenuLanDevices},
};

constexpr MenuItem kEmptySpaceItems[] = {
    {IDM_DEVICE_ADD, &texts::kMenuAdd},
    {0, nullptr},
    {IDM_CHECK_ALL_DEVICES, &texts::kMenuCheckAll},
    {IDM_LAN_DEVICES, &texts::kMenuLanDevices},
};

// While a check runs, the item that would start one stops it instead.
constexpr MenuItem kStopCheckItem{IDM_STOP_CHECK, &texts::kMenuStopCheck};

bool StartsCheck(const MenuItem& item) {
    return item.id == IDM_CHECK_DEVICES || item.id == IDM_CHECK_ALL_DEVICES;
}

// The row under a point in screen coordinates, or -1.
int RowAt(HWND list, POINT screen) {
    LVHITTESTINFO hit{};
    hit.pt = screen;
    ScreenToClient(list, &hit.pt);
    return ListView_HitTest(list, &hit);
}

}  // namespace

void ShowDeviceListMenu(HWND owner, HWND list, LPARAM position, Language languageId,
                        bool checking) {
    POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    int row = -1;
    if (position == -1) {
        // From the keyboard: beside the selected row, or at the list's corner.
        row = ListView_GetNextItem(list, -1, LVNI_SELECTED);
        RECT place{};
        if (row >= 0) {
            ListView_GetItemRect(list, row, &place, LVIR_LABEL);
        }
        point = POINT{place.left, place.bottom};
        ClientToScreen(list, &point);
    } else {
        row = RowAt(list, point);
        // The commands act on the selection: a click on a row outside it selects that row.
        if (row >= 0 && !ListView_GetItemState(list, row, LVIS_SELECTED)) {
            ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
            ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
        }
    }
    const std::span<const MenuItem> items = row >= 0 ? std::span<const MenuItem>(kRowItems)
                                                     : std::span<const MenuItem>(kEmptySpaceItems);

    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) {
        return;
    }
    for (const MenuItem& listed : items) {
        const MenuItem& item = checking && StartsCheck(listed) ? kStopCheckItem : listed;
        if (item.text == nullptr) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(menu, MF_STRING, item.id, InLanguage(*item.text, languageId));
        }
    }
    // Connect is what a double-click does: shown in bold, as Windows marks that item.
    SetMenuDefaultItem(menu, IDM_DEVICE_CONNECT, FALSE);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, owner,
                   nullptr);
    DestroyMenu(menu);
}
