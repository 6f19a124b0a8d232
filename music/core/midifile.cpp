#include "music/core/midifile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>

namespace velmora {

namespace {

using std::chrono::nanoseconds;

struct Segment
{
    qint64 tick;
    double readerStartNs; // the segment's start as a reader reckons it from the ticks
    quint32 uspq;
};

// Maps times to ticks the way a reader maps them back: each segment starts where the reader
// believes its tempo event lies, so no rounding error carries over from one segment to the next.
class TickMap
{
public:
    explicit TickMap(const std::vector<MidiRecording::Tempo> &tempi)
    {
        std::vector<MidiRecording::Tempo> sorted = tempi;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const auto &a, const auto &b) { return a.time < b.time; });
        if (sorted.empty() || sorted.front().time > nanoseconds(0))
            sorted.insert(sorted.begin(),
                          {nanoseconds(0), sorted.empty() ? 120.0 : sorted.front().beatsPerMinute});
        m_segments.push_back({0, 0.0, microsecondsPerQuarter(sorted.front().beatsPerMinute)});
        for (size_t i = 1; i < sorted.size(); ++i) {
            const qint64 tick = tickAt(sorted[i].time);
            Segment &last = m_segments.back();
            const quint32 uspq = microsecondsPerQuarter(sorted[i].beatsPerMinute);
            if (tick == last.tick) {
                // Two tempi on one tick: the later one holds.
                last.uspq = uspq;
                continue;
            }
            const double start = last.readerStartNs + double(tick - last.tick) * double(last.uspq) *
                                                          1000.0 / kMidiFileTicksPerQuarter;
            m_segments.push_back({tick, start, uspq});
        }
    }

    qint64 tickAt(nanoseconds time) const
    {
        const double t = double(std::max<qint64>(time.count(), 0));
        auto it = std::upper_bound(m_segments.begin(), m_segments.end(), t,
                                   [](double v, const Segment &s) { return v < s.readerStartNs; });
        const Segment &s = *std::prev(it);
        const double ticks =
            (t - s.readerStartNs) * kMidiFileTicksPerQuarter / (double(s.uspq) * 1000.0);
        return std::max(s.tick, s.tick + std::llround(ticks));
    }

    const std::vector<Segment> &segments() const { return m_segments; }

private:
    std::vector<Segment> m_segments;
};

struct Event
{
    qint64 tick;
    QByteArray bytes;
    bool removed = false;
};

QByteArray bytesOf(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

int statusOf(quint32 packed)
{
    return int(packed & 0xF0u);
}

QByteArray channelBytes(quint32 packed)
{
    QByteArray b;
    b.append(char(packed & 0xFFu));
    b.append(char((packed >> 8) & 0x7Fu));
    const int status = statusOf(packed);
    if (status != 0xC0 && status != 0xD0)
        b.append(char((packed >> 16) & 0x7Fu));
    return b;
}

QByteArray noteOff(int channel, int key, int velocity)
{
    return bytesOf({0x80 | channel, key, velocity});
}

void appendVariableLength(QByteArray &out, quint32 value)
{
    std::array<char, 5> groups{};
    int n = 0;
    do {
        groups[size_t(n++)] = char(value & 0x7Fu);
        value >>= 7;
    } while (value != 0);
    while (n-- > 0)
        out.append(char(groups[size_t(n)] | (n > 0 ? 0x80 : 0)));
}

void appendBigEndian(QByteArray &out, quint32 value, int bytes)
{
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out.append(char((value >> shift) & 0xFFu));
}

QByteArray tempoEvent(quint32 uspq)
{
    QByteArray b("\xFF\x51\x03", 3);
    appendBigEndian(b, uspq, 3);
    return b;
}

} // namespace

quint32 microsecondsPerQuarter(double beatsPerMinute)
{
    if (!(beatsPerMinute > 0.0))
        return 500000;
    const double uspq = std::round(60'000'000.0 / beatsPerMinute);
    return quint32(std::clamp(uspq, 1.0, double(0xFFFFFF)));
}

