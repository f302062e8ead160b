// The Add and Edit device dialogs: one form under two templates. A dialog works on its own
// copy of the data; the commands of the main window prepare it and take its result.
#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "addressbook/DeviceTable.h"
#include "editing/DeviceForm.h"
#include "texts/Texts.h"
#include "ui/Dialog.h"

// The template and control ids of one of the two forms, and its caption.
struct DeviceFormIds {
    int templateId;
    UiText caption;
    int nameLabel, ipLabel, portLabel, userLabel, passwordLabel;
    int nameEdit, ipEdit, portEdit, userEdit, passwordEdit, uuidEdit, priorityCombo;
};

class CDeviceFormDlg : public ui::TableDialog<CDeviceFormDlg> {
public:
    // The form's texts after OK.
    const DeviceFormFields& Fields() const { return m_fields; }

    static std::span<const ui::MessageEntry<CDeviceFormDlg>> MessageTable();

protected:
    // devicesCopy is the table to test the name against; editedIndex is the record being
    // edited (none when adding); fields fill the form.
    CDeviceFormDlg(HINSTANCE instance, const DeviceFormIds& ids, DeviceTable devicesCopy,
                   Language languageId, std::optional<std::size_t> editedIndex,
                   const DeviceFormFields& fields);

    BOOL OnInitDialog() override;

private:
    void SetEnglishTexts();
    void ReadForm();
    void EnableWhenEmpty(int sourceEdit, int otherEdit);
    // The six edits and their limits, as (control id, limit in bytes of the ANSI code page).
    std::array<std::pair<int, int>, 6> EditLimits() const;

    void OnClickedOk();
    void OnChangeIp();
    void OnChangeUuid();
    void OnSelchangePriority();
    // Keeps an edit within its limit in bytes of the ANSI code page, which is how the record
    // stores its text.
    void OnUpdateEdit(int id);

    const DeviceFormIds& m_ids;
    DeviceFormFields m_fields;
    DeviceTable m_devicesCopy;
    std::optional<std::size_t> m_editIndex;
    Language m_languageId;
    std::map<int, std::wstring> m_acceptedTexts;  // each edit's last text within its limit
};

class CAddDeviceDlg : public CDeviceFormDlg {
public:
    // prefilled: what the form shows at first (empty for a device typed in by hand).
    CAddDeviceDlg(HINSTANCE instance, DeviceTable devicesCopy, Language languageId,
                  const DeviceFormFields& prefilled);
};

class CEditDeviceDlg : public CDeviceFormDlg {
public:
    CEditDeviceDlg(HINSTANCE instance, DeviceTable devicesCopy, Language languageId,
                   std::size_t editIndex, const DeviceFormFields& fields);
};
