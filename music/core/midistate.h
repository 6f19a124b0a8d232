#pragma once

#include <QtGlobal>

#include <array>
#include <vector>

namespace velmora {

/// What a MIDI device holds after the messages it was sent, as a synthesiser keeps it: per
/// channel the controllers and the program last chosen and the keys sounding, with the velocity
/// that struck them. One note-off ends a key, however often it was struck. With it a device that
/// comes late (a new output, a synthesiser still loading its instruments) can be brought to the
/// state the music expects, and one that goes can be silenced.
class MidiState
{
public:
    /// Takes in one packed short message.
    void apply(quint32 packed);

    /// The messages that bring a fresh device to this state, channel by channel: the controllers
    /// in ascending order (so bank select comes first), the program, then a note-on per key.
    std::vector<quint32> restoreMessages() const;
    /// A note-off for every sounding key, then all notes off on every channel that was used.
    std::vector<quint32> releaseMessages() const;

    bool sounding(int key, int channel = 0) const;
    /// Keys sounding over all channels.
    int soundingCount() const;
    /// Program last chosen on the channel, -1 for none.
    int program(int channel = 0) const;
    /// Value last sent to the controller on the channel, -1 for none.
    int controller(int number, int channel = 0) const;

private:
    struct Channel
    {
        std::array<qint8, 128> controllers;
        std::array<quint8, 128> velocities{}; // 0: silent
        qint16 program = -1;
        bool used = false;
        Channel() { controllers.fill(-1); }
    };
    std::array<Channel, 16> m_channels;
};

} // namespace velmora