QByteArray standardMidiFile(const MidiRecording &recording)
{
    const TickMap map(recording.tempi);

    // The messages on their ticks; at one tick they keep the order they were sent in.
    struct Timed
    {
        qint64 tick;
        quint32 packed;
    };
    std::vector<Timed> timed;
    timed.reserve(recording.messages.size());
    for (const auto &m : recording.messages) {
        const int status = statusOf(m.packed);
        if ((m.packed & 0x80u) == 0 || status == 0xF0)
            continue;
        timed.push_back({map.tickAt(m.time), m.packed});
    }
    std::stable_sort(timed.begin(), timed.end(),
                     [](const Timed &a, const Timed &b) { return a.tick < b.tick; });

    std::vector<Event> events;
    for (const Segment &s : map.segments())
        events.push_back({s.tick, tempoEvent(s.uspq)});
    events.push_back({0, bytesOf({0xB0, 0, recording.bankCoarse & 0x7F})});
    events.push_back({0, bytesOf({0xB0, 32, recording.bankFine & 0x7F})});
    events.push_back({0, bytesOf({0xC0, recording.program & 0x7F})});
    // Meta events sort before the channel messages of their tick.
    std::stable_sort(events.begin(), events.end(),
                     [](const Event &a, const Event &b) { return a.tick < b.tick; });

    // Index of the note-on of each sounding key, per channel.
    std::array<std::array<int, 128>, 16> sounding;
    for (auto &c : sounding)
        c.fill(-1);
    auto release = [&](int channel, int key, qint64 tick, int velocity) {
        int &on = sounding[size_t(channel)][size_t(key)];
        if (events[size_t(on)].tick == tick)
            events[size_t(on)].removed = true; // a note of no length is no note
        else
            events.push_back({tick, noteOff(channel, key, velocity)});
        on = -1;
    };
    for (const Timed &t : timed) {
        const int status = statusOf(t.packed);
        const int channel = int(t.packed & 0x0Fu);
        const int key = int((t.packed >> 8) & 0x7Fu);
        const int velocity = int((t.packed >> 16) & 0x7Fu);
        const bool on = status == 0x90 && velocity > 0;
        const bool off = status == 0x80 || (status == 0x90 && velocity == 0);
        if (on) {
            if (sounding[size_t(channel)][size_t(key)] >= 0)
                release(channel, key, t.tick, 64);
            sounding[size_t(channel)][size_t(key)] = int(events.size());
            events.push_back({t.tick, channelBytes(t.packed)});
        } else if (off) {
            if (sounding[size_t(channel)][size_t(key)] >= 0)
                release(channel, key, t.tick, velocity);
        } else {
            events.push_back({t.tick, channelBytes(t.packed)});
        }
    }
    qint64 endTick = map.tickAt(recording.end);
    for (const Event &e : events)
        endTick = std::max(endTick, e.tick);
    // A note struck as the recording ends (a window closed on the beat) is kept, one tick long.
    for (int channel = 0; channel < 16; ++channel) {
        for (int key = 0; key < 128; ++key) {
            const int on = sounding[size_t(channel)][size_t(key)];
            if (on >= 0)
                release(channel, key, std::max(endTick, events[size_t(on)].tick + 1), 64);
        }
    }

    std::stable_sort(events.begin(), events.end(),
                     [](const Event &a, const Event &b) { return a.tick < b.tick; });
    QByteArray track;
    qint64 previous = 0;
    for (const Event &e : events) {
        if (e.removed)
            continue;
        appendVariableLength(track, quint32(e.tick - previous));
        track.append(e.bytes);
        previous = e.tick;
    }
    appendVariableLength(track, quint32(std::max(endTick, previous) - previous));
    track.append("\xFF\x2F\x00", 3);

    QByteArray file("MThd", 4);
    appendBigEndian(file, 6, 4);
    appendBigEndian(file, 0, 2); // format 0
    appendBigEndian(file, 1, 2); // one track
    appendBigEndian(file, kMidiFileTicksPerQuarter, 2);
    file.append("MTrk", 4);
    appendBigEndian(file, quint32(track.size()), 4);
    file.append(track);
    return file;
}

