#pragma once

// The real window for tests: a scratch program folder, never beside the real settings, a fixed
// present and the recording MIDI output.

#include "app/frmvelmora.h"

#include <QFile>

#include <memory>

namespace velmora::test {

inline frmVelmora::Environment environment(const QString &folder, int screenHeight = 1024)
{
    frmVelmora::Environment env;
    env.screenHeight = [screenHeight] {
        return screenHeight;
    };
    env.programFolder = folder;
    env.configFolder = folder + QStringLiteral("/config");
    env.midiOutput = QStringLiteral("record");
    env.now = [] {
        return QDateTime(QDate(2026, 12, 6), QTime(11, 30, 0));
    };
    return env;
}

/// A window through its start-up, not yet shown.
inline std::unique_ptr<frmVelmora> startedWindow(frmVelmora::Environment env)
{
    auto w = std::make_unique<frmVelmora>(std::move(env));
    w->Form_Load();
    return w;
}
inline std::unique_ptr<frmVelmora> startedWindow(const QString &folder)
{
    return startedWindow(environment(folder));
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace velmora::test
