#pragma once

#include "calendar/core/dayinfo.h"
#include "calendar/core/monthgrid.h"

#include <optional>

namespace velmora {

/// The state of the month calendar without its drawing: the shown month, one record per day of
/// it, the selected days and what a click on a cell does to them.
class CalendarModel
{
public:
    /// Longest Shift range, in days, the selection walks.
    static constexpr qint64 kMaxRangeDays = 32767;

    /// Shows the month of `today`.
    explicit CalendarModel(const QDate &today);
    virtual ~CalendarModel() = default;
    CalendarModel(const CalendarModel &) = default;
    CalendarModel &operator=(const CalendarModel &) = default;

    int ShownMonth() const { return m_iShownMonth; }
    /// Stores the month (1..12; other values are ignored) and rebuilds the day records. No redraw.
    void setShownMonth(int iNewValue);
    int ShownYear() const { return m_iShownYear; }
    /// Stores the year (100..9999; other values are ignored) and rebuilds the day records.
    void setShownYear(int iNewValue);

    bool MultiSelect() const { return m_bMultiSelect; }
    void setMultiSelect(bool bNewValue) { m_bMultiSelect = bNewValue; }

    const clsDayInfoCol &MonthDataCol() const { return m_oMonthDataCol; }
    void setMonthDataCol(const clsDayInfoCol &vNewValue) { m_oMonthDataCol = vNewValue; }
    const clsDayInfoCol &SelectedDays() const { return m_oSelectedDays; }
    void setSelectedDays(const clsDayInfoCol &oNewValue) { m_oSelectedDays = oNewValue; }

    /// One unselected white record per day of the shown month; the selection is emptied.
    void RefreshMonthData();
    /// Marks a day of the shown month selected and adds it to SelectedDays once; days of
    /// other months are ignored.
    void SelectDay(const Moment &dtDate);
    /// Clears a day's selection and removes it from SelectedDays; days of other months are
    /// ignored.
    void UnSelectDay(const Moment &dtDate);

    static QString FormatKey(const Moment &dtDate) { return clsDayInfoCol::FormatKey(dtDate); }

    MonthLayout layout() const { return MonthLayout::of(m_iShownYear, m_iShownMonth); }

    /// Applies a left click on a grid cell. Plain click: only that day is selected. Shift: the
    /// days from the previous click's day to this one (just this one when nothing was clicked
    /// before). Ctrl: the day is toggled. Shift with Ctrl: no change. Without MultiSelect every
    /// click is plain. Returns the clicked day, or nothing for a cell that holds no day (and
    /// then nothing changes).
    std::optional<Moment> click(int cell, bool shift, bool ctrl);

    /// The day of the last accepted click; null before the first.
    Moment lastClicked() const { return m_dtLastClicked; }

private:
    void selectRange(const Moment &anchor, const Moment &clicked);

    Moment m_dtLastClicked;
    int m_iShownMonth = 1;
    int m_iShownYear = 2000;
    bool m_bMultiSelect = true;
    clsDayInfoCol m_oSelectedDays;
    clsDayInfoCol m_oMonthDataCol;
};

} // namespace velmora
