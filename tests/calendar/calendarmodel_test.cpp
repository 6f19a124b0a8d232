#include "calendar/core/calendarmodel.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {
// Day numbers of the selection, in selection order.
std::vector<int> selectedDays(const CalendarModel &model)
{
    std::vector<int> days;
    for (const auto &record : model.SelectedDays())
        days.push_back(record->DateTime().date().day());
    return days;
}

std::vector<int> markedDays(const CalendarModel &model)
{
    std::vector<int> days;
    for (const auto &record : model.MonthDataCol())
        if (record->Selected())
            days.push_back(record->DateTime().date().day());
    return days;
}

// A model showing March 2026 (1 March is a Sunday, so a day's cell is day - 1).
CalendarModel march()
{
    return CalendarModel(QDate(2026, 3, 10));
}
int cellOf(int day)
{
    return day - 1;
}
} // namespace

TEST(CalendarModel, RebuildsRecordsWhenTheMonthChanges)
{
    CalendarModel model = march();
    EXPECT_EQ(model.MonthDataCol().Count(), 31);
    model.SelectDay(Moment(2026, 3, 4, 12, 0, 0));
    model.setShownMonth(2);
    EXPECT_EQ(model.MonthDataCol().Count(), 28);
    EXPECT_EQ(model.SelectedDays().Count(), 0);
    model.setShownYear(2024);
    EXPECT_EQ(model.MonthDataCol().Count(), 29);
    // Values outside the calendar are refused rather than breaking the month.
    model.setShownMonth(0);
    model.setShownYear(99);
    EXPECT_EQ(model.ShownMonth(), 2);
    EXPECT_EQ(model.ShownYear(), 2024);
}

TEST(CalendarModel, SelectDayIgnoresOtherMonthsAndAddsOnce)
{
    CalendarModel model = march();
    model.SelectDay(Moment(2026, 4, 4));
    model.SelectDay(Moment(2025, 3, 4));
    EXPECT_EQ(model.SelectedDays().Count(), 0);
    model.SelectDay(Moment(2026, 3, 4, 9, 30, 0));
    model.SelectDay(Moment(2026, 3, 4, 18, 0, 0));
    EXPECT_EQ(selectedDays(model), std::vector<int>{4});
    // The selection keeps the time it was made with; the month record is recoloured.
    EXPECT_EQ(model.SelectedDays().Item(1)->DateTime(), Moment(2026, 3, 4, 9, 30, 0));
    EXPECT_EQ(markedDays(model), std::vector<int>{4});
    model.UnSelectDay(Moment(2026, 3, 4));
    model.UnSelectDay(Moment(2026, 3, 5));
    model.UnSelectDay(Moment(2026, 7, 4));
    EXPECT_TRUE(selectedDays(model).empty());
    EXPECT_TRUE(markedDays(model).empty());
}

TEST(CalendarModel, EmptyCellsAndOutsideClicksChangeNothing)
{
    CalendarModel model(QDate(2026, 5, 1)); // lead 5, 31 days
    model.SelectDay(Moment(2026, 5, 20));
    for (int cell : {-1, 0, 4, 36, 41, 42}) {
        EXPECT_FALSE(model.click(cell, false, false)) << cell;
        EXPECT_EQ(selectedDays(model), std::vector<int>{20});
    }
    EXPECT_TRUE(model.lastClicked().isNull());
    const auto clicked = model.click(5, false, false);
    ASSERT_TRUE(clicked);
    EXPECT_EQ(*clicked, Moment(2026, 5, 1));
}

struct ClickStep
{
    int day;
    bool shift;
    bool ctrl;
};

struct SelectionCase
{
    const char *name;
    bool multiSelect;
    std::vector<ClickStep> clicks;
    std::vector<int> selected;
};

class CalendarSelection : public testing::TestWithParam<SelectionCase>
{};

TEST_P(CalendarSelection, ClicksGiveSelection)
{
    const SelectionCase &c = GetParam();
    CalendarModel model = march();
    model.setMultiSelect(c.multiSelect);
    for (const ClickStep &step : c.clicks) {
        const auto clicked = model.click(cellOf(step.day), step.shift, step.ctrl);
        ASSERT_TRUE(clicked);
        EXPECT_EQ(clicked->date().day(), step.day);
        EXPECT_EQ(model.lastClicked(), *clicked);
    }
    EXPECT_EQ(selectedDays(model), c.selected);
    std::vector<int> sorted = c.selected;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(markedDays(model), sorted);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CalendarSelection,
    testing::Values(
        SelectionCase{"plainReplaces", true, {{3, false, false}, {9, false, false}}, {9}},
        SelectionCase{"shiftForwards", true, {{3, false, false}, {6, true, false}}, {3, 4, 5, 6}},
        SelectionCase{"shiftBackwards", true, {{9, false, false}, {6, true, false}}, {9, 8, 7, 6}},
        SelectionCase{"shiftAnchorsOnLastClick",
                      true,
                      {{10, false, false}, {14, true, false}, {12, true, false}},
                      {14, 13, 12}},
        SelectionCase{"shorterShiftRangeReplaces",
                      true,
                      {{1, false, false}, {20, true, false}, {21, false, false}, {22, true, false}},
                      {21, 22}},
        SelectionCase{"shiftOnEmptySelectionAdds",
                      true,
                      {{5, false, false}, {5, false, true}, {8, true, false}},
                      {8}},
        SelectionCase{"ctrlAdds", true, {{5, false, false}, {8, false, true}}, {5, 8}},
        SelectionCase{"ctrlRemovesOnlyDay", true, {{5, false, false}, {5, false, true}}, {}},
        SelectionCase{"ctrlShiftChangesNothing", true, {{5, false, false}, {8, true, true}}, {5}},
        SelectionCase{
            "withoutMultiSelectShiftIsPlain", false, {{3, false, false}, {6, true, false}}, {6}},
        SelectionCase{
            "withoutMultiSelectCtrlIsPlain", false, {{3, false, false}, {3, false, true}}, {3}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(CalendarModel, FirstShiftClickOnOwnersSelectionSelectsOnlyTheClickedDay)
{
    CalendarModel model = march();
    model.SelectDay(Moment(2026, 3, 10, 14, 0, 0)); // as the owner does for the current moment
    ASSERT_TRUE(model.click(cellOf(20), true, false));
    EXPECT_EQ(selectedDays(model), std::vector<int>{20});
}

TEST(CalendarModel, FarAnchorSelectsFromTheMonthEdge)
{
    // The anchor lies in another month (even centuries away): only the days of the shown month
    // between it and the clicked day are selected, in order, without walking the whole range.
    CalendarModel model(QDate(1900, 1, 15));
    ASSERT_TRUE(model.click(MonthLayout::of(1900, 1).lead + 14, false, false));
    model.setShownYear(2026);
    model.setShownMonth(3);
    model.SelectDay(Moment(2026, 3, 1));
    ASSERT_TRUE(model.click(cellOf(4), true, false));
    EXPECT_EQ(selectedDays(model), (std::vector<int>{1, 2, 3, 4}));

    // An anchor later than the shown month walks down from the month's last day.
    CalendarModel later(QDate(9999, 12, 1));
    ASSERT_TRUE(later.click(MonthLayout::of(9999, 12).lead, false, false));
    later.setShownYear(100);
    later.setShownMonth(2);
    later.SelectDay(Moment(100, 2, 1));
    ASSERT_TRUE(later.click(later.layout().lead + 25, true, false));
    EXPECT_EQ(selectedDays(later), (std::vector<int>{28, 27, 26}));
}
