#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace velmora {

/// The values the settings file keeps, each present only when the file held a usable value.
/// A value that is missing, out of its list or unreadable stays empty, and the window keeps its
/// design value for that control.
struct SettingsValues
{
    // Line 1.
    std::optional<QString> combination;
    // Line 2.
    std::optional<QString> speed;
    std::optional<int> changeIndex; // cmbChange, 0..8
    std::optional<int> octaveIndex; // cmbOct, 0..5
    std::optional<int> jumpUnit;    // optTJ, 0..5
    std::optional<int> instrument;  // cmbInstrument, 0..127
    // Line 3.
    std::optional<QString> minVolume;
    std::optional<QString> maxVolume;
    std::optional<QString> pitch;
    // Line 4.
    std::optional<QString> latitude;
    std::optional<QString> longitude;
    std::optional<QString> timeZone;
    // Line 5.
    std::optional<bool> yearMode; // chkCHMod

    friend bool operator==(const SettingsValues &, const SettingsValues &) = default;
};

/// The complete set the window writes at shutdown.
struct SettingsSnapshot
{
    QString combination;
    QString speed;
    int changeIndex = 0;
    int octaveIndex = 0;
    int jumpUnit = 0;
    int instrument = 0;
    QString minVolume;
    QString maxVolume;
    QString pitch;
    QString latitude;
    QString longitude;
    QString timeZone;
    bool yearMode = false;
};

/// Limits of the lists the file indexes.
inline constexpr int kChangeCount = 9;
inline constexpr int kOctaveCount = 6;
inline constexpr int kJumpUnitCount = 6;
inline constexpr int kInstrumentCount = 128;
/// Longest box text the reader accepts; anything longer is not something a box held.
inline constexpr int kMaxSettingsText = 256;

/// Reads the five TAB-separated lines. The file format trusts its writer; this reader does not:
/// every field is checked on its own and only usable values are returned.
SettingsValues parseSettings(const QByteArray &bytes);

/// The five lines, CR LF ended, single-byte text. Texts holding TAB or line breaks cannot be
/// stored; such characters are replaced by spaces so the lines keep their fields.
QByteArray formatSettings(const SettingsSnapshot &values);

/// Where the file lives: the program folder of a copy run from where it was built, when that
/// folder can be written; else the user's configuration folder. An installed copy always uses
/// the configuration folder: its files belong to the system, and one user's settings left there
/// would become every user's. The same rules place the preferences file beside it.
class SettingsLocation
{
public:
    static constexpr const char *kFileName = "Settings.txt";

    SettingsLocation(QString programFolder, QString configFolder,
                     QString fileName = QString::fromLatin1(kFileName));

    /// True for a program folder in the installed layout, <prefix>/lib/velmora.
    static bool isInstalledFolder(const QString &programFolder);

    /// The file to read: the configuration folder's copy when the program folder is not the
    /// settings' home and that copy exists, else the program folder's.
    QString readPath() const;
    /// The file to write: in the program folder when it is the settings' home, else in the
    /// configuration folder (created on demand).
    QString writePath() const;

private:
    bool keepsSettingsInProgramFolder() const;

    QString m_programFolder;
    QString m_configFolder;
    QString m_fileName;
};

/// Reads a settings file; nothing when it is missing or unreadable. Files larger than a settings
/// file could be are read only as far as the five lines need.
std::optional<SettingsValues> readSettingsFile(const QString &path);

/// Writes the file through a temporary file that replaces the old one only when the whole new
/// file is written, so a failure leaves the previous file as it was. Returns false on failure.
bool writeSettingsFile(const QString &path, const QByteArray &bytes);

} // namespace velmora
