#include "calendar/core/dayinfo.h"

#include <gtest/gtest.h>
#include <optional>
#include <tuple>

using namespace velmora;

namespace {
constexpr qint32 kBlue = clsDayInfo::kSelectionBlue;
constexpr qint32 kWhite = clsDayInfo::kWhite;
constexpr qint32 kBlack = clsDayInfo::kBlack;
constexpr qint32 kRed = 0x0000FF;
constexpr qint32 kGreen = 0x00FF00;
using Kind = DayInfoColError::Kind;

template <class Action> std::optional<Kind> errorOf(Action action)
{
    try {
        action();
    } catch (const DayInfoColError &e) {
        return e.kind();
    }
    return std::nullopt;
}
} // namespace

TEST(DayInfoCol, KeyIgnoresTimeAndLocale)
{
    QLocale::setDefault(QLocale(QLocale::German));
    EXPECT_EQ(clsDayInfoCol::FormatKey(Moment(2027, 1, 1)), QStringLiteral("01 Jan 2027"));
    EXPECT_EQ(clsDayInfoCol::FormatKey(Moment(2026, 10, 5, 23, 59)), QStringLiteral("05 Oct 2026"));
    EXPECT_EQ(clsDayInfoCol::FormatKey(Moment(100, 9, 30)), QStringLiteral("30 Sep 0100"));
    QLocale::setDefault(QLocale::c());
}

TEST(DayInfoCol, BadKeysAreErrorsThatChangeNothing)
{
    clsDayInfoCol col;
    col.Add(Moment(2026, 12, 5, 8));
    EXPECT_EQ(errorOf([&] { col.Add(Moment(2026, 12, 5, 17, 30)); }), Kind::DuplicateKey);
    for (qsizetype position : {-1, 0, 2})
        EXPECT_EQ(errorOf([&] { col.Item(position); }), Kind::NotFound) << position;
    EXPECT_EQ(errorOf([&] { col.Item(QStringLiteral("06 Dec 2026")); }), Kind::NotFound);
    EXPECT_EQ(errorOf([&] { col.Remove(QStringLiteral("5 Dec 2026")); }), Kind::NotFound);
    EXPECT_EQ(errorOf([&] { col.Remove(2); }), Kind::NotFound);
    ASSERT_EQ(col.Count(), 1);
    EXPECT_EQ(col.Item(1)->DateTime(), Moment(2026, 12, 5, 8));
    EXPECT_TRUE(col.Exists(QStringLiteral("05 Dec 2026")));
    EXPECT_FALSE(col.Exists(2));

    col.Clear();
    EXPECT_EQ(col.Count(), 0);
    EXPECT_FALSE(col.Exists(QStringLiteral("05 Dec 2026")));
    EXPECT_EQ(errorOf([&] { col.Item(1); }), Kind::NotFound);
    col.Add(Moment(2026, 12, 5)); // the key is free again
    EXPECT_EQ(col.Count(), 1);
}

TEST(DayInfoCol, PositionsAndKeysAgreeAfterRemovals)
{
    clsDayInfoCol col;
    for (int day : {9, 3, 27, 1, 14})
        col.Add(Moment(2026, 4, day));
    col.Remove(QStringLiteral("27 Apr 2026"));
    col.Remove(1);
    col.Add(Moment(2026, 4, 27));
    std::vector<int> days;
    for (const auto &record : col)
        days.push_back(record->DateTime().date().day());
    EXPECT_EQ(days, (std::vector<int>{3, 1, 14, 27}));
    EXPECT_EQ(col.Item(2), col.Item(QStringLiteral("01 Apr 2026")));
    EXPECT_EQ(col.Item(4), col.Item(QStringLiteral("27 Apr 2026")));
    // Records are shared: a change through Item is the collection's.
    col.Item(2)->setBold(true);
    EXPECT_TRUE(col.Item(QStringLiteral("01 Apr 2026"))->Bold());
}

TEST(DayInfoCol, AddColoursSelectionWinsFillAndText)
{
    // clang-format off
    struct { bool selected; qint32 back, fore, rect, wantBack, wantFore, wantRect; } cases[] = {
        {false, 0,    0,      0,    kBlack, kBlack, kBlack},
        {false, kRed, kGreen, kBlue, kRed,  kGreen, kBlue},
        {true,  kRed, kGreen, kRed, kBlue,  kWhite, kRed},
        {true,  0,    0,      0,    kBlue,  kWhite, kBlack},
    };
    // clang-format on
    for (const auto &c : cases) {
        clsDayInfoCol col;
        const auto r = col.Add(Moment(2026, 6, 1), c.selected, c.back, c.fore, c.rect, true);
        EXPECT_EQ(r->Selected(), c.selected);
        EXPECT_EQ(r->BackColor(), c.wantBack);
        EXPECT_EQ(r->ForeColor(), c.wantFore);
        EXPECT_EQ(r->RectColor(), c.wantRect);
        EXPECT_TRUE(r->Bold());
    }
}

TEST(DayInfo, SelectedRecolours)
{
    clsDayInfo day;
    day.setForeColor(kGreen);
    day.setSelected(false);
    EXPECT_EQ(std::tuple(day.BackColor(), day.ForeColor(), day.RectColor()),
              std::tuple(kWhite, kBlack, kWhite));
}
