#pragma once

#include "core/moment.h"

#include <QString>

namespace velmora {

/// What the planet chart needs to know about the music to colour the planets
/// that are sounding.
struct ChartMusicState
{
    bool harmonicCycleOn = false;
    bool modernCycle = false;
    int harmonicStep = -1;
    int harmonicDegree = -1;
    bool zodiacCycleOn = false;
    bool dayCycleOn = false;

    friend bool operator==(const ChartMusicState &, const ChartMusicState &) = default;
};

/// The music's view of the sky: the current moment, the way to move it, and
/// the positions and letters of the seven planets after the last computation.
/// The window implements it over the sky subsystem; tests use a fixed sky.
class SkyLink
{
public:
    virtual ~SkyLink() = default;

    /// The moment the page shows.
    virtual Moment theDate() const = 0;
    /// Sets the moment without recomputing anything (updateCalendar(0) follows).
    virtual void setTheDate(const Moment &moment) = 0;
    /// Moves the moment by plusMin units of the selected jump unit (0: stay),
    /// refreshes the calendar and boxes, recomputes the sky and redraws it.
    virtual void updateCalendar(int plusMin) = 0;
    /// Redraws the chart; refreshes the letters unless the day cycle plays.
    virtual void showPlanets() = 0;
    /// Units per jump: the list index of the jump count list + 1 (0 when none).
    virtual int jumpCount() const = 0;
    /// Selects the "Hour" jump unit, visibly.
    virtual void selectHourUnit() = 0;

    /// Ecliptic longitude in degrees, 0 <= value < 360; index 0..6 is Moon,
    /// Mercury, Venus, Sun, Mars, Jupiter, Saturn.
    virtual double planetLongitude(int index) const = 0;
    /// Letter ("A".."D") of planet j and of the sign it stands in; j = 1..7 is
    /// Sun, Moon, Mercury, Venus, Mars, Jupiter, Saturn.
    virtual QString planetLetter(int j) const = 0;
    virtual QString signLetter(int j) const = 0;

    /// The music's flags for the chart's colours, given before every redraw
    /// the music asks for and whenever they change.
    virtual void setMusicState(const ChartMusicState &state) = 0;
};

} // namespace velmora
