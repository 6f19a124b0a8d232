#include "core/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

SettingsSnapshot startupValues()
{
    return {u"BCD"_s, u"40"_s, 2,          0,          0,      50,   u"64"_s,
            u"64"_s,  u"60"_s, u"45.5N"_s, u"75.7W"_s, u"0"_s, false};
}

// What a reader should return for a file written from s.
SettingsValues stored(const SettingsSnapshot &s)
{
    return {s.combination, s.speed,     s.changeIndex, s.octaveIndex, s.jumpUnit,
            s.instrument,  s.minVolume, s.maxVolume,   s.pitch,       s.latitude,
            s.longitude,   s.timeZone,  s.yearMode};
}

} // namespace

TEST(SettingsFile, FiveLinesRoundTripEveryValue)
{
    EXPECT_EQ(formatSettings(startupValues()),
              "BCD\r\n40\t2\t0\t0\t50\r\n64\t64\t60\r\n45.5N\t75.7W\t0\r\n 0 \r\n");
    const SettingsSnapshot changed{u"B(T)CD"_s, u"90.5"_s, 8,        5,         5,
                                   127,         u"1"_s,    u"126"_s, u"59.5"_s, u"12S"_s,
                                   u"2.3E"_s,   u"-1"_s,   true};
    for (const SettingsSnapshot &s : {startupValues(), changed})
        EXPECT_EQ(parseSettings(formatSettings(s)), stored(s));

    // Box texts cannot hold TAB; one that slipped in must not shift the following fields.
    SettingsSnapshot tab = startupValues();
    tab.latitude = u"45\t5N"_s;
    const SettingsValues v = parseSettings(formatSettings(tab));
    EXPECT_EQ(v.latitude, u"45 5N"_s);
    EXPECT_EQ(v.longitude, u"75.7W"_s);
}

TEST(SettingsFile, ShortFilesAndUnusableIndexesDropOnlyWhatIsMissingOrBad)
{
    SettingsValues onlyLine1;
    onlyLine1.combination = u"CDE"_s;
    EXPECT_EQ(parseSettings("CDE"), onlyLine1); // no final line break
    EXPECT_EQ(parseSettings(QByteArray()), SettingsValues{});

    const SettingsValues line2 = parseSettings("BCD\r\n40\t+2\t0\t1\t50\r\n");
    EXPECT_EQ(line2.changeIndex, 2);
    EXPECT_EQ(line2.jumpUnit, 1);
    EXPECT_FALSE(line2.minVolume);
    EXPECT_FALSE(line2.yearMode);

    const std::pair<const char *, std::optional<bool>> line5[] = {
        {" 1 ", true}, {"0", false}, {"+1", true}, {" 2 ", std::nullopt}, {"x", std::nullopt}};
    for (const auto &[text, ticked] : line5)
        EXPECT_EQ(parseSettings(QByteArray("BCD\r\n\r\n\r\n\r\n") + text).yearMode, ticked) << text;

    // Each line breaks one limit: that value alone is dropped, the line's good values still apply.
    const SettingsValues good = parseSettings("BCD\r\n40\t2\t0\t0\t50\r\n");
    const std::pair<const char *, std::optional<int> SettingsValues::*> cases[] = {
        {"40\t9\t0\t0\t50", &SettingsValues::changeIndex},
        {"40\t2\t0\t0\t128", &SettingsValues::instrument},
        {"40\t2\t0\t0\tpiano", &SettingsValues::instrument},
        {"40\t.\t0\t0\t50", &SettingsValues::changeIndex}};
    for (const auto &[line2, field] : cases) {
        SettingsValues expected = good;
        (expected.*field).reset();
        EXPECT_EQ(parseSettings(QByteArray("BCD\r\n") + line2 + "\r\n"), expected) << line2;
    }
    SettingsValues fewer = good;
    fewer.octaveIndex.reset();
    fewer.jumpUnit.reset();
    fewer.instrument.reset();
    EXPECT_EQ(parseSettings("BCD\r\n40\t2\r\n"), fewer);
}

