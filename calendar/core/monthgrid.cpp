#include "calendar/core/monthgrid.h"

#include "core/numeric.h"

#include <cmath>

namespace velmora {

CalendarMetrics CalendarMetrics::forScreen(double twipsPerPixelX, double twipsPerPixelY)
{
    CalendarMetrics m;
    m.cellWidth = static_cast<int>(roundHalfEven(20 * twipsPerPixelX));
    m.cellHeight = static_cast<int>(roundHalfEven(15 * twipsPerPixelY));
    m.left = 150;
    m.top = m.cellHeight + 360;
    m.pixel = static_cast<int>(roundHalfEven(twipsPerPixelY));
    return m;
}

TwipBox cellBox(const CalendarMetrics &m, int cell)
{
    const int row = cell / CalendarMetrics::kColumns;
    const int column = cell - CalendarMetrics::kColumns * row;
    const int x = m.left + (m.cellWidth + CalendarMetrics::kCellGap) * column;
    const int y = m.top + (m.cellHeight + CalendarMetrics::kCellGap) * row;
    return {x, y, x + m.cellWidth, y + m.cellHeight};
}

TwipBox weekdayBox(const CalendarMetrics &m, int column)
{
    CalendarMetrics shifted = m;
    shifted.top = m.top - m.cellHeight - CalendarMetrics::kCellGap;
    return cellBox(shifted, column);
}

TwipBox weekdayRule(const CalendarMetrics &m)
{
    const int y = m.top - CalendarMetrics::kCellGap + m.pixel;
    return {m.left, y,
            m.left + CalendarMetrics::kColumns * (m.cellWidth + CalendarMetrics::kCellGap) -
                CalendarMetrics::kCellGap,
            y};
}

TwipBox titleBar(const CalendarMetrics &m, int surfaceWidth)
{
    return {0, 0, surfaceWidth, CalendarMetrics::kTitleHeight + m.pixel};
}

int hitTest(const CalendarMetrics &m, double x, double y)
{
    const double dx = x - m.left;
    const double dy = y - m.top;
    if (!(dx >= 0) || !(dy >= 0))
        return -1;
    // Far outside the surface: no row or column can match, and the cast below stays defined.
    if (dx > 1e9 || dy > 1e9)
        return -1;
    const auto row =
        static_cast<qint64>(roundHalfEven(dy)) / (m.cellHeight + CalendarMetrics::kCellGap);
    if (row >= CalendarMetrics::kRows)
        return -1;
    const auto column =
        static_cast<qint64>(roundHalfEven(dx)) / (m.cellWidth + CalendarMetrics::kCellGap);
    if (column >= CalendarMetrics::kColumns)
        return -1;
    return static_cast<int>(CalendarMetrics::kColumns * row + column);
}

MonthLayout MonthLayout::of(int year, int month)
{
    MonthLayout layout;
    layout.first = QDate(year, month, 1);
    if (!layout.first.isValid())
        return layout;
    layout.days = layout.first.daysInMonth();
    layout.lead = layout.first.dayOfWeek() % 7;
    return layout;
}

std::array<CellPaint, CalendarMetrics::kCells> monthCells(const clsDayInfoCol &monthData,
                                                          const MonthLayout &layout)
{
    std::array<CellPaint, CalendarMetrics::kCells> cells{};
    for (const auto &record : monthData) {
        const QDate date = record->DateTime().date();
        if (!date.isValid())
            continue;
        const int cell = date.day() + layout.lead - 1;
        if (cell < 0 || cell >= CalendarMetrics::kCells)
            continue;
        cells[static_cast<size_t>(cell)] = {QString::number(date.day()), record->ForeColor(),
                                            record->BackColor(),         record->Bold(),
                                            record->RectColor(),         record->Selected()};
    }
    return cells;
}

QString weekdayInitial(int column)
{
    static const QString kInitials = QStringLiteral("SMTWTFS");
    if (column < 0 || column >= kInitials.size())
        return QString();
    return kInitials.at(column);
}

QString calendarTitle(int year, int month, const QLocale &locale)
{
    return locale.monthName(month, QLocale::ShortFormat) + u' ' + QString::number(year);
}

} // namespace velmora
