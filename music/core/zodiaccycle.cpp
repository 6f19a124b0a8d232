#include "music/core/cycleplayer.h"
#include "music/core/midimodule.h"
#include "music/core/musictables.h"

namespace velmora {

void CyclePlayer::playZodiac()
{
    // Moving the moment draws the chart and refreshes the letters; a second
    // drawing would only draw Mercury's letter again.
    m_sky.updateCalendar(m_sky.jumpCount());
    velocityWalk();
    m_state.chordSize = 7;

    // Longitude index of planet i (Sun, Moon, Mercury, ... Saturn).
    static constexpr char kLongitudeOrder[] = "4123567";
    for (int i = 1; i <= 7; ++i) {
        const int slot = 8 - i;
        const int d = kLongitudeOrder[i - 1] - '0';
        const int p = pairPosition(m_sky.planetLetter(i), m_sky.signLetter(i));
        const int n = zodiacNote(slot, p, m_sky.planetLongitude(d - 1));
        const auto note = static_cast<qint16>(m_state.pitchOffset - 60 + n);
        m_state.voiceChanged[slot] = note != m_state.chordNotes[slot];
        if (m_state.voiceChanged[slot])
            sendNote(kNoteOff, m_state.chordNotes[slot]);
        m_state.chordNotes[slot] = note;
    }
    for (int slot = 1; slot <= 7; ++slot) {
        if (m_state.voiceChanged[slot])
            sendNote(kNoteOn, m_state.chordNotes[slot]);
    }
}

} // namespace velmora
