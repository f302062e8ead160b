// The main window's device list (control 1000): one row per device table entry, four
// columns, texts exactly as stored in the records (ANSI).
#pragma once

#include <windows.h>

#include "addressbook/DeviceTable.h"

class DeviceListView {
public:
    void Attach(HWND list) { m_hWnd = list; }
    HWND Handle() const { return m_hWnd; }

    // Report view with grid lines and full-row selection, and the four columns sized from
    // the current client width.
    void SetUpColumns(int languageId);

    // Appends one row per table entry, in table order.
    void Fill(const DeviceTable& table);

    // Writes the four texts of a row from a record.
    void SetRowFromDevice(int row, const DeviceRecord& record);

    int ClientWidth() const;

private:
    HWND m_hWnd = nullptr;
};
