#pragma once

#include "music/core/skylink.h"

#include <array>
#include <vector>

namespace velmora::test {

/// A sky that stays where it is put; records what the music asks of it.
struct FakeSky : SkyLink
{
    Moment date{2026, 12, 2, 6, 30};
    std::array<double, 7> longitudes{};
    std::array<QString, 8> planetLetters;
    std::array<QString, 8> signLetters;
    int jump = 1;
    int updates = 0;
    int redraws = 0;
    bool hourSelected = false;
    std::vector<Moment> datesSet;
    ChartMusicState music;

    Moment theDate() const override { return date; }
    void setTheDate(const Moment &m) override
    {
        date = m;
        datesSet.push_back(m);
    }
    void updateCalendar(int plusMin) override
    {
        date = date.addHours(plusMin);
        ++updates;
    }
    void showPlanets() override { ++redraws; }
    int jumpCount() const override { return jump; }
    void selectHourUnit() override { hourSelected = true; }
    double planetLongitude(int index) const override
    {
        return longitudes[static_cast<size_t>(index)];
    }
    QString planetLetter(int j) const override { return planetLetters[static_cast<size_t>(j)]; }
    QString signLetter(int j) const override { return signLetters[static_cast<size_t>(j)]; }
    void setMusicState(const ChartMusicState &state) override { music = state; }

    /// Sun 95° D/B, Moon 0° A/A, Mercury 25° C/D, Venus 359.5° D/D, Mars 130° B/A, Jupiter at
    /// the given longitude A/C, Saturn 300° C/B; longitudes in Moon..Saturn order.
    void place(double jupiter = 200.0)
    {
        longitudes = {0.0, 25.0, 359.5, 95.0, 130.0, jupiter, 300.0};
        for (size_t j = 1; j <= 7; ++j) {
            planetLetters[j] = QString(QLatin1Char(" DACDBAC"[j]));
            signLetters[j] = QString(QLatin1Char(" BADDACB"[j]));
        }
    }
};

} // namespace velmora::test
