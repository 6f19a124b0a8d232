#include "music/core/parameters.h"

#include <gtest/gtest.h>

using namespace velmora;

struct SpeedCase
{
    const char *text;
    bool day;
    float bpm;
    int interval;
    const char *rewritten; // nullptr: the box keeps what was typed
};

class Speed : public testing::TestWithParam<SpeedCase>
{};

TEST_P(Speed, LimitsAndInterval)
{
    const SpeedCase &c = GetParam();
    const SpeedSetting s = checkSpeed(QString::fromLatin1(c.text), c.day);
    EXPECT_FLOAT_EQ(s.beatsPerMinute, c.bpm);
    EXPECT_EQ(s.intervalMs, c.interval);
    if (c.rewritten)
        EXPECT_EQ(s.boxText, QString::fromLatin1(c.rewritten));
    else
        EXPECT_FALSE(s.boxText.has_value());
}

INSTANTIATE_TEST_SUITE_P(Tempi, Speed,
                         testing::Values(SpeedCase{"5", false, 10, 6000, "10"},
                                         SpeedCase{"200", false, 180, 333, "180"},
                                         SpeedCase{"", false, 10, 6000, "10"},
                                         SpeedCase{"fast", true, 10, 1500, "10"},
                                         SpeedCase{"90.5", false, 90.5f, 663, nullptr},
                                         SpeedCase{"40", true, 40, 375, nullptr},
                                         SpeedCase{"180", true, 180, 83, nullptr}));

TEST(Pitch, RoundedLimitedAndRewritten)
{
    const std::pair<const char *, int> cases[] = {{"100", 72},  {"-5", 24},    {"59.5", 60},
                                                  {"60.5", 60}, {"48abc", 48}, {"", 24}};
    for (const auto &[text, pitch] : cases) {
        const PitchSetting p = applyPitch(QString::fromLatin1(text));
        EXPECT_EQ(p.pitchOffset, pitch) << text;
        EXPECT_EQ(p.boxText, QString::number(pitch)) << text;
    }
}

TEST(Volume, LimitsExchangeAndStep)
{
    VolumeSetting v = applyVolume(0, QStringLiteral("0"), 64, 64);
    EXPECT_EQ(v.minVolume, 1);
    EXPECT_EQ(v.boxText[0], QStringLiteral("1"));
    EXPECT_FALSE(v.boxText[1].has_value()) << "the other box keeps its text";
    EXPECT_EQ(v.velocityStep, 8); // 63 / 8 = 7.875

    v = applyVolume(1, QStringLiteral("300"), 64, 64);
    EXPECT_EQ(v.maxVolume, 127);
    EXPECT_EQ(v.boxText[1], QStringLiteral("127"));

    v = applyVolume(0, QStringLiteral("120"), 40, 64);
    EXPECT_EQ(v.minVolume, 64);
    EXPECT_EQ(v.maxVolume, 120);
    EXPECT_EQ(v.boxText[0], QStringLiteral("64"));
    EXPECT_EQ(v.boxText[1], QStringLiteral("120"));
    EXPECT_EQ(v.velocityStep, 7);

    v = applyVolume(1, QStringLiteral("50"), 50, 90);
    EXPECT_EQ(v.velocityStep, 0) << "equal limits keep one velocity";
}

TEST(VelocityStart, MeanAndStepRoundHalvesToEven)
{
    EXPECT_EQ(velocityStart(1, 126).midVolume, 64);
    EXPECT_EQ(velocityStart(1, 124).midVolume, 62);
    EXPECT_EQ(velocityStart(40, 100).velocityStep, 8);
    EXPECT_EQ(velocityStart(40, 60).velocityStep, 2); // 2.5 -> 2
}
