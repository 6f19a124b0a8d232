#pragma once

#include "core/moment.h"
#include "sky/core/navigation.h"
#include "sky/core/zonetime.h"
#include "toolkit/controls.h"

#include <QDateTime>
#include <QObject>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <functional>
#include <optional>

class QComboBox;
class QLineEdit;
class QTimer;
class QWidget;

namespace velmora {

class AstroModule;
class PlanetChart;
class clsCalendar;

/// The moment of "The Seven Planets" and every way of changing it: typed date and time, the
/// place boxes, calendar clicks, single and continuous jumps and "Now". Every change ends in
/// UpdateCalendar, which brings the calendar and the boxes up to date, computes the sky and
/// redraws the chart.
class Navigation : public QObject
{
    Q_OBJECT

public:
    /// The present local date and time; tests pass a fixed clock.
    using Clock = std::function<QDateTime()>;

    /// Finds the page's controls below formRoot by name (txtTheDate, txtTheTime,
    /// txtLatLong(0..2), cmdJump(0..4), optTJ(0..5), cmbJump, cmdNow and the timer Timer2) and
    /// connects their handlers, the timer's ticks and the calendar's DateClicked. A missing
    /// control throws std::logic_error. The calendar, astro module and chart must outlive this.
    Navigation(QWidget *formRoot, clsCalendar &calendar, AstroModule &astro, PlanetChart &chart,
               Clock now = {}, QObject *parent = nullptr);
    ~Navigation() override;
    Q_DISABLE_COPY_MOVE(Navigation)

    /// Moves the moment by PlusMin units of the chosen jump unit (0 recomputes only), shows it
    /// in the calendar and the boxes, reads the place boxes, computes the sky and redraws the
    /// chart. A jump out of the years 100..9999, or a place number too large to hold, resets
    /// the moment to 1 January 100 (from before the year 1000) or 1 January 3000 and shows it
    /// in the calendar and boxes only: the chart keeps the previous sky.
    void UpdateCalendar(const qint16 &PlusMin);
    /// Writes the moment into the date and time boxes.
    void ShowDate();

    void cmdJump_Click(int Index);
    void Timer2_Timer();
    void cmdNow_Click();
    void m_oCalendar_DateClicked(qint16 Button, const velmora::Moment &dtDateClicked, qint16 iPos);
    /// Key handlers: Enter (13) is consumed (set to 0) and acted on; other keys pass.
    void txtTheDate_KeyPress(int &KeyAscii);
    void txtTheTime_KeyPress(int &KeyAscii);
    void txtLatLong_KeyPress(int Index, int &KeyAscii);

    /// The page's moment. Setting it changes nothing else: call UpdateCalendar(0) to show it.
    const Moment &TheDate() const { return m_theDate; }
    void setTheDate(const Moment &moment) { m_theDate = moment; }
    /// Units per tick of the continuous jump, fixed when it starts.
    qint16 JumpStep() const { return m_jumpStep; }
    /// The unit the option buttons choose now.
    JumpUnit jumpUnit() const;
    /// True when the last UpdateCalendar ended in the reset instead of a new sky.
    bool lastUpdateRecovered() const { return m_lastRecovered; }

    /// Follows a city from now on: its coordinates go into the Latitude and Longitude boxes,
    /// and on every change of the moment the Time Zone box is first set from the city's zone
    /// for that local date and time. Computes the sky for it at once.
    void pickCity(const CityPlace &city);
    /// Follows a city whose coordinates the Latitude and Longitude boxes already hold (the
    /// start-up restores the last one so); false, and nothing followed, when they hold others.
    bool keepCity(const CityPlace &city);
    /// Stops following the city: the place boxes are read as typed again.
    void dropCity();
    /// The city followed, if any.
    const std::optional<CityPlace> &city() const { return m_city; }

Q_SIGNALS:
    /// Enter in the Latitude or Longitude box holding a name instead of a number: the box is
    /// back to its number, and the name is for the finder to look up.
    void placeNameEntered(const QString &text);
    /// A city was picked, restored or dropped.
    void cityChanged();
    /// What the status bar should say about the place and its time zone.
    void placeReport(const QString &text);

private:
    void showOnCalendar();
    // The place boxes into the sky: read, clamped and rewritten in their normal form.
    void readPlace();
    bool boxesHoldCity(const CityPlace &city) const;
    void followCity();
    void report(const QString &text);

    clsCalendar &m_calendar;
    AstroModule &m_astro;
    PlanetChart &m_chart;
    Clock m_now;
    QLineEdit *m_txtTheDate;
    QLineEdit *m_txtTheTime;
    ControlArray<QLineEdit> m_txtLatLong;
    ControlArray<QPushButton> m_cmdJump;
    ControlArray<QRadioButton> m_optTJ;
    QComboBox *m_cmbJump;
    QPushButton *m_cmdNow;
    QTimer *m_timer2;
    // Zero in the platform's date serial (30 December 1899) until start-up goes to now.
    Moment m_theDate = Moment::fromSerialDays(0);
    qint16 m_jumpStep = 0;
    bool m_lastRecovered = false;
    std::optional<CityPlace> m_city;
    // The place boxes' texts as last read, for a box whose typed name went to the finder.
    std::array<QString, 2> m_placeText;
    QString m_lastReport;
};

} // namespace velmora
