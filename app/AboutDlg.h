// The About box, reached from the system menu; its second line names the program in the
// window's language.
#pragma once

#include <span>

#include "ui/Dialog.h"

class CAboutDlg : public ui::TableDialog<CAboutDlg> {
public:
    CAboutDlg(HINSTANCE instance, int languageId);

    static std::span<const ui::MessageEntry<CAboutDlg>> MessageTable() { return {}; }

protected:
    BOOL OnInitDialog() override;

private:
    int m_languageId;
};
