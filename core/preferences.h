#pragma once

#include "core/settingsfile.h"

#include <QString>
#include <QVariantMap>

#include <array>
#include <optional>

namespace velmora {

/// A city picked from the atlas, whose time zone the place follows.
struct PlacePreference
{
    QString name;
    QString region;
    QString country;
    /// The tz database's name of the city's zone.
    QString zone;
    /// Degrees, north and east positive.
    double latitude = 0;
    double longitude = 0;

    friend bool operator==(const PlacePreference &, const PlacePreference &) = default;
};

/// The zoom steps of the window, in percent.
inline constexpr std::array<int, 7> kZoomSteps{100, 125, 150, 175, 200, 250, 300};

/// What the program remembers beyond the five lines of Settings.txt (the sound output, the zoom,
/// the place picked from the atlas...), kept in one INI file beside it under the same folder
/// rules. The window reads it once at start-up and hands each subsystem its values; no
/// subsystem opens the file itself.
///
/// The values live in memory; save() writes them all. A missing, damaged or unreadable file
/// gives the defaults, and a value of the wrong kind reads as its default, so the file can
/// never stop the program from starting.
class Preferences
{
public:
    static constexpr const char *kFileName = "Velmora.ini";

    /// Reads the file the location finds (see SettingsLocation::readPath).
    explicit Preferences(QString programFolder, QString configFolder);

    /// Name of the MIDI output last chosen; empty when none is remembered.
    QString midiOutput() const;
    void setMidiOutput(const QString &name);

    /// Zoom of the window in percent, one of kZoomSteps; 100 when none is remembered or the
    /// value is not one of the steps.
    int zoomPercent() const;
    void setZoomPercent(int percent);

    /// The MIDI file last recorded; empty when none is remembered.
    QString lastRecording() const;
    void setLastRecording(const QString &path);

    /// The city the place follows; nothing when none is kept or the stored one lacks its name,
    /// its zone or coordinates on the globe.
    std::optional<PlacePreference> keptPlace() const;
    void setKeptPlace(const PlacePreference &place);
    void clearKeptPlace();

    /// Any other value by key ("Group/name"); the default when absent.
    QVariant value(const QString &key, const QVariant &fallback = {}) const;
    void setValue(const QString &key, const QVariant &value);
    void remove(const QString &key);
    bool contains(const QString &key) const;

    /// Writes every value through a temporary file that replaces the old one only when complete.
    /// False when the file cannot be written; the values stay in memory.
    bool save();

    /// The file read at construction, and the file save() writes.
    QString readPath() const { return m_location.readPath(); }
    QString writePath() const { return m_location.writePath(); }

private:
    SettingsLocation m_location;
    QVariantMap m_values;
};

} // namespace velmora
