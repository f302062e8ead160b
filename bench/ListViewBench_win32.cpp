// Times the device list with a large address book under Wine, as the main window shows it:
// today's list fill (one row at a time into a list that holds its rows' texts) next to the
// virtual list's fill, a keystroke's filter and a sort by each column. Each step is timed up
// to its first page painted, and apart from that paint (the display's share, which the
// program leaves to its next wait for input). Goals: the first page within 1 s, a keystroke's
// filter within 50 ms, a sort within 200 ms, each without its paint.
//
//   listview_bench.exe [devices, default 100000]
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/DeviceListView.h"
#include "app/ListColumns.h"
#include "bench/SampleBook.h"
#include "support/DeviceListHost_win32.h"
#include "ui/ListView.h"

namespace {

constexpr int kListWidth = 860;
constexpr int kListHeight = 600;

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

template <class Step>
double Time(Step step) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    step();
    QueryPerformanceCounter(&end);
    return Seconds(start, end);
}

struct Timing {
    double step;     // seconds, the step itself
    double painted;  // seconds, the step and the paint of the first page after it
};

// Runs a step on the list, then has its first page painted.
template <class Step>
Timing TimePainted(HWND list, Step step) {
    Timing timing{};
    timing.painted = Time([&] {
        timing.step = Time(step);
        UpdateWindow(list);
    });
    return timing;
}

void PrintHeading() {
    std::printf("%-34s %13s %9s %13s %6s\n", "", "", "step", "with paint", "goal");
}

// Prints one line of figures; false when the step missed its goal.
bool Report(const char* what, std::size_t rows, Timing timing, double goal) {
    std::printf("%-34s %8zu rows %6.1f ms %10.1f ms %6.0f ms\n", what, rows, timing.step * 1000,
                timing.painted * 1000, goal * 1000);
    return timing.step <= goal;
}

// How the list was filled before it was virtual: each row inserted with its four texts.
void FillRowByRow(HWND list, const DeviceTable& table) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    for (std::size_t i = 0; i < table.Count(); ++i) {
        const DeviceRecord& record = table.At(i);
        ui::InsertRow(list, static_cast<int>(i),
                      {record.name, record.serverIp, record.serverPort, record.uuid},
                      static_cast<LPARAM>(i));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t devices = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
    const DeviceTable table = MakeSampleBook(devices);
    bool met = true;

    DeviceListHost host(kListWidth, kListHeight, WS_VISIBLE);
    if (!host.Made()) {
        std::fputs("listview_bench: no list-view control (is there a display?)\n", stderr);
        return 1;
    }
    {
        HWND parent =
            CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, kListWidth + 40,
                            kListHeight + 40, nullptr, nullptr, nullptr, nullptr);
        HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 20,
                                    20, kListWidth, kListHeight, parent, nullptr, nullptr, nullptr);
        ui::SetUpColumns(list, ColumnHeaders(kListColumns, Language::kEnglish),
                         ColumnWidthsFor(kListColumns, kListWidth));
        PrintHeading();
        const Timing fill = TimePainted(list, [&] { FillRowByRow(list, table); });
        std::printf("%-34s %8zu rows %6.1f ms %10.1f ms\n", "today's list fill", devices,
                    fill.step * 1000, fill.painted * 1000);
        DestroyWindow(parent);
    }

    DeviceListView& view = host.View();
    view.SetUpColumns(Language::kEnglish);
    const auto painted = [&](auto step) { return TimePainted(host.List(), step); };
    met &= Report("virtual list fill", devices, painted([&] { view.Fill(table); }), 1.0);

    // Keystrokes into the filter box: the first one looks at every device, the next ones at
    // what the last one kept; a letter taken back looks at every device again.
    const char* const typed[] = {"g", "ga", "gat", "ga", ""};
    for (const char* text : typed) {
        const std::string what = std::string("filter, typed \"") + text + "\"";
        const Timing timing = painted([&] { view.Filter(std::string(text)); });
        met &= Report(what.c_str(), static_cast<std::size_t>(view.RowCount()), timing, 0.05);
    }

    const char* const columns[] = {"sort by Device Name", "sort by Device IP", "sort by Port",
                                   "sort by UUID"};
    SortState state;
    for (int column = 0; column < 4; ++column) {
        met &= Report(columns[column], devices, painted([&] { view.SortByColumn(column, state); }),
                      0.2);
    }
    std::printf("goals: %s\n", met ? "met" : "missed");
    return met ? 0 : 3;
}
