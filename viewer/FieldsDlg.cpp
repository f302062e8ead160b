#include "viewer/FieldsDlg.h"

#include <string>

#include "viewer/ShownFields.h"
#include "viewer/resource.h"

namespace {

struct Column {
    const char* title;
    int width;  // pixels
};
constexpr Column kColumns[] = {{"Field", 110}, {"Value", 340}};

}  // namespace

CFieldsDlg::CFieldsDlg(HINSTANCE instance, const ReceivedCommandLine& commandLine)
    : TableDialog(instance, IDD_FIELDS), m_commandLine(commandLine) {}

BOOL CFieldsDlg::OnInitDialog() {
    const HWND list = Item(IDC_FIELD_LIST);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (int index = 0; const Column& column : kColumns) {
        LVCOLUMNA format{};
        format.mask = LVCF_TEXT | LVCF_WIDTH;
        format.pszText = const_cast<char*>(column.title);
        format.cx = column.width;
        SendMessageA(list, LVM_INSERTCOLUMNA, index++, reinterpret_cast<LPARAM>(&format));
    }
    // The values are bytes of the system's ANSI code page, as the launcher wrote them: the
    // narrow list messages show them as such.
    for (int row = 0; const ShownField& field : ShownFields(m_commandLine)) {
        const std::string key(field.key);
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = row++;
        item.pszText = const_cast<char*>(key.c_str());
        const int inserted = static_cast<int>(
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        item.iItem = inserted;
        item.iSubItem = 1;
        item.pszText = const_cast<char*>(field.text.c_str());
        SendMessageA(list, LVM_SETITEMTEXTA, inserted, reinterpret_cast<LPARAM>(&item));
    }
    return TRUE;
}
