#pragma once

// Watches a file grow: when each byte of it was first seen written. The heard-beat benchmark
// times the onsets in a WAV file by it, since a file driver's frame is "heard" when it is written,
// and finds from it when the driver's audio clock started.

#include <QFile>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <optional>
#include <pthread.h>
#include <sched.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <utility>
#include <vector>

namespace velmora::bench {

// When each byte of a growing file was first seen written, from a thread polling its size.
class FileGrowth
{
public:
    explicit FileGrowth(const QString &path)
        : m_path(QFile::encodeName(path).toStdString())
        , m_thread([this] { watch(); })
    {}
    ~FileGrowth() { stop(); }
    FileGrowth(const FileGrowth &) = delete;
    FileGrowth &operator=(const FileGrowth &) = delete;

    void stop()
    {
        m_running = false;
        if (m_thread.joinable())
            m_thread.join();
    }
    // The first moment the file was seen at least `size` bytes long.
    std::optional<std::chrono::steady_clock::time_point> reached(qint64 size) const
    {
        const auto it = std::lower_bound(m_seen.begin(), m_seen.end(), size,
                                         [](const auto &seen, qint64 s) { return seen.first < s; });
        if (it == m_seen.end())
            return std::nullopt;
        return it->second;
    }

    // When a file audio driver writing this file started its audio clock, for a file of
    // `header` bytes before frames of `frameBytes`. A sound card plays frame f at a fixed latency
    // after its start plus f / rate; the file driver instead writes each 64-frame block at the
    // first tick of its millisecond timer at or after the block's start, in whole milliseconds,
    // and later when the machine is busy, so its writes wander by a millisecond or more around
    // that line. None comes before it: the earliest of (time seen - the block's start, floored to
    // the millisecond) over the run is the start.
    std::optional<std::chrono::steady_clock::time_point>
    audioClockStart(qint64 header, qint64 frameBytes, double rate) const
    {
        std::optional<std::chrono::steady_clock::time_point> start;
        for (const auto &[size, at] : m_seen) {
            const qint64 blocks = (size - header) / frameBytes / 64;
            if (blocks < 1)
                continue;
            const double blockStartMs = std::floor(double(blocks - 1) * 64 * 1000.0 / rate);
            const auto candidate =
                at - std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                         std::chrono::duration<double, std::milli>(blockStartMs));
            if (!start || candidate < *start)
                start = candidate;
        }
        return start;
    }

private:
    void watch()
    {
        // At the priority FluidSynth gives its own driver thread where it may (as root), so the
        // watch is not held up by unrelated work any more than the writing is.
        sched_param param{};
        param.sched_priority = 10;
        pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
        struct stat info
        {};
        qint64 last = -1;
        while (m_running) {
            const std::chrono::steady_clock::time_point now = std::chrono::steady_clock::now();
            if (::stat(m_path.c_str(), &info) == 0 && qint64(info.st_size) > last) {
                last = qint64(info.st_size);
                m_seen.emplace_back(last, now);
            }
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
    }

    std::string m_path;
    std::atomic<bool> m_running{true};
    std::vector<std::pair<qint64, std::chrono::steady_clock::time_point>> m_seen;
    std::thread m_thread;
};

} // namespace velmora::bench
