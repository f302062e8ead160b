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

TEST(WindowLayoutTest, MarginsScaleWithTheWindowsDpi) {
    struct Case {
        int dpi;
        Rect client;
        Rect firstButton;
        Rect secondButton;
        Rect list;
    };
    const Case cases[] = {
        // 125 %: 31.25, 18.75, 12.5, 25 and 37.5 px round to the nearest, halves up.
        {120, {0, 0, 1000, 750}, {31, 685, 136, 731}, {149, 685, 254, 731}, {25, 25, 975, 647}},
        {144, {0, 0, 1200, 900}, {38, 831, 143, 877}, {158, 831, 263, 877}, {30, 30, 1170, 786}},
        {192,
         {0, 0, 1600, 1200},
         {50, 1124, 155, 1170},
         {175, 1124, 280, 1170},
         {40, 40, 1560, 1064}},
    };
    for (const Case& c : cases) {
        const MainLayout layout = LayoutMainWindow(c.client, kButtons, c.dpi);
        EXPECT_EQ(layout.buttons[0], c.firstButton) << c.dpi;
        EXPECT_EQ(layout.buttons[1], c.secondButton) << c.dpi;
        EXPECT_EQ(layout.list, c.list) << c.dpi;
    }
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
        {kListColumns, 99, {29, 29, 9, 29}},
        {kListColumns, -5, {0, 0, 0, 0}},
        {kCheckedListColumns, 760, {167, 144, 68, 152, 228}},  // 22, 19, 9, 20, 30 percent
        {kLanColumns, 474, {132, 104, 47, 104, 85}},           // 28, 22, 10, 22, 18 percent
        {kLanColumns, 99, {27, 21, 9, 21, 17}},
        {kLanColumns, -5, {0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColumnWidthsFor(c.columns, c.clientWidth), c.widths) << c.clientWidth;
    }
}

}  // namespace
