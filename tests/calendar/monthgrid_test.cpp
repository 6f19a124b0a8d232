#include "calendar/core/monthgrid.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace velmora;

namespace {
const CalendarMetrics kScreen = CalendarMetrics::forScreen(15, 15);
}

TEST(MonthGrid, TwipGeometryHitTestAndMonthLayouts)
{
    EXPECT_EQ(cellBox(kScreen, 41), (TwipBox{2310, 2010, 2610, 2235}));
    // 12 twips per pixel: 240 by 180 cells, grid top 540.
    EXPECT_EQ(cellBox(CalendarMetrics::forScreen(12, 12), 8), (TwipBox{450, 780, 690, 960}));
    // A hit in a gap goes to the cell before it.
    // clang-format off
    struct { double x, y; int cell; } cases[] = {
        {509.4, 700, 0}, {509.5, 700, 1}, // gap right; 509.5 rounds to 510
        {2600, 2290, 41},                 // gap below
        {149.9, 700, -1}, {1000, 400, -1}, {150 + 7 * 360, 700, -1},
        {1e300, 1e300, -1}, {std::nan(""), 700, -1},
    };
    // clang-format on
    for (const auto &c : cases)
        EXPECT_EQ(hitTest(kScreen, c.x, c.y), c.cell) << c.x << ", " << c.y;

    // 1 February 2015 is a Sunday; 2015 is not a leap year.
    const MonthLayout feb = MonthLayout::of(2015, 2);
    clsDayInfoCol data;
    for (int k = 0; k < feb.days; ++k)
        data.Add(Moment(feb.first.addDays(k), QTime(0, 0)), false, clsDayInfo::kWhite);
    data.Item(14)->setSelected(true);
    const auto cells = monthCells(data, feb);
    for (int i : {0, 13, 27, 28})
        EXPECT_EQ(cells[i].text, i < 28 ? QString::number(i + 1) : QString()) << i;
    EXPECT_EQ(cells[13].backColor, clsDayInfo::kSelectionBlue);
    EXPECT_EQ(cells[14].backColor, clsDayInfo::kWhite);

    // May 2026 starts on a Friday; its 31st is the first cell of the sixth row.
    const MonthLayout may = MonthLayout::of(2026, 5);
    EXPECT_FALSE(may.holdsDay(4));
    EXPECT_FALSE(may.holdsDay(36));
    EXPECT_EQ(may.dateAt(35), QDate(2026, 5, 31));
    EXPECT_EQ(MonthLayout::of(100, 2).days, 28); // 100 is no leap year
    EXPECT_EQ(MonthLayout::of(2026, 13).days, 0);
    EXPECT_EQ(calendarTitle(2026, 12, QLocale::c()), QStringLiteral("Dec 2026"));
    EXPECT_EQ(weekdayInitial(0) + weekdayInitial(6), QStringLiteral("SS"));
    EXPECT_EQ(weekdayInitial(-1) + weekdayInitial(7), QString());
}
