#include "calendar/core/monthgrid.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {
const CalendarMetrics kScreen = CalendarMetrics::forScreen(15, 15);
}

TEST(MonthGrid, TwipGeometryOfCellsRowAndTitle)
{
    EXPECT_EQ(kScreen.cellWidth, 300);
    EXPECT_EQ(kScreen.cellHeight, 225);
    EXPECT_EQ(kScreen.top, 585);
    EXPECT_EQ(cellBox(kScreen, 0), (TwipBox{150, 585, 450, 810}));
    // Last cell: row 5, column 6, each 60 twips from its neighbours.
    EXPECT_EQ(cellBox(kScreen, 41), (TwipBox{150 + 6 * 360, 585 + 5 * 285, 2610, 2235}));
    EXPECT_EQ(weekdayBox(kScreen, 0).y1, 300);
    EXPECT_EQ(weekdayBox(kScreen, 6), (TwipBox{2310, 300, 2610, 525}));
    EXPECT_EQ(weekdayRule(kScreen), (TwipBox{150, 540, 2610, 540}));
    EXPECT_EQ(titleBar(kScreen, 2895), (TwipBox{0, 0, 2895, 255}));
    // A screen with 12 twips per pixel shrinks the cells and moves the grid up.
    const CalendarMetrics fine = CalendarMetrics::forScreen(12, 12);
    EXPECT_EQ(cellBox(fine, 8), (TwipBox{150 + 300, 540 + 240, 150 + 300 + 240, 780 + 180}));
}

struct HitCase
{
    const char *name;
    double x, y;
    int cell;
};

class MonthGridHitTest : public testing::TestWithParam<HitCase>
{};

TEST_P(MonthGridHitTest, FindsCell)
{
    EXPECT_EQ(hitTest(kScreen, GetParam().x, GetParam().y), GetParam().cell);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MonthGridHitTest,
    testing::Values(
        HitCase{"topLeftCorner", 150, 585, 0}, HitCase{"insideCell9", 900, 900, 9},
        HitCase{"gapRightOfCell0", 470, 700, 0}, HitCase{"lastTwipOfGapRight", 509.4, 700, 0},
        HitCase{"roundsIntoNextColumn", 509.5, 700, 1}, // 509.5 rounds to 510
        HitCase{"gapBelowCell0", 300, 860, 0}, HitCase{"gapBelowLastRow", 2600, 2290, 41},
        HitCase{"leftMargin", 149.9, 700, -1}, HitCase{"titleBar", 1000, 100, -1},
        HitCase{"weekdayRow", 1000, 400, -1}, HitCase{"belowGrid", 1000, 585 + 6 * 285, -1},
        HitCase{"rightOfGrid", 150 + 7 * 360, 700, -1}, HitCase{"hugeValues", 1e300, 1e300, -1},
        HitCase{"notANumber", std::nan(""), 700, -1}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(MonthGrid, FebruaryStartingOnSundayFillsFourRows)
{
    // 1 February 2015 is a Sunday and 2015 is not a leap year.
    const MonthLayout feb = MonthLayout::of(2015, 2);
    EXPECT_EQ(feb.lead, 0);
    EXPECT_EQ(feb.days, 28);
    clsDayInfoCol data;
    for (int k = 0; k < feb.days; ++k)
        data.Add(Moment(feb.first.addDays(k), QTime(0, 0)), false, clsDayInfo::kWhite,
                 clsDayInfo::kBlack, clsDayInfo::kWhite);
    data.Item(14)->setSelected(true);
    const auto cells = monthCells(data, feb);
    for (int i = 0; i < 28; ++i)
        EXPECT_EQ(cells[i].text, QString::number(i + 1)) << "cell " << i;
    for (int i = 28; i < 42; ++i) {
        EXPECT_TRUE(cells[i].text.isEmpty()) << "cell " << i;
        EXPECT_EQ(cells[i].backColor, clsDayInfo::kWhite);
        EXPECT_EQ(cells[i].rectColor, clsDayInfo::kWhite);
    }
    EXPECT_TRUE(cells[13].selected);
    EXPECT_EQ(cells[13].backColor, clsDayInfo::kSelectionBlue);
    EXPECT_EQ(cells[13].foreColor, clsDayInfo::kWhite);
}

TEST(MonthGrid, LeadingCellsAndLastCell)
{
    // May 2026 starts on a Friday and its 31st falls in the sixth row.
    const MonthLayout may = MonthLayout::of(2026, 5);
    EXPECT_EQ(may.lead, 5);
    EXPECT_FALSE(may.holdsDay(4));
    EXPECT_TRUE(may.holdsDay(5));
    EXPECT_TRUE(may.holdsDay(35));
    EXPECT_FALSE(may.holdsDay(36));
    EXPECT_EQ(may.dateAt(35), QDate(2026, 5, 31));
    // Years at the ends of the range lay out too.
    EXPECT_EQ(MonthLayout::of(100, 2).days, 28);
    EXPECT_EQ(MonthLayout::of(9999, 12).days, 31);
    EXPECT_EQ(MonthLayout::of(2026, 13).days, 0);
}

TEST(MonthGrid, TitleAndWeekdays)
{
    EXPECT_EQ(calendarTitle(2026, 12, QLocale::c()), QStringLiteral("Dec 2026"));
    QString initials;
    for (int c = 0; c < 7; ++c)
        initials += weekdayInitial(c);
    EXPECT_EQ(initials, QStringLiteral("SMTWTFS"));
}
