#include "music/core/midistate.h"

#include "music/core/midimodule.h"

#include <algorithm>

namespace velmora {

namespace {
// Controllers 120 and above are channel-mode commands, not settings to remember.
constexpr int kAllSoundOff = 120;
constexpr int kResetControllers = 121;
constexpr int kAllNotesOff = 123;
} // namespace

void MidiState::apply(quint32 packed)
{
    const int status = static_cast<int>(packed & 0xF0u);
    const auto channelIndex = static_cast<size_t>(packed & 0x0Fu);
    const auto data1 = static_cast<int>((packed >> 8) & 0x7Fu);
    const auto data2 = static_cast<int>((packed >> 16) & 0x7Fu);
    Channel &c = m_channels[channelIndex];
    c.used = true;
    switch (status) {
    case kNoteOn:
        c.velocities[static_cast<size_t>(data1)] = static_cast<quint8>(data2);
        break;
    case kNoteOff:
        c.velocities[static_cast<size_t>(data1)] = 0;
        break;
    case kControlChange:
        if (data1 < kAllSoundOff)
            c.controllers[static_cast<size_t>(data1)] = static_cast<qint8>(data2);
        else if (data1 == kResetControllers)
            c.controllers.fill(-1);
        else if (data1 != 122) // local control leaves the notes alone
            c.velocities.fill(0);
        break;
    case kProgramChange:
        c.program = static_cast<qint16>(data1);
        break;
    default:
        break;
    }
}

std::vector<quint32> MidiState::restoreMessages() const
{
    std::vector<quint32> out;
    for (size_t ch = 0; ch < m_channels.size(); ++ch) {
        const Channel &c = m_channels[ch];
        const int channel = static_cast<int>(ch);
        for (int cc = 0; cc < kAllSoundOff; ++cc) {
            if (const int value = c.controllers[static_cast<size_t>(cc)]; value >= 0)
                out.push_back(packShortMessage(kControlChange, cc, value, channel));
        }
        if (c.program >= 0)
            out.push_back(packShortMessage(kProgramChange, c.program, 0, channel));
        for (int key = 0; key < 128; ++key) {
            if (const int velocity = c.velocities[static_cast<size_t>(key)]; velocity > 0)
                out.push_back(packShortMessage(kNoteOn, key, velocity, channel));
        }
    }
    return out;
}

std::vector<quint32> MidiState::releaseMessages() const
{
    std::vector<quint32> out;
    for (size_t ch = 0; ch < m_channels.size(); ++ch) {
        const Channel &c = m_channels[ch];
        if (!c.used)
            continue;
        const int channel = static_cast<int>(ch);
        for (int key = 0; key < 128; ++key) {
            if (c.velocities[static_cast<size_t>(key)] > 0)
                out.push_back(packShortMessage(kNoteOff, key, 64, channel));
        }
        out.push_back(packShortMessage(kControlChange, kAllNotesOff, 0, channel));
    }
    return out;
}

bool MidiState::sounding(int key, int channel) const
{
    if (key < 0 || key > 127 || channel < 0 || channel > 15)
        return false;
    return m_channels[static_cast<size_t>(channel)].velocities[static_cast<size_t>(key)] > 0;
}

int MidiState::soundingCount() const
{
    int n = 0;
    for (const Channel &c : m_channels)
        n += static_cast<int>(std::count_if(c.velocities.begin(), c.velocities.end(),
                                            [](quint8 v) { return v > 0; }));
    return n;
}

int MidiState::controller(int number, int channel) const
{
    if (channel < 0 || channel > 15 || number < 0 || number > 127)
        return -1;
    return m_channels[static_cast<size_t>(channel)].controllers[static_cast<size_t>(number)];
}

int MidiState::program(int channel) const
{
    if (channel < 0 || channel > 15)
        return -1;
    return m_channels[static_cast<size_t>(channel)].program;
}

} // namespace velmora
