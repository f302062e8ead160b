#include "editing/DeviceForm.h"

#include <cstring>

#include "addressbook/ProfileDocument.h"
#include "base/FixedText.h"

FormProblem CheckDeviceForm(const DeviceFormFields& form, const DeviceTable& devices,
                            std::optional<std::size_t> editedIndex) {
    const bool hasUuid = !FieldText(form.uuid).empty();
    const bool filled[] = {
        // A name of blanks only would be an empty section name in the book: lost at once.
        !TrimProfileBlanks(FieldText(form.name)).empty(),
        !FieldText(form.serverIp).empty() || hasUuid,
        !FieldText(form.serverPort).empty() || hasUuid,
        !FieldText(form.account).empty(),
        !FieldText(form.password).empty(),
        !FieldText(form.priority).empty(),
    };
    for (bool ok : filled) {
        if (!ok) {
            return FormProblem::kRequiredFieldEmpty;
        }
    }
    // The name as the record will keep it: two names that differ only beyond the field's
    // width would be stored as one.
    DeviceRecord stored{};
    CopyField(stored.name, FieldText(form.name));
    if (devices.ContainsNameIgnoringCase(FieldText(stored.name), editedIndex)) {
        return FormProblem::kDuplicateName;
    }
    return FormProblem::kNone;
}

namespace {

// Calls visit(formField, recordField) for the seven texts the form edits.
template <class Form, class Record, class Visit>
void VisitEditedFields(Form& form, Record& record, Visit&& visit) {
    visit(form.name, record.name);
    visit(form.serverIp, record.serverIp);
    visit(form.serverPort, record.serverPort);
    visit(form.account, record.account);
    visit(form.password, record.password);
    visit(form.uuid, record.uuid);
    visit(form.priority, record.priority);
}

}  // namespace

DeviceRecord RecordFromForm(const DeviceFormFields& form, const DeviceRecord& base) {
    DeviceRecord record = base;
    VisitEditedFields(form, record,
                      [](const auto& from, auto& to) { CopyField(to, FieldText(from)); });
    if (FieldText(record.uuid) != FieldText(base.uuid)) {
        CopyField(record.uuidIp, "");
        CopyField(record.uuidMac, "");
    }
    return record;
}

bool EditChangesRecord(const DeviceRecord& edited, const DeviceRecord& record) {
    DeviceRecord shown = record;
    CopyField(shown.priority, kPriorityItems[PriorityItemFor(FieldText(record.priority))]);
    // Fields are zeroed beyond their text, so records compare as whole values.
    const auto same = [&](const DeviceRecord& other) {
        return std::memcmp(&edited, &other, sizeof(DeviceRecord)) == 0;
    };
    return !same(record) && !same(shown);
}

DeviceFormFields FormFromRecord(const DeviceRecord& record) {
    DeviceFormFields form{};
    VisitEditedFields(form, record,
                      [](auto& to, const auto& from) { CopyField(to, FieldText(from)); });
    return form;
}

int PriorityItemFor(std::string_view priority) {
    if (priority.find(kPriorityItems[0]) != std::string_view::npos) {
        return 0;
    }
    return priority.find(kPriorityItems[1]) != std::string_view::npos ? 1 : 0;
}
