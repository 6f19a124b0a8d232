#include "sky/view/navigation.h"

#include "calendar/view/monthcalendar.h"
#include "sky/core/astromodule.h"
#include "sky/core/chartlayout.h"
#include "sky/view/planetchart.h"
#include "toolkit/keypress.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <array>
#include <cmath>

namespace velmora {

namespace {
constexpr int kEnter = 13;
constexpr int kTimer2Interval = 1000;
} // namespace

Navigation::Navigation(QWidget *formRoot, clsCalendar &calendar, AstroModule &astro,
                       PlanetChart &chart, Clock now, QObject *parent)
    : QObject(parent)
    , m_calendar(calendar)
    , m_astro(astro)
    , m_chart(chart)
    , m_now(now ? std::move(now) : Clock([] { return QDateTime::currentDateTime(); }))
    , m_txtTheDate(control<QLineEdit>(formRoot, QStringLiteral("txtTheDate")))
    , m_txtTheTime(control<QLineEdit>(formRoot, QStringLiteral("txtTheTime")))
    , m_txtLatLong(formRoot, QStringLiteral("txtLatLong"))
    , m_cmdJump(formRoot, QStringLiteral("cmdJump"))
    , m_optTJ(formRoot, QStringLiteral("optTJ"))
    , m_cmbJump(control<QComboBox>(formRoot, QStringLiteral("cmbJump")))
    , m_cmdNow(control<QPushButton>(formRoot, QStringLiteral("cmdNow")))
    , m_timer2(control<QTimer>(formRoot, QStringLiteral("Timer2")))
{
    // Every member the handlers use must exist: a gap throws here, at start-up.
    for (int i = 0; i <= 2; ++i)
        static_cast<void>(m_txtLatLong[i]);
    for (int i = 0; i <= 4; ++i)
        static_cast<void>(m_cmdJump[i]);
    // Idle continuous jump: the timer off and only the "Auto" buttons usable.
    m_timer2->stop();
    m_timer2->setInterval(kTimer2Interval);
    m_cmdJump[4]->setEnabled(false);

    m_cmdJump.onClicked(this, [this](int index) { cmdJump_Click(index); });
    connect(m_timer2, &QTimer::timeout, this, &Navigation::Timer2_Timer);
    connect(m_cmdNow, &QPushButton::clicked, this, &Navigation::cmdNow_Click);
    connect(&m_calendar, &clsCalendar::DateClicked, this, &Navigation::m_oCalendar_DateClicked);
    onEnterKey(m_txtTheDate, [this] {
        int key = kEnter;
        txtTheDate_KeyPress(key);
    });
    onEnterKey(m_txtTheTime, [this] {
        int key = kEnter;
        txtTheTime_KeyPress(key);
    });
    onEnterKey(m_txtLatLong, [this](int index) {
        int key = kEnter;
        txtLatLong_KeyPress(index, key);
    });
    for (int i = 0; i <= 1; ++i)
        m_placeText[size_t(i)] = m_txtLatLong[i]->text();
    // A time zone typed by hand wins over the followed city's.
    connect(m_txtLatLong[2], &QLineEdit::textEdited, this, [this] {
        if (m_city)
            dropCity();
    });
}

Navigation::~Navigation() = default;

JumpUnit Navigation::jumpUnit() const
{
    std::array<bool, 6> checked{};
    for (const auto &[index, option] : m_optTJ)
        if (index >= 0 && index < 6)
            checked[static_cast<size_t>(index)] = option->isChecked();
    return jumpUnitFromOptions(checked);
}

void Navigation::showOnCalendar()
{
    m_calendar.setShownYear(m_theDate.year());
    m_calendar.setShownMonth(m_theDate.date().month());
    m_calendar.SelectDay(m_theDate);
    m_calendar.RefreshCalendar();
}

void Navigation::readPlace()
{
    const PlaceEntry latitude = readLatitude(m_txtLatLong[0]->text());
    // Rewritten only when the reading changed it, so the box keeps the part the user sees.
    if (m_txtLatLong[0]->text() != latitude.text)
        m_txtLatLong[0]->setText(latitude.text);
    m_placeText[0] = latitude.text;
    m_astro.setLatitude(latitude.value);

    const PlaceEntry longitude = readLongitude(m_txtLatLong[1]->text());
    if (m_txtLatLong[1]->text() != longitude.text)
        m_txtLatLong[1]->setText(longitude.text);
    m_placeText[1] = longitude.text;
    // The box shows west positive; the ephemeris counts east positive.
    m_astro.setLongitude(-longitude.value);

    m_astro.setTimeZone(readTimeZone(m_txtLatLong[2]->text()).value);
}

void Navigation::UpdateCalendar(const qint16 &PlusMin)
{
    const auto moved = jumpMoment(m_theDate, jumpUnit(), PlusMin);
    m_lastRecovered = !moved;
    if (!moved) {
        // Keep the program on a moment it can show; the chart keeps the last good sky.
        m_theDate = recoveryMoment(m_theDate);
        showOnCalendar();
        ShowDate();
        return;
    }
    m_theDate = *moved;
    showOnCalendar();
    ShowDate();
    followCity();
    readPlace();
    m_astro.CalcPlanets(m_theDate);
    m_chart.ShowPlanets();
}

void Navigation::ShowDate()
{
    m_txtTheDate->setText(dateText(m_theDate));
    m_txtTheTime->setText(timeText(m_theDate));
}

void Navigation::cmdJump_Click(int Index)
{
    qint16 n = static_cast<qint16>(m_cmbJump->currentIndex() + 1);
    if (Index == 0 || Index == 2)
        n = static_cast<qint16>(-n);
    switch (Index) {
    case 0:
    case 1:
        UpdateCalendar(n);
        break;
    case 2:
    case 3:
        m_jumpStep = n;
        m_timer2->start();
        m_cmdJump[4]->setEnabled(true);
        m_cmdJump[2]->setEnabled(false);
        m_cmdJump[3]->setEnabled(false);
        break;
    case 4:
        m_timer2->stop();
        m_cmdJump[4]->setEnabled(false);
        m_cmdJump[2]->setEnabled(true);
        m_cmdJump[3]->setEnabled(true);
        break;
    default:
        break;
    }
}

void Navigation::Timer2_Timer()
{
    UpdateCalendar(m_jumpStep);
}

void Navigation::cmdNow_Click()
{
    m_theDate = Moment::fromDateTime(m_now());
    UpdateCalendar(0);
}

void Navigation::m_oCalendar_DateClicked(qint16 Button, const Moment &dtDateClicked, qint16 iPos)
{
    Q_UNUSED(Button);
    Q_UNUSED(dtDateClicked);
    Q_UNUSED(iPos);
    const clsDayInfoCol &selected = m_calendar.SelectedDays();
    // A Ctrl click can leave no day selected; the moment then stays and is shown again.
    if (selected.Count() > 0) {
        const QDate d = selected.Item(1)->DateTime().date();
        m_theDate = m_theDate.addDays(d.day() - m_theDate.date().day());
    }
    UpdateCalendar(0);
}

void Navigation::txtTheDate_KeyPress(int &KeyAscii)
{
    if (KeyAscii != kEnter)
        return;
    KeyAscii = 0;
    const auto typed = readDateText(m_txtTheDate->text());
    if (!typed)
        return;
    m_theDate = *typed;
    UpdateCalendar(0);
}

void Navigation::txtTheTime_KeyPress(int &KeyAscii)
{
    if (KeyAscii != kEnter)
        return;
    KeyAscii = 0;
    const auto seconds = readTimeText(m_txtTheTime->text());
    if (!seconds)
        return;
    m_theDate = m_theDate.withSecondsOfDay(*seconds);
    UpdateCalendar(0);
}

void Navigation::txtLatLong_KeyPress(int Index, int &KeyAscii)
{
    if (KeyAscii != kEnter)
        return;
    KeyAscii = 0;
    // A name where a number belongs would read as 0: look it up instead.
    if ((Index == 0 || Index == 1) && startsWithPlaceName(m_txtLatLong[Index]->text())) {
        const QString name = m_txtLatLong[Index]->text().trimmed();
        m_txtLatLong[Index]->setText(m_placeText[size_t(Index)]);
        Q_EMIT placeNameEntered(name);
        return;
    }
    UpdateCalendar(0);
}

bool Navigation::boxesHoldCity(const CityPlace &city) const
{
    return readLatitude(m_txtLatLong[0]->text()).text == cityLatitudeText(city.latitude) &&
           readLongitude(m_txtLatLong[1]->text()).text == cityLongitudeText(city.longitude);
}

void Navigation::pickCity(const CityPlace &city)
{
    // Kept as the boxes show it, so its local mean time is the boxes' longitude / 15.
    m_city = city;
    m_city->latitude = std::round(city.latitude * 1e4) / 1e4;
    m_city->longitude = std::round(city.longitude * 1e4) / 1e4;
    m_txtLatLong[0]->setText(cityLatitudeText(city.latitude));
    m_txtLatLong[1]->setText(cityLongitudeText(city.longitude));
    // A city's coordinates are longer than the boxes are wide: show their start, the degrees.
    m_txtLatLong[0]->setCursorPosition(0);
    m_txtLatLong[1]->setCursorPosition(0);
    // A city picked again is reported again, even when nothing else changed.
    m_lastReport.clear();
    Q_EMIT cityChanged();
    UpdateCalendar(0);
}

bool Navigation::keepCity(const CityPlace &city)
{
    if (!boxesHoldCity(city))
        return false;
    m_city = city;
    return true;
}

void Navigation::dropCity()
{
    if (!m_city)
        return;
    const QString name = m_city->name;
    m_city.reset();
    Q_EMIT cityChanged();
    report(QStringLiteral("%1 is no longer followed: the place boxes are read as typed").arg(name));
}

void Navigation::followCity()
{
    if (!m_city)
        return;
    // New numbers in the Latitude or Longitude box: the user has taken over the place.
    if (!boxesHoldCity(*m_city)) {
        dropCity();
        return;
    }
    const auto offset = zoneOffsetAt(m_city->zone, m_theDate, m_city->longitude);
    if (offset)
        m_txtLatLong[2]->setText(chart::timeZoneText(timeZoneBoxValue(*offset)));
    report(cityZoneReport(*m_city, offset, m_theDate));
}

void Navigation::report(const QString &text)
{
    if (text == m_lastReport)
        return;
    m_lastReport = text;
    Q_EMIT placeReport(text);
}

} // namespace velmora
