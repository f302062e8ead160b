#include "editing/DeviceForm.h"

#include "base/FixedText.h"

FormProblem CheckDeviceForm(const DeviceFormFields& form, const DeviceTable& devices,
                            std::optional<std::size_t> editedIndex) {
    const bool hasUuid = !FieldText(form.uuid).empty();
    const bool filled[] = {
        !FieldText(form.name).empty(),
        !FieldText(form.serverIp).empty() || hasUuid,
        !FieldText(form.serverPort).empty() || hasUuid,
        !FieldText(form.account).empty(),
        !FieldText(form.password).empty(),
        !FieldText(form.priority).empty(),
    };
    for (bool ok : filled) {
        if (!ok) {
            return FormProblem::RequiredFieldEmpty;
        }
    }
    if (devices.ContainsNameIgnoringCase(FieldText(form.name), editedIndex)) {
        return FormProblem::DuplicateName;
    }
    return FormProblem::None;
}

DeviceRecord RecordFromForm(const DeviceFormFields& form, const DeviceRecord& base) {
    DeviceRecord record = base;
    CopyField(record.name, FieldText(form.name));
    CopyField(record.serverIp, FieldText(form.serverIp));
    CopyField(record.serverPort, FieldText(form.serverPort));
    CopyField(record.account, FieldText(form.account));
    CopyField(record.password, FieldText(form.password));
    CopyField(record.uuid, FieldText(form.uuid));
    CopyField(record.priority, FieldText(form.priority));
    return record;
}

DeviceFormFields FormFromRecord(const DeviceRecord& record) {
    DeviceFormFields form{};
    CopyField(form.name, FieldText(record.name));
    CopyField(form.serverIp, FieldText(record.serverIp));
    CopyField(form.serverPort, FieldText(record.serverPort));
    CopyField(form.account, FieldText(record.account));
    CopyField(form.password, FieldText(record.password));
    CopyField(form.uuid, FieldText(record.uuid));
    CopyField(form.priority, FieldText(record.priority));
    return form;
}

int PriorityItemFor(std::string_view priority) {
    if (priority.find(kPriorityItems[0]) != std::string_view::npos) {
        return 0;
    }
    return priority.find(kPriorityItems[1]) != std::string_view::npos ? 1 : 0;
}
