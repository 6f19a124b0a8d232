#pragma once

#include "music/core/skylink.h"

class QComboBox;
class QRadioButton;
class QWidget;

namespace velmora {

class AstroModule;
class Navigation;
class PlanetChart;

/// The music's view of the sky, served by the planets page: the moment of the navigation, the
/// results of the astro module and the letters and colours of the chart.
class WindowSky : public SkyLink
{
public:
    WindowSky(const QWidget *form, Navigation &navigation, PlanetChart &chart,
              const AstroModule &astro);

    Moment theDate() const override;
    void setTheDate(const Moment &moment) override;
    void updateCalendar(int plusMin) override;
    void showPlanets() override;
    int jumpCount() const override;
    void selectHourUnit() override;
    double planetLongitude(int index) const override;
    QString planetLetter(int j) const override;
    QString signLetter(int j) const override;
    void setMusicState(const ChartMusicState &state) override;

private:
    Navigation &m_navigation;
    PlanetChart &m_chart;
    const AstroModule &m_astro;
    QComboBox *m_cmbJump;
    QRadioButton *m_hourUnit;
};

} // namespace velmora
