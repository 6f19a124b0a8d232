#include "app/windowsky.h"

#include "core/numeric.h"
#include "sky/core/astromodule.h"
#include "sky/view/navigation.h"
#include "sky/view/planetchart.h"
#include "toolkit/controls.h"

#include <QComboBox>
#include <QRadioButton>

namespace velmora {

WindowSky::WindowSky(const QWidget *form, Navigation &navigation, PlanetChart &chart,
                     const AstroModule &astro)
    : m_navigation(navigation)
    , m_chart(chart)
    , m_astro(astro)
    , m_cmbJump(control<QComboBox>(form, QStringLiteral("cmbJump")))
    , m_hourUnit(control<QRadioButton>(form, QStringLiteral("optTJ(0)")))
{}

Moment WindowSky::theDate() const
{
    return m_navigation.TheDate();
}

void WindowSky::setTheDate(const Moment &moment)
{
    m_navigation.setTheDate(moment);
}

void WindowSky::updateCalendar(int plusMin)
{
    m_navigation.UpdateCalendar(toInt16(plusMin));
}

void WindowSky::showPlanets()
{
    m_chart.ShowPlanets();
}

int WindowSky::jumpCount() const
{
    return m_cmbJump->currentIndex() + 1;
}

void WindowSky::selectHourUnit()
{
    m_hourUnit->setChecked(true);
}

double WindowSky::planetLongitude(int index) const
{
    return m_astro.planetLong(index);
}

QString WindowSky::planetLetter(int j) const
{
    return m_chart.PlanetLetter(j);
}

QString WindowSky::signLetter(int j) const
{
    return m_chart.SignLetter(j);
}

void WindowSky::setMusicState(const ChartMusicState &state)
{
    CycleState cycles;
    cycles.harmonicCycleOn = state.harmonicCycleOn;
    cycles.modernCycle = state.modernCycle;
    cycles.harmonicStep = state.harmonicStep;
    cycles.harmonicDegree = state.harmonicDegree;
    cycles.zodiacCycleOn = state.zodiacCycleOn;
    cycles.dayCycleOn = state.dayCycleOn;
    m_chart.setCycleState(cycles);
}

} // namespace velmora
