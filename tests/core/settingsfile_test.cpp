#include "core/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

SettingsSnapshot startupValues()
{
    SettingsSnapshot s;
    s.combination = QStringLiteral("BCD");
    s.speed = QStringLiteral("40");
    s.changeIndex = 2;
    s.octaveIndex = 0;
    s.jumpUnit = 0;
    s.instrument = 50;
    s.minVolume = QStringLiteral("64");
    s.maxVolume = QStringLiteral("64");
    s.pitch = QStringLiteral("60");
    s.latitude = QStringLiteral("45.5N");
    s.longitude = QStringLiteral("75.7W");
    s.timeZone = QStringLiteral("0");
    return s;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(SettingsFile, StartupValuesWriteTheDocumentedFiveLines)
{
    EXPECT_EQ(formatSettings(startupValues()),
              QByteArray("BCD\r\n40\t2\t0\t0\t50\r\n64\t64\t60\r\n45.5N\t75.7W\t0\r\n 0 \r\n"));
}

TEST(SettingsFile, RoundTripRestoresEveryValue)
{
    SettingsSnapshot s = startupValues();
    s.combination = QStringLiteral("B(T)CD");
    s.speed = QStringLiteral("90.5");
    s.changeIndex = 8;
    s.octaveIndex = 5;
    s.jumpUnit = 5;
    s.instrument = 127;
    s.minVolume = QStringLiteral("1");
    s.maxVolume = QStringLiteral("126");
    s.pitch = QStringLiteral("59.5");
    s.latitude = QStringLiteral("12S");
    s.longitude = QStringLiteral("2.3E");
    s.timeZone = QStringLiteral("-1");
    s.yearMode = true;
    const QByteArray bytes = formatSettings(s);
    EXPECT_TRUE(bytes.endsWith(" 1 \r\n"));
    const SettingsValues v = parseSettings(bytes);
    EXPECT_EQ(v.combination, s.combination);
    EXPECT_EQ(v.speed, s.speed);
    EXPECT_EQ(v.changeIndex, 8);
    EXPECT_EQ(v.octaveIndex, 5);
    EXPECT_EQ(v.jumpUnit, 5);
    EXPECT_EQ(v.instrument, 127);
    EXPECT_EQ(v.minVolume, s.minVolume);
    EXPECT_EQ(v.maxVolume, s.maxVolume);
    EXPECT_EQ(v.pitch, s.pitch);
    EXPECT_EQ(v.latitude, QStringLiteral("12S"));
    EXPECT_EQ(v.longitude, QStringLiteral("2.3E"));
    EXPECT_EQ(v.timeZone, QStringLiteral("-1"));
    EXPECT_EQ(v.yearMode, true);
}

TEST(SettingsFile, ShortFilesApplyOnlyTheLinesPresent)
{
    SettingsValues onlyLine1 = parseSettings("CDE\r\n");
    EXPECT_EQ(onlyLine1.combination, QStringLiteral("CDE"));
    SettingsValues expected;
    expected.combination = QStringLiteral("CDE");
    EXPECT_EQ(onlyLine1, expected);

    // Without a final line break the last line still counts.
    EXPECT_EQ(parseSettings("CDE").combination, QStringLiteral("CDE"));

    const SettingsValues line2 = parseSettings("BCD\r\n40\t2\t0\t1\t50\r\n");
    EXPECT_EQ(line2.changeIndex, 2);
    EXPECT_EQ(line2.octaveIndex, 0);
    EXPECT_EQ(line2.jumpUnit, 1);
    EXPECT_EQ(line2.instrument, 50);
    EXPECT_FALSE(line2.minVolume);
    EXPECT_FALSE(line2.yearMode);
}

struct BadField
{
    const char *name;
    QByteArray bytes;
    std::function<bool(const SettingsValues &)> rejected;
};

class SettingsRejects : public ::testing::TestWithParam<BadField>
{};

// Each file breaks one limit: that value is rejected while the file's good values still apply.
TEST_P(SettingsRejects, UnusableValuesKeepTheDesignValue)
{
    const SettingsValues v = parseSettings(GetParam().bytes);
    EXPECT_TRUE(GetParam().rejected(v));
    EXPECT_EQ(v.combination, QStringLiteral("BCD"));
}

INSTANTIATE_TEST_SUITE_P(
    Limits, SettingsRejects,
    ::testing::Values(BadField{"change_index_9", "BCD\r\n40\t9\t0\t0\t50\r\n",
                               [](const SettingsValues &v) {
                                   return !v.changeIndex && v.instrument == 50;
                               }},
                      BadField{"negative_octave", "BCD\r\n40\t2\t-1\t0\t50\r\n",
                               [](const SettingsValues &v) {
                                   return !v.octaveIndex && v.changeIndex == 2;
                               }},
                      BadField{"jump_unit_6", "BCD\r\n40\t2\t0\t6\t50\r\n",
                               [](const SettingsValues &v) {
                                   return !v.jumpUnit;
                               }},
                      BadField{"instrument_128", "BCD\r\n40\t2\t0\t0\t128\r\n",
                               [](const SettingsValues &v) {
                                   return !v.instrument && v.jumpUnit == 0;
                               }},
                      BadField{"instrument_without_number", "BCD\r\n40\t2\t0\t0\tpiano\r\n",
                               [](const SettingsValues &v) {
                                   return !v.instrument;
                               }},
                      BadField{"line_5_not_an_integer", "BCD\r\n\r\n\r\n\r\n yes \r\n",
                               [](const SettingsValues &v) {
                                   return !v.yearMode;
                               }},
                      BadField{"line_5_is_2", "BCD\r\n\r\n\r\n\r\n 2 \r\n",
                               [](const SettingsValues &v) {
                                   return !v.yearMode;
                               }},
                      BadField{"fewer_fields", "BCD\r\n40\t2\r\n",
                               [](const SettingsValues &v) {
                                   return v.speed == QStringLiteral("40") && v.changeIndex == 2 &&
                                          !v.octaveIndex && !v.jumpUnit && !v.instrument;
                               }}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SettingsFile, LineFiveIgnoresSurroundingSpaces)
{
    EXPECT_EQ(parseSettings("BCD\r\n\r\n\r\n\r\n 1 \r\n").yearMode, true);
    EXPECT_EQ(parseSettings("BCD\r\n\r\n\r\n\r\n0").yearMode, false);
}

TEST(SettingsFile, HostileFilesNeverYieldUnusableValues)
{
    EXPECT_EQ(parseSettings(QByteArray()), SettingsValues{});
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(static_cast<char>((i * 37 + 11) % 256));
    const SettingsValues g = parseSettings(garbage);
    EXPECT_LT(g.changeIndex.value_or(0), kChangeCount);
    EXPECT_LT(g.instrument.value_or(0), kInstrumentCount);
    EXPECT_LE(g.combination.value_or(QString()).size(), kMaxSettingsText);

    // A 10 MB first line is not a combination; nothing of it is taken.
    const QByteArray huge = QByteArray(10 * 1024 * 1024, 'B') + "\r\n40\t2\t0\t0\t50\r\n";
    EXPECT_FALSE(parseSettings(huge).combination);
    // Control characters inside a box text make it unusable.
    EXPECT_FALSE(parseSettings(QByteArray("BC\0D\r\n", 6)).combination);
}

TEST(SettingsFile, TabsInBoxTextsCannotShiftTheFields)
{
    SettingsSnapshot s = startupValues();
    s.latitude = QStringLiteral("45\t5N");
    const SettingsValues v = parseSettings(formatSettings(s));
    EXPECT_EQ(v.latitude, QStringLiteral("45 5N"));
    EXPECT_EQ(v.longitude, QStringLiteral("75.7W"));
}

TEST(SettingsFile, WriteReplacesOnlyAfterACompleteFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Settings.txt"));
    const QByteArray first = formatSettings(startupValues());
    ASSERT_TRUE(writeSettingsFile(path, first));
    EXPECT_EQ(readAll(path), first);
    ASSERT_TRUE(readSettingsFile(path).has_value());
    EXPECT_EQ(readSettingsFile(path)->instrument, 50);

    // A folder that cannot exist: the write fails and reports it.
    EXPECT_FALSE(writeSettingsFile(QStringLiteral("/dev/null/Settings.txt"), first));
    // A target that is a folder cannot be replaced: the folder is left alone.
    const QString asFolder = dir.filePath(QStringLiteral("Blocked.txt"));
    ASSERT_TRUE(QDir().mkpath(asFolder));
    EXPECT_FALSE(writeSettingsFile(asFolder, first));
    EXPECT_TRUE(QFileInfo(asFolder).isDir());
    EXPECT_EQ(readAll(path), first);
    EXPECT_FALSE(readSettingsFile(dir.filePath(QStringLiteral("missing.txt"))));
}

TEST(SettingsFile, LocationFallsBackToTheConfigFolder)
{
    QTemporaryDir program;
    QTemporaryDir config;
    const SettingsLocation writable(program.path(), config.path());
    EXPECT_EQ(writable.writePath(), QDir(program.path()).filePath(QStringLiteral("Settings.txt")));
    EXPECT_EQ(writable.readPath(), writable.writePath());

    // A program folder that does not exist cannot be written.
    const QString gone = program.filePath(QStringLiteral("not-here"));
    const QString configDir = config.filePath(QStringLiteral("velmora"));
    const SettingsLocation installed(gone, configDir);
    const QString target = QDir(configDir).filePath(QStringLiteral("Settings.txt"));
    EXPECT_EQ(installed.writePath(), target);
    EXPECT_TRUE(QFileInfo(configDir).isDir());
    // Until the configuration copy exists, the program folder's is read.
    EXPECT_EQ(installed.readPath(), QDir(gone).filePath(QStringLiteral("Settings.txt")));
    ASSERT_TRUE(writeSettingsFile(target, "CDE\r\n"));
    EXPECT_EQ(installed.readPath(), target);
}

TEST(SettingsFile, ReadOnlyFolderKeepsThePreviousFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Settings.txt"));
    const QByteArray first = formatSettings(startupValues());
    ASSERT_TRUE(writeSettingsFile(path, first));
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    const bool enforced = !QFileInfo(dir.path()).isWritable();
    SettingsSnapshot changed = startupValues();
    changed.combination = QStringLiteral("EFG");
    const bool written = writeSettingsFile(path, formatSettings(changed));
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (!enforced)
        GTEST_SKIP() << "folder permissions do not bind this user (root); the failed write is "
                        "covered by WriteReplacesOnlyAfterACompleteFile";
    EXPECT_FALSE(written);
    EXPECT_EQ(readAll(path), first);
}
