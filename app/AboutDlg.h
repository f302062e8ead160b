// The About box, reached from the system menu; its second line names the program in the
// window's language.
#pragma once

#include <span>

#include "texts/Language.h"
#include "ui/Dialog.h"

class CAboutDlg : public ui::TableDialog<CAboutDlg> {
public:
    CAboutDlg(HINSTANCE instance, Language languageId);

    static std::span<const ui::MessageEntry<CAboutDlg>> MessageTable() { return {}; }

protected:
    BOOL OnInitDialog() override;

private:
    Language m_languageId;
};
