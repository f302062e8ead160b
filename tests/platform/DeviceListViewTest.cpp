// The device list on a real list-view control: sorting reorders rows only, and a row always
// leads to its own record.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/DeviceListView.h"
#include "app/StartupRules.h"
#include "base/FixedText.h"
#include "support/TestDevice.h"

namespace {

class DeviceListViewTest : public testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        m_parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr,
                                   nullptr, nullptr);
        m_list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, 0, 0, 760, 400,
                                 m_parent, nullptr, nullptr, nullptr);
        ASSERT_NE(m_parent, nullptr);
        ASSERT_NE(m_list, nullptr) << GetLastError();
        m_view.Attach(m_list);
        m_view.SetUpColumns(Language::kEnglish);
    }
    void TearDown() override { DestroyWindow(m_parent); }

    void Add(const char* name, const char* ip, const char* port) {
        m_table.Append(MakeDevice({.name = name, .serverIp = ip, .serverPort = port}));
    }

    std::vector<std::string> Column(int column) const {
        std::vector<std::string> texts;
        for (int row = 0; row < m_view.RowCount(); ++row) {
            texts.push_back(m_view.CellText(row, column));
        }
        return texts;
    }

    int RowWithIp(const std::string& ip) const {
        const std::vector<std::string> ips = Column(1);
        return static_cast<int>(std::find(ips.begin(), ips.end(), ip) - ips.begin());
    }

    HWND m_parent = nullptr;
    HWND m_list = nullptr;
    DeviceListView m_view;
    DeviceTable m_table;
};

TEST_F(DeviceListViewTest, RowsKeepTheirOwnRecordThroughSortingAddingAndDeleting) {
    Add("Cam", "10.0.0.1", "8080");
    Add("alpha", "10.0.0.2", "80");
    Add("Cam", "10.0.0.3", "554");
    Add("Beta", "10.0.0.4", "x");
    m_view.Fill(m_table);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"Cam", "alpha", "Cam", "Beta"}));
    // Every row shows the record it leads to: the IPs are unique, the names are not.
    const auto expectRowsLeadToTheirRecords = [this](const char* when) {
        ASSERT_EQ(m_view.RowCount(), static_cast<int>(m_table.Count())) << when;
        for (int row = 0; row < m_view.RowCount(); ++row) {
            const std::optional<std::size_t> index = m_view.RecordOfRow(row, m_table);
            ASSERT_TRUE(index) << when << ", row " << row;
            EXPECT_EQ(FieldText(m_table.At(*index).serverIp), m_view.CellText(row, 1))
                << when << ", row " << row;
            EXPECT_EQ(m_view.RowOfRecord(*index), row) << when;
        }
    };

    SortState state;
    m_view.SortByColumn(0, state);  // the first click on the name column: descending
    EXPECT_EQ(Column(0)[2], "Beta");
    EXPECT_EQ(Column(0)[3], "alpha");
    m_view.SortByColumn(2, state);
    EXPECT_EQ(Column(2), (std::vector<std::string>{"x", "80", "554", "8080"}));
    expectRowsLeadToTheirRecords("sorted");
    // The table itself keeps its order.
    EXPECT_EQ(FieldText(m_table.At(2).serverIp), "10.0.0.3");

    Add("Gate", "10.0.0.5", "81");
    m_view.AppendRow(m_table.At(4), 4);
    EXPECT_EQ(m_view.CellText(4, 1), "10.0.0.5");
    expectRowsLeadToTheirRecords("added");

    const int firstCam = RowWithIp("10.0.0.1");
    ASSERT_EQ(m_view.RecordOfRow(firstCam, m_table), 0u);
    m_table.RemoveAt(0);
    m_view.DeleteRow(firstCam);
    expectRowsLeadToTheirRecords("deleted");
    m_view.SortByColumn(1, state);
    expectRowsLeadToTheirRecords("sorted again");
    EXPECT_EQ(m_view.RecordOfRow(-1, m_table), std::nullopt);
    EXPECT_EQ(m_view.RowOfRecord(m_table.Count()), std::nullopt);
}

TEST_F(DeviceListViewTest, SelectedRowsReadFromTheTop) {
    for (const char* name : {"A", "B", "C", "D"}) {
        Add(name, "", "");
    }
    m_view.Fill(m_table);
    EXPECT_EQ(m_view.FirstSelectedRow(), -1);
    for (int row : {3, 1, 2}) {
        ListView_SetItemState(m_list, row, LVIS_SELECTED, LVIS_SELECTED);
    }
    EXPECT_EQ(m_view.FirstSelectedRow(), 1);
    EXPECT_EQ(m_view.SelectedRows(), (std::vector<int>{1, 2, 3}));
}

}  // namespace
