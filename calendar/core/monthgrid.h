#pragma once

#include "calendar/core/dayinfo.h"

#include <QDate>
#include <QLocale>
#include <QString>

#include <array>

namespace velmora {

/// Sizes of the month grid in twips. Cells are 20 by 15 pixels of the screen; neighbouring
/// cells are kCellGap apart; the grid starts below the title bar and the weekday row.
struct CalendarMetrics
{
    static constexpr int kCellGap = 60;
    static constexpr int kTitleHeight = 240;
    static constexpr int kColumns = 7;
    static constexpr int kRows = 6;
    static constexpr int kCells = kColumns * kRows;

    int cellWidth = 300;
    int cellHeight = 225;
    int left = 150;
    int top = 585;
    /// One screen pixel (vertical) in twips.
    int pixel = 15;

    /// Metrics for a screen with the given twips per pixel.
    static CalendarMetrics forScreen(double twipsPerPixelX, double twipsPerPixelY);
};

/// A box in twips from (x1, y1) to (x2, y2).
struct TwipBox
{
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    bool operator==(const TwipBox &) const = default;
};

/// The box of grid cell 0..41 (row cell / 7, column cell % 7, Sunday first).
TwipBox cellBox(const CalendarMetrics &m, int cell);
/// The box of weekday initial 0..6: a grid row one row pitch above row 0.
TwipBox weekdayBox(const CalendarMetrics &m, int column);
/// The rule under the weekday row (a horizontal line: y1 == y2).
TwipBox weekdayRule(const CalendarMetrics &m);
/// The filled title bar across a surface of the given width.
TwipBox titleBar(const CalendarMetrics &m, int surfaceWidth);

/// The grid cell under a point in twips, or -1 outside the grid. A point in the gap between
/// two cells belongs to the cell left of or above it.
int hitTest(const CalendarMetrics &m, double x, double y);

/// Where a month falls in the grid.
struct MonthLayout
{
    QDate first;
    int days = 0;
    /// Empty cells before day 1: the weekday of day 1 counted from Sunday = 0.
    int lead = 0;

    static MonthLayout of(int year, int month);
    /// True for cells that hold a day of the month.
    bool holdsDay(int cell) const { return cell >= lead && cell < lead + days; }
    /// The day of the month in a cell that holds one.
    QDate dateAt(int cell) const { return first.addDays(cell - lead); }
};

/// What one cell shows. `selected` travels with the cell but does not change the painting.
struct CellPaint
{
    QString text;
    qint32 foreColor = clsDayInfo::kBlack;
    qint32 backColor = clsDayInfo::kWhite;
    bool bold = false;
    qint32 rectColor = clsDayInfo::kWhite;
    bool selected = false;
    friend bool operator==(const CellPaint &, const CellPaint &) = default;
};

/// The 42 cells of a month: empty white cells around the days, each day painted as its record
/// in monthData says. Records whose cell would fall outside the grid are skipped.
std::array<CellPaint, CalendarMetrics::kCells> monthCells(const clsDayInfoCol &monthData,
                                                          const MonthLayout &layout);

/// The initials of the weekday row, Sunday first.
QString weekdayInitial(int column);

/// The title: abbreviated month name in the given locale, a blank and the year ("Dec 2026").
QString calendarTitle(int year, int month, const QLocale &locale = QLocale());

} // namespace velmora
