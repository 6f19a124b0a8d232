#include "music/core/parameters.h"

#include "core/numeric.h"

#include <algorithm>

namespace velmora {

SpeedSetting checkSpeed(const QString &speedText, bool dayCycleOn)
{
    SpeedSetting s;
    // Compared before narrowing: a typed number beyond the range of a float only clamps.
    const double typed = numericValue(speedText);
    if (!(typed >= kMinBeatsPerMinute)) {
        s.beatsPerMinute = kMinBeatsPerMinute;
        s.boxText = QStringLiteral("10");
    } else if (typed > kMaxBeatsPerMinute) {
        s.beatsPerMinute = kMaxBeatsPerMinute;
        s.boxText = QStringLiteral("180");
    } else {
        s.beatsPerMinute = static_cast<float>(typed);
    }
    const double perTick = dayCycleOn ? 15000.0 : 60000.0;
    s.intervalMs = static_cast<int>(roundHalfEven(perTick / s.beatsPerMinute));
    return s;
}

PitchSetting applyPitch(const QString &pitchText)
{
    PitchSetting p;
    const double v = roundHalfEven(numericValue(pitchText));
    p.pitchOffset = static_cast<qint16>(std::clamp(v, double(kLowestPitch), double(kHighestPitch)));
    p.boxText = QString::number(p.pitchOffset);
    return p;
}

VolumeSetting applyVolume(int index, const QString &boxText, qint16 minVolume, qint16 maxVolume)
{
    VolumeSetting v;
    v.minVolume = minVolume;
    v.maxVolume = maxVolume;
    const double read = roundHalfEven(numericValue(boxText));
    const auto limited =
        static_cast<qint16>(std::clamp(read, double(kLowestVolume), double(kHighestVolume)));
    if (index == 1) {
        v.maxVolume = limited;
        v.boxText[1] = QString::number(limited);
    } else {
        v.minVolume = limited;
        v.boxText[0] = QString::number(limited);
    }
    if (v.minVolume > v.maxVolume) {
        std::swap(v.minVolume, v.maxVolume);
        v.boxText[0] = QString::number(v.minVolume);
        v.boxText[1] = QString::number(v.maxVolume);
    }
    v.velocityStep = toInt16((v.maxVolume - v.minVolume) / 8.0);
    return v;
}

VelocityStart velocityStart(qint16 minVolume, qint16 maxVolume)
{
    return {toInt16((minVolume + maxVolume) / 2.0), toInt16((maxVolume - minVolume) / 8.0)};
}

} // namespace velmora
