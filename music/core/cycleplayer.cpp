#include "music/core/cycleplayer.h"

#include "core/numeric.h"
#include "music/core/midimodule.h"
#include "music/core/parameters.h"

#include <algorithm>

namespace velmora {

CyclePlayer::CyclePlayer(MidiModule &midi, SkyLink &sky, RandomSource &random)
    : m_midi(midi)
    , m_sky(sky)
    , m_random(random)
{
    m_boxes[static_cast<int>(MusicBox::Speed)] = QStringLiteral("40");
    m_boxes[static_cast<int>(MusicBox::Pitch)] = QStringLiteral("60");
    m_boxes[static_cast<int>(MusicBox::MinVolume)] = QStringLiteral("64");
    m_boxes[static_cast<int>(MusicBox::MaxVolume)] = QStringLiteral("64");
}

void CyclePlayer::setBoxText(MusicBox box, const QString &text)
{
    m_boxes[static_cast<int>(box)] = text;
}

QString CyclePlayer::boxText(MusicBox box) const
{
    return m_boxes[static_cast<int>(box)];
}

bool CyclePlayer::boxRewritten(MusicBox box) const
{
    return (m_rewritten & (1u << static_cast<int>(box))) != 0;
}

void CyclePlayer::rewrite(MusicBox box, const QString &text)
{
    m_boxes[static_cast<int>(box)] = text;
    m_rewritten |= 1u << static_cast<int>(box);
}

bool CyclePlayer::isButtonEnabled(CycleButton button) const
{
    return !m_playingAny || m_playing == button;
}

ChartMusicState CyclePlayer::chartState() const
{
    return {m_state.harmonicCycleOn, m_state.modernCycle,   m_state.harmonicStep,
            m_state.harmonicDegree,  m_state.zodiacCycleOn, m_state.dayCycleOn};
}

void CyclePlayer::publishChartState()
{
    const ChartMusicState now = chartState();
    if (now == m_published)
        return;
    m_published = now;
    m_sky.setMusicState(now);
}

void CyclePlayer::applyStartupValues()
{
    m_state.maxVolume = numericInt16(boxText(MusicBox::MaxVolume));
    m_state.minVolume = numericInt16(boxText(MusicBox::MinVolume));
    m_state.midVolume = toInt16((m_state.minVolume + m_state.maxVolume) / 2.0);
    m_state.pitchOffset = numericInt16(boxText(MusicBox::Pitch));
}

void CyclePlayer::setInstrument(int program)
{
    m_midi.sendShortMessage(packShortMessage(kControlChange, 0, 0));
    m_midi.sendShortMessage(packShortMessage(kControlChange, 32, 0));
    // An empty instrument list gives no program; the bank selects are harmless.
    if (program >= 0 && program <= 127)
        m_midi.sendShortMessage(packShortMessage(kProgramChange, program, 0));
}

void CyclePlayer::applySpeed()
{
    const SpeedSetting s = checkSpeed(boxText(MusicBox::Speed), m_state.dayCycleOn);
    m_state.beatsPerMinute = s.beatsPerMinute;
    m_midi.setTempo(s.beatsPerMinute);
    m_timerIntervalMs = s.intervalMs;
    if (s.boxText)
        rewrite(MusicBox::Speed, *s.boxText);
}

void CyclePlayer::enterSpeed()
{
    applySpeed();
}

void CyclePlayer::enterPitch()
{
    const PitchSetting p = applyPitch(boxText(MusicBox::Pitch));
    m_state.pitchOffset = p.pitchOffset;
    rewrite(MusicBox::Pitch, p.boxText);
}

void CyclePlayer::enterVolume(int index)
{
    const MusicBox box = index == 1 ? MusicBox::MaxVolume : MusicBox::MinVolume;
    const VolumeSetting v = applyVolume(index, boxText(box), m_state.minVolume, m_state.maxVolume);
    m_state.minVolume = v.minVolume;
    m_state.maxVolume = v.maxVolume;
    m_state.velocityStep = v.velocityStep;
    if (v.boxText[0])
        rewrite(MusicBox::MinVolume, *v.boxText[0]);
    if (v.boxText[1])
        rewrite(MusicBox::MaxVolume, *v.boxText[1]);
}

void CyclePlayer::startVelocity()
{
    const VelocityStart v = velocityStart(m_state.minVolume, m_state.maxVolume);
    m_state.midVolume = v.midVolume;
    m_state.velocityStep = v.velocityStep;
}

void CyclePlayer::velocityWalk()
{
    m_state.midVolume = static_cast<qint16>(m_state.midVolume + m_state.velocityStep);
    if (m_state.midVolume > m_state.maxVolume || m_state.midVolume < m_state.minVolume)
        m_state.velocityStep = static_cast<qint16>(-m_state.velocityStep);
}

void CyclePlayer::sendNote(int status, int note)
{
    // A note outside the MIDI range is not sent at all, on or off, so every
    // sent note-on still meets its note-off. The walk may cross a limit by
    // up to one step: the velocity byte is held to the legal range, and a
    // note-on keeps at least 1 because 0 would mean a release.
    if (note < 0 || note > 127)
        return;
    const int velocity = std::clamp<int>(m_state.midVolume, status == kNoteOn ? 1 : 0, 127);
    quint8 &holders = m_keyHolders[static_cast<size_t>(note)];
    const std::chrono::nanoseconds due = m_schedule.due() + kLookAhead;
    if (status == kNoteOn) {
        // A key another slot sounds is struck again: released first, so every
        // note-on the device gets is matched by one note-off.
        if (holders > 0)
            m_midi.sendShortMessageAt(packShortMessage(kNoteOff, note, velocity), due);
        ++holders;
    } else if (holders > 1) {
        --holders;
        return;
    } else {
        holders = 0;
    }
    m_midi.sendShortMessageAt(packShortMessage(status, note, velocity), due);
}

void CyclePlayer::releaseHeldKeys()
{
    for (int key = 0; key < 128; ++key) {
        if (m_keyHolders[static_cast<size_t>(key)] > 0) {
            m_keyHolders[static_cast<size_t>(key)] = 1;
            sendNote(kNoteOff, key);
        }
    }
}

void CyclePlayer::checkAudible()
{
    if (!m_silenceReport)
        return;
    if (const QString reason = m_midi.inaudibleReason(); !reason.isEmpty())
        m_silenceReport(reason);
}

void CyclePlayer::stopChord()
{
    const int size = m_state.chordSize;
    for (int i = 1; i <= size; ++i) {
        if (i >= 2 || m_state.topHoldCount >= m_holdIndex || m_state.zodiacCycleOn ||
            m_state.dayCycleOn || m_state.stopRequested)
            sendNote(kNoteOff, m_state.chordNotes[i]);
    }
}

void CyclePlayer::startCommon(CycleButton button)
{
    // A start while a stop waits for its tick carries the stop out first, so
    // the old chord is released and the old cycle's flag cannot take over the
    // dispatcher. Its release falls on the new start, after all the old cycle scheduled.
    if (stopPending()) {
        startSchedule();
        stopTick();
    }
    m_playing = button;
    m_playingAny = true;
    m_state.stopRequested = false;
    m_state.topHoldCount = static_cast<qint16>(m_holdIndex);
    m_state.chordSize = 0;
    checkAudible();
}

void CyclePlayer::startSchedule()
{
    m_schedule.start(m_midi.clock()(), std::chrono::milliseconds(m_timerIntervalMs));
}

void CyclePlayer::stopCommon()
{
    m_playingAny = false;
    m_state.stopRequested = true;
}

void CyclePlayer::stopTick()
{
    m_timerEnabled = false;
    m_pitchBoxEnabled = true;
    if (m_state.zodiacCycleOn)
        m_state.voiceChanged.fill(true);
    stopChord();
    // Every slot is released now; a key still counted would hang.
    releaseHeldKeys();
    m_state.dayCycleOn = false;
    m_state.dayChordDue = false;
    m_state.harmonicCycleOn = false;
    m_state.zodiacCycleOn = false;
    publishChartState();
}

void CyclePlayer::clickZodiac()
{
    if (m_playingAny) {
        if (m_playing == CycleButton::Zodiac)
            stopCommon();
        return;
    }
    startCommon(CycleButton::Zodiac);
    applySpeed();
    startSchedule();
    m_state.chordNotes.fill(0);
    startVelocity();
    m_state.zodiacCycleOn = true;
    m_timerEnabled = true;
    publishChartState();
}

void CyclePlayer::clickDays()
{
    if (m_playingAny) {
        if (m_playing == CycleButton::Days)
            stopCommon();
        return;
    }
    startCommon(CycleButton::Days);
    m_state.dayCycleOn = true;
    m_state.dayPhase = -1;
    applySpeed();
    startSchedule();
    m_state.dayChordDue = false;
    startVelocity();
    publishChartState();
    playDay();
    m_timerEnabled = true;
}

void CyclePlayer::clickHarmonic()
{
    if (m_playingAny) {
        if (m_playing == CycleButton::Harmonic) {
            stopCommon();
            m_state.harmonicCycleOn = false;
            publishChartState();
        }
        return;
    }
    startCommon(CycleButton::Harmonic);
    enterPitch();
    m_state.modernCycle = m_yearChecked;
    m_state.lastHarmonicStep = m_state.modernCycle ? 7 : 6;
    m_state.cycleYear = m_sky.theDate().year();
    m_state.cycleBaseYear = m_state.cycleYear;
    applySpeed();
    startSchedule();
    m_state.harmonicDegree = -1;
    m_state.harmonicStep = -1;
    m_state.harmonicOctave = 0;
    startVelocity();
    m_timerEnabled = true;
    playCyclusHarmonicus();
}

void CyclePlayer::tick()
{
    if (!m_timerEnabled)
        return;
    m_schedule.tick(m_midi.clock()(), std::chrono::milliseconds(m_timerIntervalMs));
    if (m_state.stopRequested) {
        stopTick();
    } else if (m_state.dayCycleOn) {
        dayTick();
    } else if (m_state.zodiacCycleOn) {
        playZodiac();
    } else {
        stopChord();
        playCyclusHarmonicus();
    }
}

} // namespace velmora