TEST(SettingsFile, HostileFilesNeverYieldUnusableValues)
{
    // A 10 MB first line is not a combination; nothing of it is taken.
    const QByteArray huge = QByteArray(10 * 1024 * 1024, 'B') + "\r\n40\t2\t0\t0\t50\r\n";
    EXPECT_FALSE(parseSettings(huge).combination);
    EXPECT_FALSE(parseSettings(QByteArray("BC\0D\r\n", 6)).combination);
}

TEST(SettingsFile, WriteReplacesOnlyAfterACompleteFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Settings.txt"_s);
    const QByteArray first = formatSettings(startupValues());
    ASSERT_TRUE(writeSettingsFile(path, first));
    EXPECT_EQ(readSettingsFile(path)->instrument, 50);
    EXPECT_FALSE(readSettingsFile(dir.filePath(u"missing.txt"_s)));
    EXPECT_FALSE(writeSettingsFile(dir.filePath(u"gone/Settings.txt"_s), first));

    // A target that is a folder cannot be replaced: the folder is left alone.
    const QString asFolder = dir.filePath(u"Blocked.txt"_s);
    ASSERT_TRUE(QDir().mkpath(asFolder));
    EXPECT_FALSE(writeSettingsFile(asFolder, first));
    EXPECT_TRUE(QFileInfo(asFolder).isDir());

    // A disk that fills up halfway (here a limit on the size of any file written): the write
    // says so, and the old file stays whole.
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = limit;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = writeSettingsFile(path, first + QByteArray(1 << 20, ' '));
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), first);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(SettingsFile, LocationFallsBackToTheConfigFolderAndInstalledCopiesUseIt)
{
    QTemporaryDir program;
    QTemporaryDir config;
    const SettingsLocation writable(program.path(), config.path());
    EXPECT_EQ(writable.writePath(), QDir(program.path()).filePath(u"Settings.txt"_s));

    // A program folder that does not exist cannot be written.
    const QString gone = program.filePath(u"not-here"_s);
    const QString configDir = config.filePath(u"velmora"_s);
    const SettingsLocation installed(gone, configDir);
    const QString target = QDir(configDir).filePath(u"Settings.txt"_s);
    EXPECT_EQ(installed.writePath(), target);
    EXPECT_TRUE(QFileInfo(configDir).isDir());
    // Until the configuration copy exists, the program folder's is read.
    EXPECT_EQ(installed.readPath(), QDir(gone).filePath(u"Settings.txt"_s));
    ASSERT_TRUE(writeSettingsFile(target, "CDE\r\n"));
    EXPECT_EQ(installed.readPath(), target);

    const std::pair<QString, bool> folders[] = {{u"/usr/lib/velmora"_s, true},
                                                {u"/opt/tools/lib/velmora/"_s, true},
                                                {u"/usr/lib/velmora/help"_s, false},
                                                {u"/usr/lib/velmora-old"_s, false},
                                                {u"/home/ana/velmora/build/bin"_s, false}};
    for (const auto &[folder, isInstalled] : folders)
        EXPECT_EQ(SettingsLocation::isInstalledFolder(folder), isInstalled) << folder.toStdString();

    // Installed but writable (root, or the user's own prefix): the settings still go to the
    // configuration folder; an older file beside the program is read until they do.
    const QString prefixed = program.filePath(u"lib/velmora"_s);
    ASSERT_TRUE(QDir().mkpath(prefixed));
    const QString old = QDir(prefixed).filePath(u"Settings.txt"_s);
    ASSERT_TRUE(writeSettingsFile(old, "BCD\r\n"));
    const SettingsLocation location(prefixed, config.path());
    EXPECT_EQ(location.readPath(), old);
    const QString configTarget = QDir(config.path()).filePath(u"Settings.txt"_s);
    EXPECT_EQ(location.writePath(), configTarget);
    ASSERT_TRUE(writeSettingsFile(configTarget, "CDE\r\n"));
    EXPECT_EQ(location.readPath(), configTarget);
}
