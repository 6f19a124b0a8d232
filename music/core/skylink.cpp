#include "music/core/skylink.h"

#include <string_view>

namespace velmora {

namespace {

int digitAt(std::string_view digits, int index)
{
    if (index < 0 || index >= static_cast<int>(digits.size()))
        return 0;
    return digits[static_cast<size_t>(index)] - '0';
}

} // namespace

int soundingPlanetColour(const ChartMusicState &state, int ring, int part)
{
    if (state.harmonicCycleOn) {
        // Ring numbers of the planets belonging to each step and each degree.
        const std::string_view steps = state.modernCycle ? "45271326" : "4527136";
        const int a = digitAt(steps, state.harmonicStep);
        const int b = digitAt("6741532", state.harmonicDegree);
        if (ring == a)
            return kChartBlue;
        if (ring == b)
            return kChartGreen;
        return kChartRed;
    }
    if (state.zodiacCycleOn) {
        if (part == 0)
            return kChartGreen;
        if (part == 2)
            return kChartBlue;
    }
    return kChartRed;
}

} // namespace velmora
