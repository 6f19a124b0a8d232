#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace velmora {

inline constexpr float kMinBeatsPerMinute = 10.0f;
inline constexpr float kMaxBeatsPerMinute = 180.0f;
inline constexpr int kLowestPitch = 24;
inline constexpr int kHighestPitch = 72;
inline constexpr int kLowestVolume = 1;
inline constexpr int kHighestVolume = 127;

/// The tempo read from the speed box and the tick interval it gives.
struct SpeedSetting
{
    float beatsPerMinute = 0;
    int intervalMs = 0;
    /// The text the box must show when the typed tempo was out of range.
    std::optional<QString> boxText;
};

/// Reads the speed box: below 10 becomes 10, above 180 becomes 180. The cycle
/// of the day ticks four times per beat, the others once.
SpeedSetting checkSpeed(const QString &speedText, bool dayCycleOn);

/// The pitch box on Enter: rounded, limited to 24..72, and the box rewritten
/// with the whole number.
struct PitchSetting
{
    qint16 pitchOffset = 60;
    QString boxText;
};
PitchSetting applyPitch(const QString &pitchText);

/// The velocity limits after Enter in one of the two volume boxes.
struct VolumeSetting
{
    qint16 minVolume = 64;
    qint16 maxVolume = 64;
    qint16 velocityStep = 0;
    /// New texts of the boxes (index 0 minimum, 1 maximum); a box that keeps
    /// what the user typed has no value.
    std::optional<QString> boxText[2];
};

/// Enter in volume box index (1 = maximum, anything else = minimum): the box
/// is read, rounded and limited to 1..127; limits given the wrong way round
/// are exchanged.
VolumeSetting applyVolume(int index, const QString &boxText, qint16 minVolume, qint16 maxVolume);

/// The velocity a cycle starts from and the step of its walk.
struct VelocityStart
{
    qint16 midVolume = 64;
    qint16 velocityStep = 0;
};
VelocityStart velocityStart(qint16 minVolume, qint16 maxVolume);

} // namespace velmora
