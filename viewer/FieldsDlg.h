// The viewer's one window: the fields of its command line, one row each.
#pragma once

#include <span>

#include "ui/Dialog.h"
#include "viewer/ReceivedCommandLine.h"

class CFieldsDlg : public ui::TableDialog<CFieldsDlg> {
public:
    // The command line must outlive the dialog.
    CFieldsDlg(HINSTANCE instance, const ReceivedCommandLine& commandLine);

    static std::span<const ui::MessageEntry<CFieldsDlg>> MessageTable() { return {}; }

protected:
    BOOL OnInitDialog() override;

private:
    const ReceivedCommandLine& m_commandLine;
};
