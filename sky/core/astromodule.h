#pragma once

#include "core/moment.h"

#include <QString>

#include <array>

namespace velmora {

class SweLibrary;

/// The seven classical planets the sky is made of.
inline constexpr int kPlanetCount = 7;

/// Degrees as whole degrees, minutes and seconds: "-12°30'00". The seconds are
/// rounded half to even and not carried, so 359.99999 reads 359°59'60. A value
/// between -1 and 0 keeps its minus sign ("-0°30'00") so that south and west
/// stay visible.
QString FormatLatitude(double d);
/// As FormatLatitude with at least three digits of degrees: "005°15'00".
QString FormatLongitude(double d);
/// Cuts s before its first NUL character and returns the result.
QString StripNull(QString &s);

/// The sky of one moment and place, computed with the Swiss Ephemeris.
///
/// Holds the place (written by the navigation), and the results of the last
/// CalcPlanets, which the chart and the music read. Every CalcPlanets
/// overwrites all results; before the first one they are zero or empty.
///
/// Two orders are in use: planetLong() and planetValid() follow the spheres
/// (0 Moon, 1 Mercury, 2 Venus, 3 Sun, 4 Mars, 5 Jupiter, 6 Saturn);
/// planetText() lines 1..7 follow the library (Sun, Moon, Mercury, Venus, Mars,
/// Jupiter, Saturn), line 0 holds the time and the angles.
class AstroModule
{
public:
    AstroModule() = default;

    /// Geographic latitude in degrees, north positive.
    void setLatitude(float degrees) { m_latitude = degrees; }
    /// Geographic longitude in degrees, east positive (the library's sign).
    void setLongitude(float degrees) { m_longitude = degrees; }
    /// Hours to add to the local time to get Universal Time (west positive).
    void setTimeZone(float hours) { m_timeZone = hours; }
    float latitude() const { return m_latitude; }
    float longitude() const { return m_longitude; }
    float timeZone() const { return m_timeZone; }

    /// Computes the seven planets at the local moment theDate (taken, after the
    /// time-zone shift, as ephemeris time) and the houses of the place at the
    /// derived Universal Time. A planet the library cannot compute keeps the
    /// library's message in its text line and is marked not valid.
    void CalcPlanets(const Moment &theDate);

    double julDay() const { return m_julDay; }
    double julDayUT() const { return m_julDayUT; }
    /// Ecliptic longitude in degrees (0 <= value < 360), sphere order 0..6;
    /// index 7 exists and is always 0.
    double planetLong(int index) const;
    /// False when the library failed for this planet (sphere order): its
    /// longitude is then no position and must not be shown as one.
    bool planetValid(int index) const;
    /// Lines 0..7 of the planet text.
    QString planetText(int line) const;
    /// The library's angle array: 0 Ascendant, 1 MC, ... up to 10.
    double ascMC(int index) const;
    /// Longitude of the first house cusp.
    float ascendant() const { return m_ascendant; }
    /// False when the house computation gave no usable angles.
    bool anglesValid() const { return m_anglesValid; }
    /// A short note when the houses are not the Placidus houses asked for (inside the polar
    /// circles the library gives Porphyry's) or could not be computed; empty otherwise.
    QString housesNote() const { return m_housesNote; }
    /// True when any planet or the angles could not be computed.
    bool hasFailure() const;

    /// Lets the library drop its files and caches; called when the program ends.
    static void ReleaseLibrary();
    /// Makes the library look for its files again, honouring SE_EPHE_PATH as it
    /// is now. The installed data files are found without this; it serves
    /// callers that change the environment after the first computation.
    static void ResetEphemerisPath();

    /// Computes with another copy of the library than the program's own (null: its own).
    void setLibrary(const SweLibrary *library) { m_library = library; }

private:
    const SweLibrary &library() const;

    const SweLibrary *m_library = nullptr;
    bool m_computed = false;
    float m_latitude = 0;
    float m_longitude = 0;
    float m_timeZone = 0;
    double m_julDay = 0;
    double m_julDayUT = 0;
    std::array<double, 8> m_planetLong{};
    std::array<bool, 8> m_planetValid{};
    std::array<QString, 8> m_planetText;
    std::array<double, 11> m_ascMC{};
    float m_ascendant = 0;
    bool m_anglesValid = false;
    QString m_housesNote;
};

} // namespace velmora
