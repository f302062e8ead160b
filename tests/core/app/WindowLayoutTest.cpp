#include "app/WindowLayout.h"

#include <gtest/gtest.h>

#include <span>
#include <vector>

#include "app/ListColumns.h"

namespace {

const std::array<Size, kButtonCount> kButtons{
    {{105, 46}, {105, 46}, {105, 46}, {90, 46}, {90, 46}}};

TEST(WindowLayoutTest, ButtonRowAtTheBottomAndListAboveIt) {
    const MainLayout layout = LayoutMainWindow(Rect{0, 0, 800, 600}, kButtons);
    const Rect expectedButtons[] = {{25, 539, 130, 585},
                                    {140, 539, 245, 585},
                                    {255, 539, 360, 585},
                                    {370, 539, 460, 585},
                                    {470, 539, 560, 585}};
    for (int i = 0; i < kButtonCount; ++i) {
        EXPECT_EQ(layout.buttons[i], expectedButtons[i]) << "button " << i;
    }
    EXPECT_EQ(layout.list, (Rect{20, 20, 780, 509}));
    // 30 px between the list and the row.
    EXPECT_EQ(layout.buttons[0].top - layout.list.bottom, 30);

    // The filter box's band comes out of the list's top; a list too low for it keeps no height.
    Rect list = layout.list;
    EXPECT_EQ(MakeRoomForFilter(list, 23), (Rect{20, 20, 780, 43}));
    EXPECT_EQ(list, (Rect{20, 51, 780, 509}));
    Rect low{20, 20, 780, 40};
    MakeRoomForFilter(low, 23);
    EXPECT_EQ(low, (Rect{20, 40, 780, 40}));
}

TEST(WindowLayoutTest, TinyClientAreaNeverGivesNegativeSizesAndRecovers) {
    for (const Rect client : {Rect{0, 0, 30, 70}, Rect{0, 0, 0, 0}, Rect{0, 0, 10, 500}}) {
        const MainLayout layout = LayoutMainWindow(client, kButtons);
        EXPECT_GE(layout.list.Width(), 0);
        EXPECT_GE(layout.list.Height(), 0);
    }
    EXPECT_EQ(LayoutMainWindow(Rect{0, 0, 30, 70}, kButtons).list, (Rect{20, 20, 20, 20}));
    EXPECT_EQ(LayoutMainWindow(Rect{0, 0, 400, 300}, kButtons).list, (Rect{20, 20, 380, 209}));
}

TEST(ListColumnsTest, WidthsAreTheColumnsSharesOfTheClientWidth) {
    struct Case {
        std::span<const ListColumn> columns;
        int clientWidth;
        std::vector<int> widths;
    };
    const Case cases[] = {
        {kListColumns, 760, {228, 228, 76, 228}},  // 30, 30, 10, 30 percent
        {kListColumns, 99, {29, 29, 9, 29}},      {kListColumns, -5, {0, 0, 0, 0}},
        {kLanColumns, 474, {161, 123, 56, 132}},  // 34, 26, 12, 28 percent
        {kLanColumns, 99, {33, 25, 11, 27}},      {kLanColumns, -5, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColumnWidthsFor(c.columns, c.clientWidth), c.widths) << c.clientWidth;
    }
}

}  // namespace
