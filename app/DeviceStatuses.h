// What the last check said of each device, kept by the record's identity (so it follows the
// device through sorts, saves and merges), and the text the status column shows for it.
#pragma once

#include <unordered_map>

#include "addressbook/DeviceTable.h"
#include "connect/DeviceCheck.h"
#include "texts/Texts.h"

class DeviceStatuses {
public:
    void Set(RecordId id, DeviceStatus status) { m_statuses[id] = status; }
    // The device is being checked again: what it said before no longer holds.
    void Forget(RecordId id) { m_statuses.erase(id); }

    // The status column's text for this record: empty until a check has told.
    const wchar_t* TextFor(RecordId id, Language language) const;

private:
    std::unordered_map<RecordId, DeviceStatus> m_statuses;
};
