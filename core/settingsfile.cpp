#include "core/settingsfile.h"

#include "core/numeric.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

#include <cmath>

namespace velmora {

namespace {

// More than five lines of the longest texts could ever need.
constexpr qint64 kMaxFileBytes = 64 * 1024;

/// A box text is usable when it is short single-line printable text.
std::optional<QString> usableText(const QByteArray &field)
{
    if (field.size() > kMaxSettingsText)
        return std::nullopt;
    for (char ch : field) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F)
            return std::nullopt;
    }
    return QString::fromLatin1(field);
}

/// A list index is usable when the field starts with a whole number inside the list.
std::optional<int> usableIndex(const QByteArray &field, int count)
{
    const auto text = usableText(field);
    if (!text)
        return std::nullopt;
    // A field that does not start with a number is not an index (its plain numeric value would
    // read as 0 and silently select the first entry).
    const std::optional<double> leading = leadingNumber(*text);
    if (!leading)
        return std::nullopt;
    const double v = *leading;
    const double r = roundHalfEven(v);
    if (r < 0 || r >= count)
        return std::nullopt;
    return static_cast<int>(r);
}

QList<QByteArray> splitLines(QByteArray bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    // A final line break closes the last line rather than starting an empty one.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QByteArray field(const QList<QByteArray> &fields, int i)
{
    return i < fields.size() ? fields.at(i) : QByteArray();
}

bool has(const QList<QByteArray> &fields, int i)
{
    return i < fields.size();
}

QByteArray storable(const QString &text)
{
    QString t = text;
    t.replace(u'\t', u' ').replace(u'\r', u' ').replace(u'\n', u' ');
    return t.toLatin1();
}

} // namespace

SettingsValues parseSettings(const QByteArray &bytes)
{
    SettingsValues v;
    const QList<QByteArray> lines = splitLines(bytes);
    if (lines.isEmpty())
        return v;

    if (auto t = usableText(lines.at(0)); t && !t->trimmed().isEmpty())
        v.combination = t;

    if (lines.size() > 1) {
        const QList<QByteArray> f = lines.at(1).split('\t');
        if (has(f, 0))
            v.speed = usableText(field(f, 0));
        if (has(f, 1))
            v.changeIndex = usableIndex(field(f, 1), kChangeCount);
        if (has(f, 2))
            v.octaveIndex = usableIndex(field(f, 2), kOctaveCount);
        if (has(f, 3))
            v.jumpUnit = usableIndex(field(f, 3), kJumpUnitCount);
        if (has(f, 4))
            v.instrument = usableIndex(field(f, 4), kInstrumentCount);
    }
    if (lines.size() > 2) {
        const QList<QByteArray> f = lines.at(2).split('\t');
        if (has(f, 0))
            v.minVolume = usableText(field(f, 0));
        if (has(f, 1))
            v.maxVolume = usableText(field(f, 1));
        if (has(f, 2))
            v.pitch = usableText(field(f, 2));
    }
    if (lines.size() > 3) {
        const QList<QByteArray> f = lines.at(3).split('\t');
        if (has(f, 0))
            v.latitude = usableText(field(f, 0));
        if (has(f, 1))
            v.longitude = usableText(field(f, 1));
        if (has(f, 2))
            v.timeZone = usableText(field(f, 2));
    }
    if (lines.size() > 4) {
        // The check box's value as a number: 0 clear, 1 ticked, anything else unusable.
        if (const auto ticked = usableIndex(lines.at(4), 2))
            v.yearMode = *ticked == 1;
    }
    return v;
}

QByteArray formatSettings(const SettingsSnapshot &s)
{
    QByteArray out;
    const QByteArray crlf("\r\n");
    out += storable(s.combination) + crlf;
    out += storable(s.speed) + '\t' + QByteArray::number(s.changeIndex) + '\t' +
           QByteArray::number(s.octaveIndex) + '\t' + QByteArray::number(s.jumpUnit) + '\t' +
           QByteArray::number(s.instrument) + crlf;
    out += storable(s.minVolume) + '\t' + storable(s.maxVolume) + '\t' + storable(s.pitch) + crlf;
    out += storable(s.latitude) + '\t' + storable(s.longitude) + '\t' + storable(s.timeZone) + crlf;
    out += QByteArray(" ") + (s.yearMode ? "1" : "0") + " " + crlf;
    return out;
}

SettingsLocation::SettingsLocation(QString programFolder, QString configFolder, QString fileName)
    : m_programFolder(std::move(programFolder))
    , m_configFolder(std::move(configFolder))
    , m_fileName(std::move(fileName))
{}

bool SettingsLocation::isInstalledFolder(const QString &programFolder)
{
    const QString folder = QDir::cleanPath(programFolder);
    return folder.endsWith(QLatin1Char('/') + QLatin1String(VELMORA_INSTALL_DIR));
}

bool SettingsLocation::keepsSettingsInProgramFolder() const
{
    if (isInstalledFolder(m_programFolder))
        return false;
    const QFileInfo folder(m_programFolder);
    if (!folder.isDir() || !folder.isWritable())
        return false;
    const QFileInfo file(QDir(m_programFolder).filePath(m_fileName));
    return !file.exists() || file.isWritable();
}

QString SettingsLocation::readPath() const
{
    const QString inProgram = QDir(m_programFolder).filePath(m_fileName);
    if (!keepsSettingsInProgramFolder() && !m_configFolder.isEmpty()) {
        const QString inConfig = QDir(m_configFolder).filePath(m_fileName);
        if (QFileInfo::exists(inConfig))
            return inConfig;
    }
    return inProgram;
}

QString SettingsLocation::writePath() const
{
    if (keepsSettingsInProgramFolder() || m_configFolder.isEmpty())
        return QDir(m_programFolder).filePath(m_fileName);
    QDir().mkpath(m_configFolder);
    return QDir(m_configFolder).filePath(m_fileName);
}

std::optional<SettingsValues> readSettingsFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parseSettings(f.read(kMaxFileBytes));
}

bool writeSettingsFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

} // namespace velmora
