#pragma once

// Reading rendered audio back: samples from a WAV file and the onsets of the notes in it.

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <optional>
#include <vector>

namespace velmora::test {

// The left and right channels of a 16-bit PCM WAV file mixed to one; empty when it is not one.
inline std::vector<float> readWavMono(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return {};
    int channels = 0, bits = 0;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        const auto size = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        const char *body = bytes.constData() + at + 8;
        if (id == "fmt ") {
            channels = qFromLittleEndian<quint16>(body + 2);
            bits = qFromLittleEndian<quint16>(body + 14);
        } else if (id == "data" && channels > 0 && bits == 16) {
            const qsizetype frames =
                std::min<qsizetype>(size, bytes.size() - at - 8) / (2 * channels);
            std::vector<float> mono(size_t(frames), 0.0f);
            for (qsizetype i = 0; i < frames; ++i)
                for (int c = 0; c < channels; ++c)
                    mono[size_t(i)] +=
                        float(qFromLittleEndian<qint16>(body + 2 * (i * channels + c))) / 32768.0f;
            return mono;
        }
        at += 8 + qsizetype(size) + (size & 1);
    }
    return {};
}

// Finds note attacks in a mix where older notes go on sounding: the energy of the signal's first
// difference (which a struck note fills and a decaying one hardly does) jumps far above its level
// just before.
class OnsetFinder
{
public:
    explicit OnsetFinder(const std::vector<float> &x)
        : m_sum(x.size() + 1, 0.0)
    {
        for (size_t i = 1; i < x.size(); ++i) {
            const double d = double(x[i]) - double(x[i - 1]);
            m_sum[i + 1] = m_sum[i] + d * d;
        }
    }

    // The first attack that starts in [from, to), in frames.
    std::optional<long> find(long from, long to) const
    {
        constexpr long kWindow = 32;
        constexpr long kBefore = 441; // 10 ms of what was sounding already
        constexpr double kRise = 10.0;
        constexpr double kLeave = 2.0;
        const long last = long(m_sum.size()) - 1 - kWindow;
        for (long s = std::max(from, kBefore); s < std::min(to, last); ++s) {
            const double perFrame = energy(s - kBefore, s) / double(kBefore);
            if (energy(s, s + kWindow) > 1e-6 &&
                energy(s, s + kWindow) > kRise * perFrame * kWindow) {
                // The window caught the attack. Its start is where the signal first leaves
                // what sounded before: back from the first frame that stands out, as long as
                // short stretches stay above that level.
                long i = s;
                while (i < s + kWindow && energy(i, i + 1) <= kRise * perFrame)
                    ++i;
                constexpr long kStretch = 8;
                while (i > s - kWindow &&
                       energy(i - kStretch, i) > kLeave * perFrame * double(kStretch))
                    --i;
                return i;
            }
        }
        return std::nullopt;
    }

private:
    double energy(long a, long b) const { return m_sum[size_t(b)] - m_sum[size_t(a)]; }
    std::vector<double> m_sum;
};

} // namespace velmora::test
