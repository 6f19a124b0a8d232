#pragma once

#include "music/core/beatschedule.h"
#include "music/core/skylink.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <chrono>
#include <functional>

namespace velmora {

class MidiModule;
class RandomSource;

/// How far behind its beat's place a beat's messages are due. The user-interface thread handles
/// a tick late by whatever it was doing: the beat's own sky and chart (about 10 ms here), another
/// handler in the way (one of 20 ms made it 38 ms), a loaded machine. Messages sent before their
/// stamp sound exactly on it, on the output's own clock; a tick later than the look-ahead is
/// heard late again. 50 ms, the most we allow, keeps a wide margin over what was measured; a
/// start, and the release of a stop, come that much after their click or tick, which is still
/// heard as at once. An instrument change goes out at once whatever this is.
inline constexpr std::chrono::milliseconds kLookAhead{50};

/// The three cycle buttons.
enum class CycleButton
{
    Zodiac,
    Days,
    Harmonic
};

/// The text boxes of the music controls the player reads and rewrites.
enum class MusicBox
{
    Speed,
    Pitch,
    MinVolume,
    MaxVolume,
    Out
};
inline constexpr int kMusicBoxCount = 5;

/// Everything the music keeps between ticks. Exposed read-only for the view
/// and for tests.
struct MusicState
{
    std::array<qint16, 9> chordNotes{};
    qint16 chordSize = 0;
    qint16 midVolume = 64;
    qint16 velocityStep = 0;
    qint16 minVolume = 64;
    qint16 maxVolume = 64;
    qint16 pitchOffset = 60;
    qint16 topHoldCount = 0;
    bool stopRequested = false;
    bool dayCycleOn = false;
    bool zodiacCycleOn = false;
    bool harmonicCycleOn = false;
    bool dayChordDue = false;
    std::array<bool, 9> voiceChanged{};
    qint16 dayPhase = -1;
    float beatsPerMinute = 40.0f;
    qint16 harmonicStep = -1;
    qint16 lastHarmonicStep = 6;
    bool modernCycle = false;
    qint16 harmonicDegree = -1;
    qint16 harmonicOctave = 0;
    qint16 harmonyNoteA = 0;
    qint16 harmonyNoteB = 0;
    int cycleYear = 0;
    int cycleBaseYear = 0;
};

/// The music of the planets page without any widget: the instrument, the
/// three cycles, their shared chord and velocity walk, the start and stop
/// protocol and the tick dispatcher. The view mirrors the list and check box
/// controls into it, hands it the box texts before a handler runs, calls the
/// handler and then applies the resulting state (captions, enabling, timer,
/// rewritten boxes). Ticks come from outside, so tests drive it directly.
class CyclePlayer
{
public:
    CyclePlayer(MidiModule &midi, SkyLink &sky, RandomSource &random);
    CyclePlayer(const CyclePlayer &) = delete;
    CyclePlayer &operator=(const CyclePlayer &) = delete;

    // Controls read when the cycles need them.
    /// List index of the top-note hold list (0..8 for "1".."9").
    void setHoldIndex(int index) { m_holdIndex = index; }
    /// Text of the octave span list ("1".."6").
    void setOctaveSpanText(const QString &text) { m_octaveSpanText = text; }
    /// The "Year" box: eight steps tied to the year in the harmonic cycle.
    void setYearChecked(bool checked) { m_yearChecked = checked; }
    int holdIndex() const { return m_holdIndex; }

    /// The text a box holds now (the view sets it before a handler runs).
    void setBoxText(MusicBox box, const QString &text);
    QString boxText(MusicBox box) const;
    /// True when the player rewrote the box since the last clearRewrites().
    bool boxRewritten(MusicBox box) const;
    void clearRewrites() { m_rewritten = 0; }

    /// Start-up: limits, mean velocity and pitch taken from the boxes as they
    /// are, unlimited (a saved value stays until Enter is pressed in its box).
    void applyStartupValues();

    /// Bank select and program change for the chosen instrument (0..127).
    void setInstrument(int program);
    /// Enter in the speed, pitch and volume boxes.
    void enterSpeed();
    void enterPitch();
    void enterVolume(int index);

    /// The three cycle buttons: start when idle, stop when playing.
    void clickZodiac();
    void clickDays();
    void clickHarmonic();
    /// One tick of the music clock.
    void tick();

    // What the view shows.
    bool isPlaying(CycleButton button) const { return m_playing == button && m_playingAny; }
    bool isButtonEnabled(CycleButton button) const;
    bool timerEnabled() const { return m_timerEnabled; }
    int timerIntervalMs() const { return m_timerIntervalMs; }
    bool pitchBoxEnabled() const { return m_pitchBoxEnabled; }
    /// True from a "Stop" until the tick that carries it out.
    bool stopPending() const { return m_state.stopRequested && m_timerEnabled; }

    const MusicState &state() const { return m_state; }
    ChartMusicState chartState() const;

    /// Chord release: every slot of the running cycle except a held top note.
    void stopChord();

    /// Where to say, in one line, that a cycle plays on an output nobody can
    /// hear. The window shows it in its status bar.
    void setSilenceReport(std::function<void(const QString &)> report)
    {
        m_silenceReport = std::move(report);
    }
    /// Asks the output whether anyone can hear it and reports when nobody can.
    /// Runs at every start of a cycle; the window calls it when the output
    /// changes under a playing cycle.
    void checkAudible();
    /// True while a cycle plays (its button shows "Stop").
    bool isPlayingAny() const { return m_playingAny; }

private:
    void startCommon(CycleButton button);
    void stopCommon();
    void stopTick();
    void applySpeed();
    void velocityWalk();
    void startVelocity();
    void sendNote(int status, int note);
    /// The schedule starts afresh at the music clock's now.
    void startSchedule();
    void releaseHeldKeys();
    void publishChartState();
    void rewrite(MusicBox box, const QString &text);

    void playZodiac();
    void dayTick();
    void playDay();
    void playCyclusHarmonicus();

    MidiModule &m_midi;
    SkyLink &m_sky;
    RandomSource &m_random;
    MusicState m_state;

    int m_holdIndex = 2;
    QString m_octaveSpanText = QStringLiteral("1");
    bool m_yearChecked = false;
    std::array<QString, kMusicBoxCount> m_boxes;
    unsigned m_rewritten = 0;

    CycleButton m_playing = CycleButton::Zodiac;
    bool m_playingAny = false;
    bool m_timerEnabled = false;
    int m_timerIntervalMs = 1500;
    bool m_pitchBoxEnabled = true;
    ChartMusicState m_published;
    // Where the beat being played lies on the music clock.
    BeatSchedule m_schedule;
    // Slots sounding on each key. Two slots can land on one key, and one
    // note-off ends every voice on it, so the key is released only when its
    // last holder lets go.
    std::array<quint8, 128> m_keyHolders{};
    std::function<void(const QString &)> m_silenceReport;
};

} // namespace velmora
