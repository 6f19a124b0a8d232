#pragma once

// What every benchmark program shares: the offscreen application, a started window against the
// recording output and a fixed clock, and the resident memory of the process.

#include "app/frmvelmora.h"
#include "music/core/midimodule.h"
#include "music/midi/recordingoutput.h"

#include <QApplication>
#include <QDate>
#include <QFile>
#include <QTime>

#include <benchmark/benchmark.h>
#include <memory>

namespace velmora::bench {

/// Resident set size of this process in MiB (VmRSS), or -1 where /proc is not there.
inline double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith("VmRSS:")) {
            // "VmRSS:     123456 kB"
            const QByteArray kb = line.mid(6).trimmed().split(' ').value(0);
            return kb.toDouble() / 1024.0;
        }
    }
    return -1;
}

/// The window as the program starts it, except for the clock (a fixed Sunday morning) and the
/// sound (recorded, never played). The program folder is the benchmark's own, where the build
/// copies the symbol font and the books; the window is never closed, so no settings are written.
inline frmVelmora::Environment windowEnvironment()
{
    frmVelmora::Environment env;
    env.screenHeight = [] {
        return 1024;
    };
    env.programFolder = QCoreApplication::applicationDirPath();
    env.configFolder = env.programFolder + QStringLiteral("/bench-config");
    env.midiOutput = QStringLiteral("record");
    env.now = [] {
        return QDateTime(QDate(2026, 12, 6), QTime(11, 30, 0));
    };
    env.releaseEphemeris = [] {
    };
    return env;
}

inline std::unique_ptr<frmVelmora> startedWindow()
{
    auto w = std::make_unique<frmVelmora>(windowEnvironment());
    w->Form_Load();
    QCoreApplication::sendPostedEvents();
    return w;
}

/// Runs a handler and then delivers the events it posted, as the event loop would before the
/// next one; without this they pile up over thousands of iterations.
template <class Handler> void handle(Handler &&handler)
{
    handler();
    QCoreApplication::sendPostedEvents();
}

/// Drops what the recording output has kept, so long benchmarks do not grow the process.
inline void forgetRecordedMessages(frmVelmora &w)
{
    if (auto *out = dynamic_cast<RecordingOutput *>(w.midi().output()))
        out->clear();
}

/// The main of every benchmark program: an offscreen application, then the registered benchmarks.
inline int runBenchmarks(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace velmora::bench