std::optional<MidiFileContents> readMidiFile(const QByteArray &bytes)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qint64 size = bytes.size();
    auto be = [&](qint64 at, int n) {
        quint32 v = 0;
        for (int i = 0; i < n; ++i)
            v = (v << 8) | data[at + i];
        return v;
    };
    if (size < 14 || !bytes.startsWith("MThd") || be(4, 4) < 6)
        return std::nullopt;
    const quint32 format = be(8, 2);
    const quint32 tracks = be(10, 2);
    const quint32 division = be(12, 2);
    if (format > 1 || tracks == 0 || division == 0)
        return std::nullopt;

    struct Tick
    {
        qint64 tick;
        quint32 packed;
    };
    struct TempoAt
    {
        qint64 tick;
        quint32 uspq;
    };
    std::vector<Tick> ticks;
    std::vector<TempoAt> tempi;
    qint64 lastTick = 0;
    qint64 at = 8 + qint64(be(4, 4));
    for (quint32 t = 0; t < tracks; ++t) {
        if (at + 8 > size || std::memcmp(data + at, "MTrk", 4) != 0)
            return std::nullopt;
        const qint64 end = at + 8 + qint64(be(at + 4, 4));
        if (end > size)
            return std::nullopt;
        at += 8;
        qint64 tick = 0;
        unsigned char running = 0;
        auto vlq = [&]() -> std::optional<quint32> {
            quint32 v = 0;
            for (int i = 0; i < 4 && at < end; ++i) {
                const unsigned char b = data[at++];
                v = (v << 7) | (b & 0x7Fu);
                if ((b & 0x80u) == 0)
                    return v;
            }
            return std::nullopt;
        };
        while (at < end) {
            const auto delta = vlq();
            if (!delta || at >= end)
                return std::nullopt;
            tick += *delta;
            unsigned char status = data[at];
            if (status & 0x80u)
                ++at;
            else if (running)
                status = running;
            else
                return std::nullopt;
            if (status == 0xFF) {
                if (at >= end)
                    return std::nullopt;
                const unsigned char type = data[at++];
                const auto length = vlq();
                if (!length || at + qint64(*length) > end)
                    return std::nullopt;
                if (type == 0x51 && *length == 3)
                    tempi.push_back({tick, be(at, 3)});
                at += *length;
                running = 0;
                if (type == 0x2F)
                    break;
            } else if (status == 0xF0 || status == 0xF7) {
                const auto length = vlq();
                if (!length || at + qint64(*length) > end)
                    return std::nullopt;
                at += *length;
                running = 0;
            } else {
                const bool one = (status & 0xF0u) == 0xC0 || (status & 0xF0u) == 0xD0;
                if (at + (one ? 1 : 2) > end)
                    return std::nullopt;
                const quint32 data1 = data[at] & 0x7Fu;
                const quint32 data2 = one ? 0 : data[at + 1] & 0x7Fu;
                ticks.push_back({tick, status | (data1 << 8) | (data2 << 16)});
                at += one ? 1 : 2;
                running = status;
            }
        }
        lastTick = std::max(lastTick, tick);
        at = end;
    }

    // Ticks to times: frames of SMPTE time, or quarter notes at the tempo in force.
    std::function<double(qint64)> timeNs;
    if (division & 0x8000u) {
        const int fps = -int(qint8(division >> 8));
        const int perFrame = int(division & 0xFFu);
        if (fps <= 0 || perFrame == 0)
            return std::nullopt;
        timeNs = [=](qint64 tick) {
            return double(tick) * 1e9 / (fps * perFrame);
        };
    } else {
        std::stable_sort(tempi.begin(), tempi.end(),
                         [](const TempoAt &a, const TempoAt &b) { return a.tick < b.tick; });
        timeNs = [tempi, division](qint64 tick) {
            double ns = 0;
            qint64 from = 0;
            quint32 uspq = 500000;
            for (const TempoAt &tempo : tempi) {
                if (tempo.tick >= tick)
                    break;
                ns += double(tempo.tick - from) * uspq * 1000.0 / division;
                from = tempo.tick;
                uspq = tempo.uspq;
            }
            return ns + double(tick - from) * uspq * 1000.0 / division;
        };
    }
    // The tracks of a format 1 file play together; at one tick, in file order.
    std::stable_sort(ticks.begin(), ticks.end(),
                     [](const Tick &a, const Tick &b) { return a.tick < b.tick; });
    MidiFileContents contents;
    contents.messages.reserve(ticks.size());
    for (const Tick &t : ticks)
        contents.messages.push_back({t.packed, nanoseconds(qint64(timeNs(t.tick)))});
    contents.length = nanoseconds(qint64(timeNs(lastTick)));
    return contents;
}

std::optional<std::chrono::nanoseconds> midiFileLength(const QByteArray &bytes)
{
    const auto contents = readMidiFile(bytes);
    return contents ? std::optional(contents->length) : std::nullopt;
}

std::optional<QString> writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return why;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

std::optional<QString> checkWritable(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("it is a folder");
    if (!info.dir().exists())
        return QStringLiteral("the folder %1 does not exist").arg(info.dir().path());
    if (info.exists() && !info.isWritable())
        return QStringLiteral("the file is read-only");
    QSaveFile probe(path);
    if (!probe.open(QIODevice::WriteOnly))
        return probe.errorString();
    probe.cancelWriting();
    return std::nullopt;
}

} // namespace velmora
