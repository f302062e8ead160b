// The device list on a real list-view control: sorting and filtering reorder and hide rows
// only, a row always leads to its own record, and a selection stays with its records.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/DeviceListView.h"
#include "app/StartupRules.h"
#include "base/FixedText.h"
#include "support/DeviceListHost_win32.h"
#include "support/TestDevice.h"

namespace {

class DeviceListViewTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_host.Made()) << GetLastError();
        m_view.SetUpColumns(Language::kEnglish);
    }

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

    std::vector<bool> Selected() const {
        std::vector<bool> selected;
        for (int row = 0; row < m_view.RowCount(); ++row) {
            selected.push_back(ListView_GetItemState(m_list, row, LVIS_SELECTED) != 0);
        }
        return selected;
    }

    DeviceListHost m_host{760, 400, 0};
    HWND m_list = m_host.List();
    DeviceListView& m_view = m_host.View();
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
            const std::optional<std::size_t> index = m_view.RecordOfRow(row);
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
    m_view.RecordAppended();
    EXPECT_EQ(m_view.CellText(4, 1), "10.0.0.5");
    expectRowsLeadToTheirRecords("added");

    const int firstCam = RowWithIp("10.0.0.1");
    ASSERT_EQ(m_view.RecordOfRow(firstCam), 0u);
    const std::size_t removed[] = {0, 3};  // the first Cam and Beta
    m_table.RemoveAt(removed);
    m_view.RecordsRemoved(removed);
    expectRowsLeadToTheirRecords("deleted");
    m_view.SortByColumn(1, state);
    expectRowsLeadToTheirRecords("sorted again");
    EXPECT_EQ(m_view.RecordOfRow(-1), std::nullopt);
    EXPECT_EQ(m_view.RowOfRecord(m_table.Count()), std::nullopt);

    // Filtered, the rows keep the sort's order and lead to their records; typing on narrows,
    // a new device the filter does not keep stays hidden, and an edit decides anew.
    m_view.Filter("A");
    EXPECT_EQ(Column(1), (std::vector<std::string>{"10.0.0.2", "10.0.0.3", "10.0.0.5"}));
    m_view.Filter("a");  // Cam, alpha and Gate
    m_view.Filter("am");
    EXPECT_EQ(Column(0), (std::vector<std::string>{"Cam"}));
    Add("Yard", "10.0.0.6", "82");
    m_view.RecordAppended();
    EXPECT_EQ(m_view.RowCount(), 1);
    CopyField(m_table.At(3).name, "Camera");
    m_view.RecordChanged();
    EXPECT_EQ(Column(0), (std::vector<std::string>{"Cam", "Camera"}));
    m_view.Filter(std::nullopt);
    EXPECT_EQ(m_view.RowCount(), 0);
    m_view.Filter("");
    ASSERT_EQ(m_view.RowCount(), static_cast<int>(m_table.Count()));
    expectRowsLeadToTheirRecords("shown again");
}

TEST_F(DeviceListViewTest, SelectionStaysWithItsDevicesThroughSortingAndFiltering) {
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

    SortState state;
    m_view.SortByColumn(0, state);  // D, C, B, A
    EXPECT_EQ(Selected(), (std::vector<bool>{true, true, true, false}));
    m_view.Filter("a");  // the selected ones hidden: the one row left is selected
    EXPECT_EQ(Selected(), (std::vector<bool>{true}));
    m_view.Filter("");
    EXPECT_EQ(Selected(), (std::vector<bool>{false, false, false, true}));
    const std::size_t removed[] = {0};
    m_table.RemoveAt(removed);
    m_view.RecordsRemoved(removed);
    EXPECT_EQ(m_view.FirstSelectedRow(), -1);
}

}  // namespace
