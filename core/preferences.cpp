#include "core/preferences.h"

#include <QFileInfo>
#include <QLocale>
#include <QSettings>

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

const auto kOutputKey = QStringLiteral("Sound/Output");
const auto kZoomKey = QStringLiteral("View/Zoom");
const auto kRecordingKey = QStringLiteral("Music/LastRecording");
const auto kPlaceName = QStringLiteral("Place/City");
const auto kPlaceRegion = QStringLiteral("Place/Region");
const auto kPlaceCountry = QStringLiteral("Place/Country");
const auto kPlaceZone = QStringLiteral("Place/Zone");
const auto kPlaceLatitude = QStringLiteral("Place/Latitude");
const auto kPlaceLongitude = QStringLiteral("Place/Longitude");
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

QString Preferences::lastRecording() const
{
    return m_values.value(kRecordingKey).toString();
}

void Preferences::setLastRecording(const QString &path)
{
    m_values.insert(kRecordingKey, path);
}

std::optional<PlacePreference> Preferences::keptPlace() const
{
    PlacePreference place;
    place.name = m_values.value(kPlaceName).toString().trimmed();
    place.region = m_values.value(kPlaceRegion).toString().trimmed();
    place.country = m_values.value(kPlaceCountry).toString().trimmed();
    place.zone = m_values.value(kPlaceZone).toString().trimmed();
    bool latOk = false;
    bool lonOk = false;
    place.latitude = m_values.value(kPlaceLatitude).toString().toDouble(&latOk);
    place.longitude = m_values.value(kPlaceLongitude).toString().toDouble(&lonOk);
    if (place.name.isEmpty() || place.zone.isEmpty() || !latOk || !lonOk ||
        !(std::fabs(place.latitude) <= 90) || !(std::fabs(place.longitude) <= 180))
        return std::nullopt;
    return place;
}

void Preferences::setKeptPlace(const PlacePreference &place)
{
    m_values.insert(kPlaceName, place.name);
    m_values.insert(kPlaceRegion, place.region);
    m_values.insert(kPlaceCountry, place.country);
    m_values.insert(kPlaceZone, place.zone);
    // The shortest text that reads back as the same number.
    m_values.insert(kPlaceLatitude,
                    QString::number(place.latitude, 'g', QLocale::FloatingPointShortest));
    m_values.insert(kPlaceLongitude,
                    QString::number(place.longitude, 'g', QLocale::FloatingPointShortest));
}

void Preferences::clearKeptPlace()
{
    for (const QString &key :
         {kPlaceName, kPlaceRegion, kPlaceCountry, kPlaceZone, kPlaceLatitude, kPlaceLongitude})
        m_values.remove(key);
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
