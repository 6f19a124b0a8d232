#include "calendar/core/calendarmodel.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {
using Days = std::vector<int>;

// Selected days in selection order; checks that the month records agree with them.
Days selection(const CalendarModel &model)
{
    Days selected;
    Days marked;
    for (const auto &record : model.SelectedDays())
        selected.push_back(record->DateTime().date().day());
    for (const auto &record : model.MonthDataCol())
        if (record->Selected())
            marked.push_back(record->DateTime().date().day());
    Days sorted = selected;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(marked, sorted);
    return selected;
}

// March 2026 starts on a Sunday: day d is in cell d - 1.
CalendarModel march()
{
    return CalendarModel(QDate(2026, 3, 10));
}
} // namespace

TEST(CalendarModel, MonthChangesRebuildAndClearSelectionStaysInTheMonth)
{
    CalendarModel model = march();
    model.SelectDay(Moment(2026, 3, 4, 12));
    model.setShownMonth(2);
    EXPECT_EQ(model.MonthDataCol().Count(), 28);
    EXPECT_EQ(model.SelectedDays().Count(), 0);
    model.setShownYear(2024);
    EXPECT_EQ(model.MonthDataCol().Count(), 29);
    model.setShownMonth(13); // refused rather than breaking the month
    model.setShownYear(99);
    EXPECT_EQ(std::pair(model.ShownMonth(), model.ShownYear()), std::pair(2, 2024));
    // A "today" outside the years the calendar shows is not shown either.
    EXPECT_NE(CalendarModel(QDate(50, 1, 1)).ShownYear(), 50);

    // A day is selected only in the shown month, and once.
    model = march();
    model.SelectDay(Moment(2026, 4, 4));
    model.SelectDay(Moment(2025, 3, 4));
    model.SelectDay(Moment(2026, 3, 4, 9, 30));
    model.SelectDay(Moment(2026, 3, 4, 18));
    EXPECT_EQ(selection(model), Days{4});
    EXPECT_EQ(model.SelectedDays().Item(1)->DateTime(), Moment(2026, 3, 4, 9, 30));
    model.UnSelectDay(Moment(2026, 3, 4));
    EXPECT_EQ(selection(model), Days{});
}

TEST(CalendarModel, ClickSelectionAndShiftRangeAnchors)
{
    struct Click
    {
        int day;
        bool shift, ctrl;
    };
    // clang-format off
    struct { const char *name; bool multi; std::vector<Click> clicks; Days selected; } cases[] = {
        {"plain replaces", true, {{3, 0, 0}, {9, 0, 0}}, {9}},
        {"shift forwards", true, {{3, 0, 0}, {6, 1, 0}}, {3, 4, 5, 6}},
        {"shift anchors on last click", true, {{10, 0, 0}, {14, 1, 0}, {12, 1, 0}}, {14, 13, 12}},
        {"ctrl removes only day", true, {{5, 0, 0}, {5, 0, 1}}, {}},
        {"ctrl and shift", true, {{5, 0, 0}, {8, 1, 1}}, {5}},
        {"single select shift", false, {{3, 0, 0}, {6, 1, 0}}, {6}},
    };
    // clang-format on
    for (const auto &c : cases) {
        CalendarModel model = march();
        model.setMultiSelect(c.multi);
        for (const Click &k : c.clicks) {
            const auto clicked = model.click(k.day - 1, k.shift, k.ctrl);
            EXPECT_EQ(clicked, Moment(2026, 3, k.day)) << c.name;
            EXPECT_EQ(model.lastClicked(), Moment(2026, 3, k.day)) << c.name;
        }
        EXPECT_EQ(selection(model), c.selected) << c.name;
    }

    // Before any click the owner's selection meets no anchor: only the clicked day is selected.
    CalendarModel model = march();
    model.SelectDay(Moment(2026, 3, 10, 14));
    model.click(19, true, false);
    EXPECT_EQ(selection(model), Days{20});

    // An anchor centuries before the shown month selects from the month's first day.
    CalendarModel early(QDate(1900, 1, 1));
    early.click(MonthLayout::of(1900, 1).lead + 14, false, false);
    early.setShownYear(2026);
    early.setShownMonth(3);
    early.SelectDay(Moment(2026, 3, 1));
    early.click(3, true, false);
    EXPECT_EQ(selection(early), (Days{1, 2, 3, 4}));
}
