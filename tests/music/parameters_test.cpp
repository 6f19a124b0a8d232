#include "music/core/parameters.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

QString opt(const std::optional<QString> &text)
{
    return text.value_or(QStringLiteral("(kept)"));
}

} // namespace

TEST(Speed, LimitsAndInterval)
{
    // clang-format off
    struct { const char *text; bool day; float bpm; int interval; const char *box; }
    const cases[] = {
        {"5", false, 10, 6000, "10"}, {"200", false, 180, 333, "180"}, {"", false, 10, 6000, "10"},
        {"fast", true, 10, 1500, "10"}, {"90.5", false, 90.5f, 663, "(kept)"},
        {"180", true, 180, 83, "(kept)"},
    };
    // clang-format on
    for (const auto &c : cases) {
        const SpeedSetting s = checkSpeed(QString::fromLatin1(c.text), c.day);
        EXPECT_FLOAT_EQ(s.beatsPerMinute, c.bpm) << c.text;
        EXPECT_EQ(s.intervalMs, c.interval) << c.text;
        EXPECT_EQ(opt(s.boxText), QLatin1String(c.box)) << c.text;
    }
}

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
    // clang-format off
    struct { int index; const char *text; int min, max, newMin, newMax, step; const char *b0, *b1; }
    const cases[] = {
        {0, "0", 64, 64, 1, 64, 8, "1", "(kept)"}, // 63 / 8 = 7.875
        {1, "300", 64, 64, 64, 127, 8, "(kept)", "127"},
        {0, "120", 40, 64, 64, 120, 7, "64", "120"}, // given the wrong way round
        {1, "50", 50, 90, 50, 50, 0, "(kept)", "50"}, // equal limits: one velocity
    };
    // clang-format on
    for (const auto &c : cases) {
        const VolumeSetting v = applyVolume(c.index, QString::fromLatin1(c.text), c.min, c.max);
        EXPECT_EQ(v.minVolume, c.newMin) << c.text;
        EXPECT_EQ(v.maxVolume, c.newMax) << c.text;
        EXPECT_EQ(v.velocityStep, c.step) << c.text;
        EXPECT_EQ(opt(v.boxText[0]), QLatin1String(c.b0)) << c.text;
        EXPECT_EQ(opt(v.boxText[1]), QLatin1String(c.b1)) << c.text;
    }
}

TEST(VelocityStart, MeanAndStepRoundHalvesToEven)
{
    EXPECT_EQ(velocityStart(1, 126).midVolume, 64);
    EXPECT_EQ(velocityStart(1, 124).midVolume, 62);
    EXPECT_EQ(velocityStart(40, 100).velocityStep, 8);
    EXPECT_EQ(velocityStart(40, 60).velocityStep, 2); // 2.5 -> 2
}
