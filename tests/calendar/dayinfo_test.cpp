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

TEST(DayInfoCol, BadKeysAreErrorsThatChangeNothing)
{
    clsDayInfoCol col;
    col.Add(Moment(2026, 12, 5, 8));
    EXPECT_EQ(errorOf([&] { col.Add(Moment(2026, 12, 5, 17, 30)); }), Kind::DuplicateKey);
    for (qsizetype position : {0, 2})
        EXPECT_EQ(errorOf([&] { col.Item(position); }), Kind::NotFound) << position;
    EXPECT_EQ(errorOf([&] { col.Remove(QStringLiteral("5 Dec 2026")); }), Kind::NotFound);
    ASSERT_EQ(col.Count(), 1);
    EXPECT_EQ(col.Item(1)->DateTime(), Moment(2026, 12, 5, 8));

    col.Clear();
    EXPECT_FALSE(col.Exists(QStringLiteral("05 Dec 2026")));
    col.Add(Moment(2026, 12, 5)); // the key is free again
    EXPECT_EQ(col.Count(), 1);
}

TEST(DayInfoCol, PositionsAndKeysAgreeAfterRemovalsSelectionWinsColours)
{
    // Keys ignore the time of day and the locale.
    QLocale::setDefault(QLocale(QLocale::German));
    EXPECT_EQ(clsDayInfoCol::FormatKey(Moment(100, 9, 30, 23, 59)), QStringLiteral("30 Sep 0100"));
    QLocale::setDefault(QLocale::c());
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
    EXPECT_EQ(col.Item(4), col.Item(QStringLiteral("27 Apr 2026")));
    // Records are shared: a change through Item is the collection's.
    col.Item(2)->setBold(true);
    EXPECT_TRUE(col.Item(QStringLiteral("01 Apr 2026"))->Bold());

    // The selection wins over the fill and the text colour.
    clsDayInfoCol colours;
    const auto r = colours.Add(Moment(2026, 6, 1), true, kRed, kGreen, kRed, true);
    EXPECT_EQ(std::tuple(r->BackColor(), r->ForeColor(), r->RectColor()),
              std::tuple(kBlue, kWhite, kRed));
    r->setSelected(false);
    EXPECT_EQ(std::tuple(r->BackColor(), r->ForeColor(), r->RectColor()),
              std::tuple(kWhite, kBlack, kWhite));
    r->setSelected(true);
    EXPECT_EQ(std::tuple(r->BackColor(), r->ForeColor(), r->RectColor()),
              std::tuple(kBlue, kWhite, kBlue));
}
