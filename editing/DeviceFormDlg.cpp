#include "editing/DeviceFormDlg.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "base/FixedText.h"
#include "resources/resource.h"
#include "texts/Messages.h"

namespace {

const DeviceFormIds kAddForm = {
    IDD_ADD_DEVICE,     texts::kAddDeviceCaption, IDC_ADD_NAME_LABEL,     IDC_ADD_IP_LABEL,
    IDC_ADD_PORT_LABEL, IDC_ADD_USER_LABEL,       IDC_ADD_PASSWORD_LABEL, IDC_ADD_NAME_EDIT,
    IDC_ADD_IP_EDIT,    IDC_ADD_PORT_EDIT,        IDC_ADD_USER_EDIT,      IDC_ADD_PASSWORD_EDIT,
    IDC_ADD_UUID_EDIT,  IDC_ADD_PRIORITY_COMBO,
};

const DeviceFormIds kEditForm = {
    IDD_EDIT_DEVICE,     texts::kEditDeviceCaption, IDC_EDIT_NAME_LABEL,     IDC_EDIT_IP_LABEL,
    IDC_EDIT_PORT_LABEL, IDC_EDIT_USER_LABEL,       IDC_EDIT_PASSWORD_LABEL, IDC_EDIT_NAME_EDIT,
    IDC_EDIT_IP_EDIT,    IDC_EDIT_PORT_EDIT,        IDC_EDIT_USER_EDIT,      IDC_EDIT_PASSWORD_EDIT,
    IDC_EDIT_UUID_EDIT,  IDC_EDIT_PRIORITY_COMBO,
};

// Reads an edit's text (in the ANSI code page, as the records keep it) into a form field.
template <std::size_t N>
void ReadEdit(HWND dialog, int id, char (&field)[N]) {
    GetDlgItemTextA(dialog, id, field, static_cast<int>(N));
}

}  // namespace

std::span<const ui::MessageEntry<CDeviceFormDlg>> CDeviceFormDlg::MessageTable() {
    using D = CDeviceFormDlg;
    // Each dialog has only one of the two id sets, so only its own entries ever match.
    static const ui::MessageEntry<D> table[] = {
        ui::OnCommand<D>(IDOK, BN_CLICKED, &D::OnClickedOk),
        ui::OnCommand<D>(IDC_ADD_IP_EDIT, EN_CHANGE, &D::OnChangeIp),
        ui::OnCommand<D>(IDC_ADD_UUID_EDIT, EN_CHANGE, &D::OnChangeUuid),
        ui::OnCommand<D>(IDC_ADD_PRIORITY_COMBO, CBN_SELCHANGE, &D::OnSelchangePriority),
        ui::OnCommand<D>(IDC_EDIT_IP_EDIT, EN_CHANGE, &D::OnChangeIp),
        ui::OnCommand<D>(IDC_EDIT_UUID_EDIT, EN_CHANGE, &D::OnChangeUuid),
        ui::OnCommand<D>(IDC_EDIT_PRIORITY_COMBO, CBN_SELCHANGE, &D::OnSelchangePriority),
        ui::OnAnyControlCommand<D>(EN_UPDATE, &D::OnUpdateEdit),
    };
    return table;
}

CDeviceFormDlg::CDeviceFormDlg(HINSTANCE instance, const DeviceFormIds& ids,
                               DeviceTable devicesCopy, Language languageId,
                               std::optional<std::size_t> editedIndex,
                               const DeviceFormFields& fields)
    : TableDialog(instance, ids.templateId),
      m_ids(ids),
      m_fields(fields),
      m_devicesCopy(std::move(devicesCopy)),
      m_editIndex(editedIndex),
      m_languageId(languageId) {}

CAddDeviceDlg::CAddDeviceDlg(HINSTANCE instance, DeviceTable devicesCopy, Language languageId,
                             const DeviceFormFields& prefilled)
    : CDeviceFormDlg(instance, kAddForm, std::move(devicesCopy), languageId, std::nullopt,
                     prefilled) {}

CEditDeviceDlg::CEditDeviceDlg(HINSTANCE instance, DeviceTable devicesCopy, Language languageId,
                               std::size_t editIndex, const DeviceFormFields& fields)
    : CDeviceFormDlg(instance, kEditForm, std::move(devicesCopy), languageId, editIndex, fields) {}

BOOL CDeviceFormDlg::OnInitDialog() {
    if (m_languageId == Language::kEnglish) {
        SetEnglishTexts();
    }
    // Counted in characters, this stops typing early; OnUpdateEdit then holds the bytes.
    for (const auto& [id, limit] : EditLimits()) {
        SendDlgItemMessageW(Handle(), id, EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0);
    }
    for (const char* item : kPriorityItems) {
        SendDlgItemMessageA(Handle(), m_ids.priorityCombo, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(item));
    }
    // Filling the IP and UUID edits runs their change handlers, so a stored address and a
    // stored UUID exclude each other from the start.
    const std::pair<int, const char*> texts[] = {
        {m_ids.nameEdit, m_fields.name},         {m_ids.ipEdit, m_fields.serverIp},
        {m_ids.portEdit, m_fields.serverPort},   {m_ids.userEdit, m_fields.account},
        {m_ids.passwordEdit, m_fields.password}, {m_ids.uuidEdit, m_fields.uuid},
    };
    for (const auto& [id, text] : texts) {
        SetDlgItemTextA(Handle(), id, text);
    }
    const int priority = PriorityItemFor(FieldText(m_fields.priority));
    SendDlgItemMessageW(Handle(), m_ids.priorityCombo, CB_SETCURSEL, static_cast<WPARAM>(priority),
                        0);
    return TRUE;
}

