#include "calendar/core/dayinfo.h"

#include <functional>
#include <gtest/gtest.h>

using namespace velmora;

namespace {
constexpr qint32 kBlue = clsDayInfo::kSelectionBlue;
constexpr qint32 kWhite = clsDayInfo::kWhite;
constexpr qint32 kBlack = clsDayInfo::kBlack;
constexpr qint32 kRed = 0x0000FF;
constexpr qint32 kGreen = 0x00FF00;

DayInfoColError::Kind errorKind(const std::function<void()> &action)
{
    try {
        action();
    } catch (const DayInfoColError &e) {
        return e.kind();
    }
    ADD_FAILURE() << "no DayInfoColError";
    return DayInfoColError::Kind::DuplicateKey;
}
} // namespace

TEST(DayInfoCol, KeyIgnoresTimeAndUsesEnglishMonths)
{
    EXPECT_EQ(clsDayInfoCol::FormatKey(Moment(2027, 1, 1)), QStringLiteral("01 Jan 2027"));
    EXPECT_EQ(clsDayInfoCol::FormatKey(Moment(2026, 12, 5, 23, 59, 59)),
              QStringLiteral("05 Dec 2026"));
    EXPECT_EQ(clsDayInfoCol::FormatKey(Moment(100, 9, 30)), QStringLiteral("30 Sep 0100"));
    QLocale::setDefault(QLocale(QLocale::German));
    EXPECT_EQ(clsDayInfoCol::FormatKey(Moment(2026, 10, 3)), QStringLiteral("03 Oct 2026"));
    QLocale::setDefault(QLocale::c());
}

TEST(DayInfoCol, MissingAndDuplicateKeysAreErrorsThatChangeNothing)
{
    clsDayInfoCol col;
    col.Add(Moment(2026, 12, 5, 8, 0, 0));
    EXPECT_EQ(errorKind([&] { col.Add(Moment(2026, 12, 5, 17, 30, 0)); }),
              DayInfoColError::Kind::DuplicateKey);
    EXPECT_EQ(col.Count(), 1);
    EXPECT_EQ(col.Item(1)->DateTime(), Moment(2026, 12, 5, 8, 0, 0));

    EXPECT_EQ(errorKind([&] { col.Item(QStringLiteral("06 Dec 2026")); }),
              DayInfoColError::Kind::NotFound);
    EXPECT_EQ(errorKind([&] { col.Item(0); }), DayInfoColError::Kind::NotFound);
    EXPECT_EQ(errorKind([&] { col.Item(2); }), DayInfoColError::Kind::NotFound);
    EXPECT_EQ(errorKind([&] { col.Remove(QStringLiteral("5 Dec 2026")); }),
              DayInfoColError::Kind::NotFound);
    EXPECT_EQ(errorKind([&] { col.Remove(-1); }), DayInfoColError::Kind::NotFound);
    EXPECT_EQ(col.Count(), 1);

    EXPECT_TRUE(col.Exists(QStringLiteral("05 Dec 2026")));
    EXPECT_TRUE(col.Exists(1));
    EXPECT_FALSE(col.Exists(2));
    EXPECT_FALSE(col.Exists(QString()));

    col.Clear();
    EXPECT_EQ(col.Count(), 0);
    EXPECT_FALSE(col.Exists(QStringLiteral("05 Dec 2026")));
    EXPECT_FALSE(col.Exists(1));
    EXPECT_EQ(errorKind([&] { col.Item(1); }), DayInfoColError::Kind::NotFound);
    // The key is free again after Clear.
    col.Add(Moment(2026, 12, 5));
    EXPECT_EQ(col.Count(), 1);
}

TEST(DayInfoCol, KeepsInsertionOrderAcrossRemovals)
{
    clsDayInfoCol col;
    for (int day : {9, 3, 27, 1, 14})
        col.Add(Moment(2026, 4, day));
    col.Remove(QStringLiteral("27 Apr 2026"));
    col.Remove(1);
    std::vector<int> days;
    for (const auto &record : col)
        days.push_back(record->DateTime().date().day());
    EXPECT_EQ(days, (std::vector<int>{3, 1, 14}));
    // Positions and keys agree after the shift.
    EXPECT_EQ(col.Item(2), col.Item(QStringLiteral("01 Apr 2026")));
    EXPECT_EQ(col.Item(3)->DateTime().date().day(), 14);
    col.Add(Moment(2026, 4, 27));
    EXPECT_EQ(col.Item(4), col.Item(QStringLiteral("27 Apr 2026")));
}

TEST(DayInfoCol, RecordsAreShared)
{
    clsDayInfoCol col;
    col.Add(Moment(2026, 5, 1));
    col.Item(QStringLiteral("01 May 2026"))->setBold(true);
    EXPECT_TRUE(col.Item(1)->Bold());
    const clsDayInfoCol copy = col;
    copy.Item(1)->setSelected(true);
    EXPECT_TRUE(col.Item(1)->Selected());
}

struct AddCase
{
    const char *name;
    bool selected;
    qint32 back, fore, rect;
    qint32 wantBack, wantFore, wantRect;
};

class DayInfoAddColours : public testing::TestWithParam<AddCase>
{};

TEST_P(DayInfoAddColours, ExplicitColoursExceptSelectionFillAndText)
{
    const AddCase &c = GetParam();
    clsDayInfoCol col;
    const auto record = col.Add(Moment(2026, 6, 1), c.selected, c.back, c.fore, c.rect, true);
    EXPECT_EQ(record->Selected(), c.selected);
    EXPECT_EQ(record->BackColor(), c.wantBack);
    EXPECT_EQ(record->ForeColor(), c.wantFore);
    EXPECT_EQ(record->RectColor(), c.wantRect);
    EXPECT_TRUE(record->Bold());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DayInfoAddColours,
    testing::Values(AddCase{"defaults", false, 0, 0, 0, kBlack, kBlack, kBlack},
                    AddCase{"explicit", false, kRed, kGreen, kBlue, kRed, kGreen, kBlue},
                    AddCase{"selectedKeepsFrame", true, kRed, kGreen, kRed, kBlue, kWhite, kRed},
                    AddCase{"selectedDefaults", true, 0, 0, 0, kBlue, kWhite, kBlack}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(DayInfo, SelectedRecolours)
{
    clsDayInfo day;
    day.setBackColor(kRed);
    day.setForeColor(kGreen);
    day.setRectColor(kRed);
    day.setSelected(false);
    EXPECT_EQ(day.BackColor(), kWhite);
    EXPECT_EQ(day.ForeColor(), kBlack);
    EXPECT_EQ(day.RectColor(), kWhite);
    day.setSelected(true);
    EXPECT_EQ(day.BackColor(), kBlue);
    EXPECT_EQ(day.ForeColor(), kWhite);
    EXPECT_EQ(day.RectColor(), kBlue);
    // Colours set afterwards stick: only Selected recolours.
    day.setForeColor(kGreen);
    EXPECT_TRUE(day.Selected());
    EXPECT_EQ(day.ForeColor(), kGreen);
}
