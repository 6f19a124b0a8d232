#pragma once

#include "music/core/midimodule.h"

#include <chrono>
#include <optional>
#include <vector>

namespace velmora {

/// One message as a recording output received it.
struct RecordedMessage
{
    quint32 packed;
    /// Time since the output was opened.
    std::chrono::nanoseconds time;
    /// When it is due on the music clock; none for a message sent to sound at once.
    std::optional<std::chrono::nanoseconds> due;
};

/// Keeps every packed message with the time it arrived and its stamp, for
/// tests and for measuring when the music plays.
class RecordingOutput : public MidiOutput
{
public:
    bool open() override;
    void send(quint32 packed) override;
    void sendAt(quint32 packed, std::chrono::nanoseconds due, const MusicClock &clock) override;
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    QString kind() const override { return QStringLiteral("record"); }
    /// A recorder has no listener; it answers as told, to stand in for outputs that do.
    QString inaudibleReason() const override { return m_inaudible; }
    void setInaudibleReason(const QString &reason) { m_inaudible = reason; }

    const std::vector<RecordedMessage> &messages() const { return m_messages; }
    void clear() { m_messages.clear(); }

private:
    bool m_open = false;
    std::chrono::steady_clock::time_point m_start;
    std::vector<RecordedMessage> m_messages;
    QString m_inaudible;
};

} // namespace velmora
