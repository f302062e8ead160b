// The About box, reached from the system menu.
#pragma once

#include <span>

#include "ui/Dialog.h"

class CAboutDlg : public ui::TableDialog<CAboutDlg> {
public:
    explicit CAboutDlg(HINSTANCE instance);

    static std::span<const ui::MessageEntry<CAboutDlg>> MessageTable() { return {}; }
};
