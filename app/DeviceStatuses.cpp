#include "app/DeviceStatuses.h"

namespace {

const UiText& StatusText(DeviceStatus status) {
    switch (status) {
        case DeviceStatus::kOk:
            return texts::kStatusOk;
        case DeviceStatus::kWrongPassword:
            return texts::kStatusWrongPassword;
        case DeviceStatus::kNoAnswer:
            return texts::kStatusNoAnswer;
        case DeviceStatus::kOnLan:
            return texts::kStatusOnLan;
        case DeviceStatus::kNotOnLan:
            break;
    }
    return texts::kStatusNotOnLan;
}

}  // namespace

const wchar_t* DeviceStatuses::TextFor(RecordId id, Language language) const {
    const auto found = m_statuses.find(id);
    return found == m_statuses.end() ? L"" : InLanguage(StatusText(found->second), language);
}
