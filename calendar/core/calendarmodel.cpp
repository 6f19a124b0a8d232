#include "calendar/core/calendarmodel.h"

#include <algorithm>

namespace velmora {

CalendarModel::CalendarModel(const QDate &today)
{
    if (today.isValid() && today.year() >= Moment::kFirstYear &&
        today.year() <= Moment::kLastYear) {
        m_iShownMonth = today.month();
        m_iShownYear = today.year();
    }
    RefreshMonthData();
}

void CalendarModel::setShownMonth(int iNewValue)
{
    if (iNewValue < 1 || iNewValue > 12)
        return;
    m_iShownMonth = iNewValue;
    RefreshMonthData();
}

void CalendarModel::setShownYear(int iNewValue)
{
    if (iNewValue < Moment::kFirstYear || iNewValue > Moment::kLastYear)
        return;
    m_iShownYear = iNewValue;
    RefreshMonthData();
}

void CalendarModel::RefreshMonthData()
{
    m_oMonthDataCol.Clear();
    m_oSelectedDays.Clear();
    const MonthLayout month = layout();
    for (int k = 0; k < month.days; ++k)
        m_oMonthDataCol.Add(Moment(month.first.addDays(k), QTime(0, 0)), false, clsDayInfo::kWhite,
                            clsDayInfo::kBlack, clsDayInfo::kWhite, false);
}

void CalendarModel::SelectDay(const Moment &dtDate)
{
    const QDate date = dtDate.date();
    if (!date.isValid() || date.month() != m_iShownMonth || date.year() != m_iShownYear)
        return;
    const QString key = FormatKey(dtDate);
    // The month data may have been replaced by the owner; a missing record is not an error here.
    if (m_oMonthDataCol.Exists(key))
        m_oMonthDataCol.Item(key)->setSelected(true);
    if (!m_oSelectedDays.Exists(key))
        m_oSelectedDays.Add(dtDate, false, clsDayInfo::kWhite, clsDayInfo::kBlack,
                            clsDayInfo::kWhite, false);
}

void CalendarModel::UnSelectDay(const Moment &dtDate)
{
    const QDate date = dtDate.date();
    if (!date.isValid() || date.month() != m_iShownMonth || date.year() != m_iShownYear)
        return;
    const QString key = FormatKey(dtDate);
    if (m_oMonthDataCol.Exists(key))
        m_oMonthDataCol.Item(key)->setSelected(false);
    if (m_oSelectedDays.Exists(key))
        m_oSelectedDays.Remove(key);
}

void CalendarModel::selectRange(const Moment &anchor, const Moment &clicked)
{
    const qint64 span = clicked.julianDay() - anchor.julianDay();
    const qint64 step = span >= 0 ? 1 : -1;
    qint64 from = anchor.julianDay();
    if (span > kMaxRangeDays || span < -kMaxRangeDays)
        from = clicked.julianDay() - step * kMaxRangeDays;
    // Only days of the shown month can be selected, so the walk starts at the month's edge
    // when the anchor lies before (or after) it; the order of selection is unchanged.
    const MonthLayout month = layout();
    const qint64 monthFirst = month.first.toJulianDay();
    const qint64 monthLast = monthFirst + month.days - 1;
    if (step > 0)
        from = std::max(from, monthFirst);
    else
        from = std::min(from, monthLast);
    const Moment start = clicked.addDays(from - clicked.julianDay());
    for (qint64 k = 0;; ++k) {
        const Moment day = start.addDays(step * k);
        SelectDay(day);
        if (day.julianDay() == clicked.julianDay())
            break;
    }
}

std::optional<Moment> CalendarModel::click(int cell, bool shift, bool ctrl)
{
    const MonthLayout month = layout();
    if (!month.holdsDay(cell))
        return std::nullopt;
    const Moment clicked(month.dateAt(cell), QTime(0, 0));
    if (!m_bMultiSelect || (!shift && !ctrl)) {
        RefreshMonthData();
        SelectDay(clicked);
    } else if (shift && !ctrl) {
        if (m_oSelectedDays.Count() == 0) {
            SelectDay(clicked);
        } else {
            // Before any click there is no anchor: the range is the clicked day alone.
            const Moment anchor = m_dtLastClicked.isNull() ? clicked : m_dtLastClicked;
            RefreshMonthData();
            selectRange(anchor, clicked);
        }
    } else if (ctrl && !shift) {
        if (m_oSelectedDays.Exists(FormatKey(clicked)))
            UnSelectDay(clicked);
        else
            SelectDay(clicked);
    }
    m_dtLastClicked = clicked;
    return clicked;
}

} // namespace velmora