void CDeviceFormDlg::SetEnglishTexts() {
    SetWindowTextW(Handle(), m_ids.caption.english);
    const std::pair<int, const UiText&> labels[] = {
        {m_ids.nameLabel, texts::kDeviceNameLabel},
        {m_ids.ipLabel, texts::kDeviceIpLabel},
        {m_ids.portLabel, texts::kPortLabel},
        {m_ids.userLabel, texts::kUsernameLabel},
        {m_ids.passwordLabel, texts::kPasswordLabel},
        {IDOK, texts::kOkButton},
        {IDCANCEL, texts::kCancelButton},
    };
    for (const auto& [id, text] : labels) {
        SetDlgItemTextW(Handle(), id, text.english);
    }
}

void CDeviceFormDlg::ReadForm() {
    ReadEdit(Handle(), m_ids.nameEdit, m_fields.name);
    ReadEdit(Handle(), m_ids.ipEdit, m_fields.serverIp);
    ReadEdit(Handle(), m_ids.portEdit, m_fields.serverPort);
    ReadEdit(Handle(), m_ids.userEdit, m_fields.account);
    ReadEdit(Handle(), m_ids.passwordEdit, m_fields.password);
    ReadEdit(Handle(), m_ids.uuidEdit, m_fields.uuid);
    OnSelchangePriority();
}

void CDeviceFormDlg::OnClickedOk() {
    ReadForm();
    switch (CheckDeviceForm(m_fields, m_devicesCopy, m_editIndex)) {
        case FormProblem::kRequiredFieldEmpty:
            ShowMessage(Handle(), texts::kRequiredFieldEmpty, m_languageId);
            return;
        case FormProblem::kDuplicateName:
            ShowMessage(Handle(), texts::kDeviceNameExists, m_languageId);
            return;
        case FormProblem::kNone:
            EndDialog(IDOK);
            return;
    }
}

std::array<std::pair<int, int>, 6> CDeviceFormDlg::EditLimits() const {
    return {{
        {m_ids.nameEdit, kNameLimit},
        {m_ids.ipEdit, kServerIpLimit},
        {m_ids.portEdit, kServerPortLimit},
        {m_ids.userEdit, kAccountLimit},
        {m_ids.passwordEdit, kPasswordLimit},
        {m_ids.uuidEdit, kUuidLimit},
    }};
}

void CDeviceFormDlg::OnUpdateEdit(int id) {
    const auto limits = EditLimits();
    const auto found = std::find_if(limits.begin(), limits.end(),
                                    [id](const auto& entry) { return entry.first == id; });
    if (found == limits.end()) {
        return;
    }
    const HWND edit = Item(id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    const int ansiBytes = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                              nullptr, 0, nullptr, nullptr);
    if (ansiBytes <= found->second) {
        m_acceptedTexts[id] = std::move(text);
        return;
    }
    // Too long in the code page the record is kept in (a double-byte character takes two of
    // the field's bytes): undo the change, as the edit refuses typing beyond its limit.
    // A copy: setting the text comes back here, and that call stores the text anew.
    const std::wstring accepted = m_acceptedTexts[id];
    SetWindowTextW(edit, accepted.c_str());
    const auto end = static_cast<WPARAM>(accepted.size());
    SendMessageW(edit, EM_SETSEL, end, static_cast<LPARAM>(end));
    MessageBeep(MB_OK);
}

void CDeviceFormDlg::EnableWhenEmpty(int sourceEdit, int otherEdit) {
    const bool empty = GetWindowTextLengthW(Item(sourceEdit)) == 0;
    EnableWindow(Item(otherEdit), empty);
}

void CDeviceFormDlg::OnChangeIp() {
    EnableWhenEmpty(m_ids.ipEdit, m_ids.uuidEdit);
}

void CDeviceFormDlg::OnChangeUuid() {
    EnableWhenEmpty(m_ids.uuidEdit, m_ids.ipEdit);
}

void CDeviceFormDlg::OnSelchangePriority() {
    const LRESULT item = SendDlgItemMessageW(Handle(), m_ids.priorityCombo, CB_GETCURSEL, 0, 0);
    char text[64] = {};
    if (item != CB_ERR &&
        SendDlgItemMessageA(Handle(), m_ids.priorityCombo, CB_GETLBTEXTLEN,
                            static_cast<WPARAM>(item), 0) < static_cast<LRESULT>(sizeof text)) {
        SendDlgItemMessageA(Handle(), m_ids.priorityCombo, CB_GETLBTEXT, static_cast<WPARAM>(item),
                            reinterpret_cast<LPARAM>(text));
    }
    CopyField(m_fields.priority, FieldText(text));
}
