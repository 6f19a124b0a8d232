#include "art/core/evacuation.h"
#include "sampletables.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

const ArtTables kTables = velmora::testing::sampleTables();

QStringList lines(const QString &text)
{
    return text.split(u"\r\n"_s, Qt::SkipEmptyParts);
}

TEST(PairCaptions, EachPairInOrderWithItsLettersAndPropositions)
{
    using Letters4 = std::array<qint16, 4>;
    // Unconfirmed text may hold anything: a plain T stays, lower case is no letter.
    // clang-format off
    const std::vector<std::tuple<QString, QString, QString, Letters4>> cases{
        {u"BKC"_s, u"BK"_s, u"CK"_s, {1, 9, 2, 9}}, {u"DBTC"_s, u"BD"_s, u"TC"_s, {1, 3, 0, 2}},
        {u"bcd"_s, u"bc"_s, u"cd"_s, {0, 0, 0, 0}}, {u"B"_s, u"B"_s, u"B"_s, {1, 1, 1, 1}},
        {u"CB"_s, u"BC"_s, u"CB"_s, {1, 2, 2, 1}}, {QString(), QString(), QString(), {0, 0, 0, 0}}};
    // clang-format on
    for (const auto &[s, first, second, letters] : cases) {
        const PairCaptions c = pairCaptions(s);
        EXPECT_EQ(c, (PairCaptions{first, second})) << s.toStdString();
        EXPECT_EQ(pairLetters(c), letters) << s.toStdString();
    }

    // The propositions of a pair: article and predicate words.
    EXPECT_EQ(lines(propositions(kTables, 1, 2)).mid(0, 4),
              (QStringList{u"Goodness is Great"_s, u"Goodness is Different"_s,
                           u"Goodness is Concordant"_s, u"Greatness is Good"_s}));
    // pair, line number, line; a missing letter reads as empty words
    // clang-format off
    const std::vector<std::tuple<int, int, int, QString>> numbered{
        {4, 5, 7, u"The Beginning is Powerful"_s}, {4, 5, 3, u"Power is Mediative"_s},
        {1, 6, 1, u"Goodness is Desirable"_s}, {5, 6, 12, u"The End is Mediative"_s},
        {0, 2, 1, u" is Great"_s}};
    // clang-format on
    for (const auto &[a, b, n, line] : numbered) {
        const QStringList l = propositions(kTables, a, b).split(u"\r\n"_s);
        ASSERT_EQ(l.size(), 13); // twelve lines, each ended by CR LF
        EXPECT_EQ(l.at(n - 1), line);
    }
    for (const auto &[a, b] : {std::pair{-1, 2}, {2, 10}, {10, 2}, {2, -1}})
        EXPECT_EQ(propositions(kTables, a, b), QString()) << a << " " << b;
}

TEST(Evacuate, PrinciplesOfACamera)
{
    auto p = evacuate(kTables, u"BCD"_s, EvacuationChoice::Principles, 0, true, false);
    EXPECT_TRUE(p.checksEnabled && p.mediaVisible && !p.part6Visible);
    EXPECT_EQ(p.media, u"Media of BC\r\n"_s);
    EXPECT_EQ(p.definitions[0],
              u"Absolute B defined.\r\n\r\nRelative B first.\r\nRelative B second."_s);
    EXPECT_TRUE(p.definitions[1].startsWith(u"Greatness makes goodness & duration"_s));
    EXPECT_EQ(p.propositions, propositions(kTables, 1, 2));
    EXPECT_EQ(p.questions, u"Questions of BC\r\n"_s);
    // A pair of equal letters has no camera: no media, no commentary, no propositions.
    p = evacuate(kTables, u"B(T)BC"_s, EvacuationChoice::Principles, 0, true, false);
    EXPECT_EQ(p.camera, 0);
    EXPECT_TRUE(p.media.isEmpty() && p.part6.isEmpty());
    EXPECT_EQ(p.definitions[0], p.definitions[1]);
    EXPECT_TRUE(p.propositions.isEmpty() && p.questions.isEmpty());
}

TEST(Evacuate, StatementsOfBothOrdersAndDoublesSplitIntoSentencesAndQuestions)
{
    const auto p = evacuate(kTables, u"BCD"_s, EvacuationChoice::Subject, 0, true, true);
    EXPECT_TRUE(!p.checksEnabled && !p.mediaVisible && !p.part6Visible);
    EXPECT_EQ(p.definitions[1], u"Subject C defined.\r\n"_s);
    EXPECT_EQ(lines(p.propositions),
              (QStringList{u"God is great."_s, u"God is concordant."_s, u"Angel is good."_s,
                           u"Angel is different."_s, u"God is good."_s, u"God is different."_s,
                           u"Angel is great."_s, u"Angel is concordant."_s}));
    EXPECT_EQ(lines(p.questions).size(), 8);

    const QString line = u"God is good. God is different. Is God good? Is God different?"_s;
    EXPECT_EQ(GetS(line), u"God is good.\r\nGod is different.\r\n"_s);
    EXPECT_EQ(GetQ(line), u" Is God good?\r\n Is God different?\r\n"_s);
    // Lines short of two sentences must not break the page.
    EXPECT_EQ(GetS(u"Only one. and a tail"_s), u"Only one.\r\n\r\n"_s);
    EXPECT_EQ(GetS(QString()), u"\r\n\r\n"_s);
    EXPECT_EQ(GetQ(u"Only one. Is it?"_s), QString());
}

TEST(Evacuate, UnconfirmedTextNeverBreaks)
{
    for (int choice = 0; choice < 4; ++choice) {
        for (const QString &code : {u"DBTC"_s, QString(), u"\u00E9"_s}) {
            const auto p = evacuate(kTables, code, EvacuationChoice(choice), 1, false, false);
            EXPECT_EQ(p.camera, 0);
            EXPECT_EQ(p.rules[0], QString());
        }
    }
    const auto p = evacuate(kTables, u"DBTC"_s, EvacuationChoice::Principles, 1, false, false);
    EXPECT_EQ(p.rules[1], kTables.Rules[2]);
    EXPECT_EQ(lines(p.propositions).size(), 12);
}

} // namespace
