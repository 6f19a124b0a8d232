#include "core/preferences.h"

#include <QFileInfo>
#include <QSettings>

#include <algorithm>

namespace velmora {

namespace {

const auto kOutputKey = QStringLiteral("Sound/Output");
const auto kZoomKey = QStringLiteral("View/Zoom");
// A preferences file is a few lines; anything larger is not one of ours.
constexpr qint64 kMaxFileBytes = 64 * 1024;

} // namespace

Preferences::Preferences(QString programFolder, QString configFolder)
    : m_location(std::move(programFolder), std::move(configFolder), QString::fromLatin1(kFileName))
{
    const QString path = m_location.readPath();
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxFileBytes)
        return;
    const QSettings file(path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError)
        return;
    for (const QString &key : file.allKeys())
        m_values.insert(key, file.value(key));
}

QString Preferences::midiOutput() const
{
    return m_values.value(kOutputKey).toString().trimmed();
}

void Preferences::setMidiOutput(const QString &name)
{
    m_values.insert(kOutputKey, name);
}

int Preferences::zoomPercent() const
{
    bool ok = false;
    const int percent = m_values.value(kZoomKey).toString().toInt(&ok);
    return ok && std::ranges::find(kZoomSteps, percent) != kZoomSteps.end() ? percent
                                                                            : kZoomSteps[0];
}

void Preferences::setZoomPercent(int percent)
{
    m_values.insert(kZoomKey, percent);
}

QVariant Preferences::value(const QString &key, const QVariant &fallback) const
{
    return m_values.value(key, fallback);
}

void Preferences::setValue(const QString &key, const QVariant &value)
{
    m_values.insert(key, value);
}

void Preferences::remove(const QString &key)
{
    m_values.remove(key);
}

bool Preferences::contains(const QString &key) const
{
    return m_values.contains(key);
}

bool Preferences::save()
{
    QSettings file(m_location.writePath(), QSettings::IniFormat);
    // Rewritten whole, so keys of a damaged or older file do not linger.
    file.clear();
    for (auto it = m_values.cbegin(); it != m_values.cend(); ++it)
        file.setValue(it.key(), it.value());
    file.sync();
    return file.status() == QSettings::NoError;
}

} // namespace velmora
