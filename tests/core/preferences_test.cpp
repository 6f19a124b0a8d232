#include "core/preferences.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// Blank lines after the text, to the given size.
QByteArray padded(const QByteArray &text, qsizetype size)
{
    return text + QByteArray(size - text.size(), '\n');
}

} // namespace

TEST(Preferences, ValuesSurviveARestartBesideTheSettings)
{
    QTemporaryDir dir;
    {
        Preferences p(dir.path(), dir.filePath(u"config"_s));
        p.setMidiOutput(u"alsa"_s);
        p.setZoomPercent(175);
        p.setValue(u"Place/Zone"_s, u"Europe/Madrid"_s);
        ASSERT_TRUE(p.save());
    }
    EXPECT_TRUE(QFile::exists(dir.filePath(u"Velmora.ini"_s)));
    Preferences p(dir.path(), dir.filePath(u"config"_s));
    EXPECT_EQ(p.midiOutput(), u"alsa"_s);
    EXPECT_EQ(p.zoomPercent(), 175);
    EXPECT_EQ(p.value(u"Place/Zone"_s).toString(), u"Europe/Madrid"_s);

    // A removed value is gone from the file too, not merged back from it.
    p.remove(u"Place/Zone"_s);
    ASSERT_TRUE(p.save());
    EXPECT_FALSE(Preferences(dir.path(), {}).contains(u"Place/Zone"_s));
}

TEST(Preferences, DamagedFilesGiveTheDefaultsUnwritableOnesAreReported)
{
    const QByteArray files[] = {"[View]\nZoom=huge\n[Sound]\nOutput=\n", "[View]\nZoom=99\n",
                                "[View]\nZoom=301\n", QByteArray("\x00\xff\x01[[[=\n\xfe", 9),
                                padded("[View]\nZoom=150\n", 64 * 1024 + 1)};
    for (const QByteArray &bytes : files) {
        QTemporaryDir dir;
        writeFile(dir.filePath(u"Velmora.ini"_s), bytes);
        Preferences p(dir.path(), {});
        EXPECT_EQ(p.zoomPercent(), 100) << bytes.left(20).toStdString();
        EXPECT_EQ(p.midiOutput(), QString());
        p.setZoomPercent(250);
        EXPECT_TRUE(p.save());
        EXPECT_EQ(Preferences(dir.path(), {}).zoomPercent(), 250);
    }
    QTemporaryDir dir;
    writeFile(dir.filePath(u"Velmora.ini"_s), padded("[View]\nZoom=150\n", 64 * 1024));
    EXPECT_EQ(Preferences(dir.path(), {}).zoomPercent(), 150) << "the largest file read";
    // The program folder is a file: nothing can be written inside it.
    writeFile(dir.filePath(u"blocked"_s), "x");
    Preferences p(dir.filePath(u"blocked"_s), {});
    p.setZoomPercent(150);
    EXPECT_FALSE(p.save());
    EXPECT_EQ(p.zoomPercent(), 150);
}

TEST(Preferences, KeptPlaceRoundTripsAndRejectsIncompleteEntries)
{
    QTemporaryDir dir;
    const PlacePreference sydney{u"Sydney"_s,    u"New South Wales"_s,
                                 u"Australia"_s, u"Australia/Sydney"_s,
                                 -33.8679,       151.2073};
    {
        Preferences p(dir.path(), {});
        EXPECT_FALSE(p.keptPlace());
        p.setKeptPlace(sydney);
        ASSERT_TRUE(p.save());
    }
    Preferences p(dir.path(), {});
    EXPECT_EQ(p.keptPlace(), sydney);
    EXPECT_EQ(p.value(u"Place/Longitude"_s).toString(), u"151.2073"_s);

    const std::pair<const char *, const char *> broken[] = {{"Place/City", " "},
                                                            {"Place/Zone", ""},
                                                            {"Place/Latitude", "91"},
                                                            {"Place/Longitude", "east"},
                                                            {"Place/Longitude", "-180.5"}};
    for (const auto &[key, value] : broken) {
        p.setKeptPlace(sydney);
        p.setValue(QString::fromLatin1(key), QString::fromLatin1(value));
        EXPECT_FALSE(p.keptPlace()) << key << "=" << value;
    }
    // The poles and the antimeridian are places; only what lies beyond them is refused.
    for (const auto &[key, value] :
         {std::pair{"Place/Latitude", "-90"}, {"Place/Longitude", "180"}}) {
        p.setKeptPlace(sydney);
        p.setValue(QString::fromLatin1(key), QString::fromLatin1(value));
        EXPECT_TRUE(p.keptPlace()) << key << "=" << value;
    }
    p.clearKeptPlace();
    for (const auto &[key, value] : broken)
        EXPECT_FALSE(p.contains(QString::fromLatin1(key))) << key;
}
