// The main window's device check: which devices a command checks, the status column with the
// check's progress in its header, and the end of a check. The check reads copies of the
// records and changes none, so the book saves as it would have without it.
#include "app/TavrinDlg.h"

#include <commctrl.h>

#include "texts/FormatText.h"

void CTavrinDlg::OnMenuCheckDevices() {
    std::vector<std::size_t> records;
    for (const int row : m_deviceList.SelectedRows()) {
        if (const std::optional<std::size_t> index = m_deviceList.RecordOfRow(row)) {
            records.push_back(*index);
        }
    }
    if (records.empty()) {
        OnMenuCheckAllDevices();
        return;
    }
    StartCheck(records);
}

// Every device the list shows: all of them, or those the filter keeps.
void CTavrinDlg::OnMenuCheckAllDevices() {
    std::vector<std::size_t> records;
    for (int row = 0; row < m_deviceList.RowCount(); ++row) {
        if (const std::optional<std::size_t> index = m_deviceList.RecordOfRow(row)) {
            records.push_back(*index);
        }
    }
    StartCheck(records);
}

// One check at a time: a command while one runs is ignored (the menu offers to stop it).
void CTavrinDlg::StartCheck(const std::vector<std::size_t>& records) {
    if (m_check.IsRunning() || records.empty()) {
        return;
    }
    std::vector<DeviceCheckJob> jobs;
    jobs.reserve(records.size());
    for (const std::size_t index : records) {
        jobs.push_back({m_devices.IdAt(index), m_devices.At(index)});
        m_statuses.Forget(m_devices.IdAt(index));
    }
    const std::size_t total = jobs.size();
    // The search's list as a double-click would see it now; the check never waits for it.
    LanSearchSnapshot lan{m_discovery.IsRunning(), m_discovery.DiscoveredDevices()};
    if (!m_check.Start(Handle(), std::move(jobs), std::move(lan))) {
        return;
    }
    m_deviceList.ShowStatusColumn(
        FormatText(texts::kCheckProgress, m_languageId, 0, static_cast<int>(total)).c_str());
    // A check before this one left its statuses in the rows it checks again.
    m_deviceList.RefreshStatuses();
}

// What has been checked keeps its status; the devices not reached yet show none.
void CTavrinDlg::StopCheck() {
    if (!m_check.IsRunning()) {
        return;
    }
    m_check.Stop();
    m_deviceList.ShowStatusColumn(InLanguage(texts::kStatusColumn, m_languageId));
}

ui::MessageResult CTavrinDlg::OnCheckProgress(WPARAM, LPARAM) {
    const std::optional<CDeviceCheckWorker::Progress> progress = m_check.TakeProgress();
    if (!progress) {
        return 0;
    }
    for (const DeviceCheckResult& result : progress->results) {
        m_statuses.Set(result.id, result.status);
        ShowDeviceStatus(result.id);
    }
    if (progress->finished) {
        m_deviceList.ShowStatusColumn(InLanguage(texts::kStatusColumn, m_languageId));
    } else {
        m_deviceList.ShowStatusColumn(FormatText(texts::kCheckProgress, m_languageId,
                                                 static_cast<int>(progress->done),
                                                 static_cast<int>(progress->total))
                                          .c_str());
    }
    return 0;
}

// A device that a merged save or an import took away meanwhile has no row to show it in.
void CTavrinDlg::ShowDeviceStatus(RecordId id) {
    const std::optional<std::size_t> index = m_devices.IndexOfId(id);
    if (!index) {
        return;
    }
    if (const std::optional<int> row = m_deviceList.RowOfRecord(*index)) {
        m_deviceList.RefreshStatus(*row);
    }
}
