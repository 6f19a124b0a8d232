#pragma once

#include <QString>

#include <array>

namespace velmora {

/// Semitones of the major scale.
inline constexpr std::array<int, 7> kMajorScale{0, 2, 4, 5, 7, 9, 11};
/// Top note of each step of the harmonic cycle: C G D A E B F (and F again
/// for the eighth step of the year form).
inline constexpr std::array<int, 8> kPlanetSemitones{0, 7, 2, 9, 4, 11, 5, 5};
/// The degrees of the harmonic cycle's lower voices: F A C E G B D.
inline constexpr std::array<int, 7> kHarmonicSemitones{5, 9, 0, 4, 7, 11, 2};

/// A point of the year the eight-step harmonic cycle moves to.
struct SeasonPoint
{
    int day;
    int month;
    int hour;
};
inline constexpr std::array<SeasonPoint, 8> kSeasonPoints{{{21, 6, 12},
                                                           {7, 7, 15},
                                                           {22, 9, 18},
                                                           {7, 11, 21},
                                                           {21, 12, 0},
                                                           {4, 2, 3},
                                                           {20, 3, 6},
                                                           {5, 5, 9}}};

/// Chord of each hour of the day cycle: index 1 is 06:00, 24 is 05:00; four
/// note letters and the group letter.
extern const std::array<const char *, 25> kHourChords;

/// Index 1..24 into kHourChords for a clock hour 0..23.
int hourChordIndex(int clockHour);

/// Scale index of a chord letter: "b".."h" give 0..6 and "a" gives 3; -1 for
/// anything else.
int chordLetterScaleIndex(char letter);

/// Semitones added to every note of the day cycle on a weekday (1 Monday ..
/// 7 Sunday).
int weekdayShift(int dayOfWeek);

/// Where the planet letter followed by the sign letter first occurs in the
/// string of the sixteen letter pairs (1-based); 0 when either is not a
/// single letter or the pair is absent.
int pairPosition(const QString &planetLetter, const QString &signLetter);

/// The zodiac voice of chord slot (1..7) for a planet at longitude degrees with
/// pair position p, before the pitch offset is added.
int zodiacNote(int slot, int p, double longitude);

/// The two inner harmony notes (semitones above C) of the harmonic cycle for
/// top semitone f and degree g (0..6).
struct HarmonyNotes
{
    int a;
    int b;
};
HarmonyNotes harmonyNotes(int f, int g);

} // namespace velmora
