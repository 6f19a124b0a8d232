#include "art/core/evacuation.h"
#include "sampletables.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

const ArtTables &tables()
{
    static const ArtTables t = velmora::testing::sampleTables();
    return t;
}

QStringList lines(const QString &text)
{
    QStringList l = text.split(u"\r\n"_s);
    EXPECT_TRUE(l.last().isEmpty()) << "every line ends with CR LF";
    l.removeLast();
    return l;
}

struct CaptionCase
{
    const char *name;
    QString s;
    PairCaptions captions;
    std::array<qint16, 4> letters;
};

class Captions : public ::testing::TestWithParam<CaptionCase>
{};

TEST_P(Captions, PairsInOrderAndTheirLetters)
{
    const PairCaptions c = pairCaptions(GetParam().s);
    EXPECT_EQ(c.first, GetParam().captions.first);
    EXPECT_EQ(c.second, GetParam().captions.second);
    EXPECT_EQ(pairLetters(c), GetParam().letters);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, Captions,
    ::testing::Values(CaptionCase{"plain", u"BCD"_s, {u"BC"_s, u"CD"_s}, {1, 2, 2, 3}},
                      CaptionCase{"repeated", u"BBC"_s, {u"BB"_s, u"BC"_s}, {1, 1, 1, 2}},
                      CaptionCase{"firstPairReversed", u"DBC"_s, {u"BD"_s, u"BC"_s}, {1, 3, 1, 2}},
                      CaptionCase{"secondPairReversed", u"BKC"_s, {u"BK"_s, u"CK"_s}, {1, 9, 2, 9}},
                      CaptionCase{"unconfirmedWithT", u"DBTC"_s, {u"BD"_s, u"TC"_s}, {1, 3, 0, 2}},
                      CaptionCase{
                          "lowercaseIsNoLetter", u"bcd"_s, {u"bc"_s, u"cd"_s}, {0, 0, 0, 0}},
                      CaptionCase{"oneCharacter", u"B"_s, {u"B"_s, u"B"_s}, {1, 1, 1, 1}},
                      CaptionCase{"empty", QString(), {QString(), QString()}, {0, 0, 0, 0}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Propositions, TwelveLinesForBC)
{
    const QStringList l = lines(propositions(tables(), 1, 2));
    ASSERT_EQ(l.size(), 12);
    EXPECT_EQ(l.mid(0, 4), (QStringList{u"Goodness is Great"_s, u"Goodness is Different"_s,
                                        u"Goodness is Concordant"_s, u"Greatness is Good"_s}));
    EXPECT_EQ(l.at(6), u"Difference is Good"_s);
    EXPECT_EQ(l.at(11), u"Concordance is Different"_s);
}

struct PropositionCase
{
    int a;
    int b;
    int line; // 1..12
    QString text;
};

class PropositionWords : public ::testing::TestWithParam<PropositionCase>
{};

TEST_P(PropositionWords, ArticleAndPredicateReplacements)
{
    const QStringList l = lines(propositions(tables(), GetParam().a, GetParam().b));
    ASSERT_EQ(l.size(), 12);
    EXPECT_EQ(l.at(GetParam().line - 1), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Words, PropositionWords,
                         ::testing::Values(PropositionCase{4, 5, 7, u"The Beginning is Powerful"_s},
                                           PropositionCase{4, 5, 3, u"Power is Mediative"_s},
                                           PropositionCase{1, 3, 1, u"Goodness is Durable"_s},
                                           PropositionCase{1, 5, 1, u"Goodness is Knowable"_s},
                                           PropositionCase{1, 6, 1, u"Goodness is Desirable"_s},
                                           PropositionCase{1, 6, 3, u"Goodness is Final"_s},
                                           PropositionCase{5, 6, 7, u"The Middle is Knowable"_s},
                                           PropositionCase{5, 6, 10, u"The End is Knowable"_s},
                                           // Subjects are never replaced, only predicates.
                                           PropositionCase{5, 6, 12, u"The End is Mediative"_s}));

TEST(Propositions, MissingLetterGivesEmptyWords)
{
    const QStringList l = lines(propositions(tables(), 0, 2));
    ASSERT_EQ(l.size(), 12);
    EXPECT_EQ(l.at(0), u" is Great"_s);
    EXPECT_EQ(l.at(3), u"Greatness is "_s);
    EXPECT_TRUE(propositions(tables(), 10, 2).isEmpty());
}

TEST(Statements, FirstTwoSentences)
{
    const QString line = u"God is good. God is different. Is God good? Is God different?"_s;
    EXPECT_EQ(GetS(line), u"God is good.\r\nGod is different.\r\n"_s);
    EXPECT_EQ(GetS(u"One.   Two.Three."_s), u"One.\r\nTwo.\r\n"_s);
    // Lines short of two sentences must not break the page.
    EXPECT_EQ(GetS(u"Only one. and a tail"_s), u"Only one.\r\n\r\n"_s);
    EXPECT_EQ(GetS(u"no sentence"_s), u"\r\n\r\n"_s);
    EXPECT_EQ(GetS(QString()), u"\r\n\r\n"_s);
}

TEST(Statements, QuestionsKeepTheirLeadingSpace)
{
    const QString line = u"God is good. God is different. Is God good? Is God different?"_s;
    EXPECT_EQ(GetQ(line), u" Is God good?\r\n Is God different?\r\n"_s);
    EXPECT_EQ(GetQ(u"A. B. no question"_s), QString());
    EXPECT_EQ(GetQ(u"A. B. Why?. Not this?"_s), u" Why?\r\n"_s);
    EXPECT_EQ(GetQ(u"Only one. Is it?"_s), QString());
    EXPECT_EQ(GetQ(QString()), QString());
}

TEST(KeyLookups, CamerasAndPairs)
{
    EXPECT_EQ(cameraIndex(tables(), u"BC"_s), 1);
    EXPECT_EQ(cameraIndex(tables(), u"CD"_s), 9);
    EXPECT_EQ(cameraIndex(tables(), u"IK"_s), 36);
    EXPECT_EQ(cameraIndex(tables(), u"CB"_s), 0);
    EXPECT_EQ(cameraIndex(tables(), u"BB"_s), 0);
    EXPECT_EQ(cameraIndex(tables(), QString()), 0);
    EXPECT_EQ(pairKeyIndex(tables(), u"BB"_s), 1);
    EXPECT_EQ(pairKeyIndex(tables(), u"CB"_s), 10);
    EXPECT_EQ(pairKeyIndex(tables(), u"KK"_s), 81);
    EXPECT_EQ(pairKeyIndex(tables(), u"TC"_s), 0);
}

TEST(Evacuate, PrinciplesOfTheFirstPair)
{
    const EvacuationPage p =
        evacuate(tables(), u"BCD"_s, EvacuationChoice::Principles, 0, false, false);
    EXPECT_EQ(p.captions, (PairCaptions{u"BC"_s, u"CD"_s}));
    EXPECT_EQ(p.pairLetter, (std::array<qint16, 4>{1, 2, 2, 3}));
    EXPECT_TRUE(p.checksEnabled);
    EXPECT_FALSE(p.mediaVisible);
    EXPECT_EQ(p.camera, 1);
    EXPECT_EQ(p.media, std::optional<QString>(u"Media of BC\r\n"_s));
    EXPECT_EQ(p.part6->left(9), u"Camera BC"_s);
    EXPECT_EQ(p.definitions[0],
              u"Absolute B defined.\r\n\r\nRelative B first.\r\nRelative B second."_s);
    // The stored "&&" shows as one "&".
    EXPECT_TRUE(p.definitions[1].startsWith(u"Greatness makes goodness & duration great."_s));
    EXPECT_EQ(p.rules[0], tables().Rules[1]);
    EXPECT_EQ(p.rules[1], tables().Rules[2]);
    EXPECT_EQ(p.propositions, propositions(tables(), 1, 2));
    EXPECT_EQ(p.questions, u"Questions of BC\r\n"_s);
}

TEST(Evacuate, ChecksShowTheirBoxOnlyForPrinciples)
{
    auto p = evacuate(tables(), u"BCD"_s, EvacuationChoice::Principles, 1, true, false);
    EXPECT_TRUE(p.mediaVisible);
    EXPECT_FALSE(p.part6Visible);
    EXPECT_EQ(p.camera, 9);
    p = evacuate(tables(), u"BCD"_s, EvacuationChoice::Principles, 1, false, true);
    EXPECT_FALSE(p.mediaVisible);
    EXPECT_TRUE(p.part6Visible);
    for (auto choice :
         {EvacuationChoice::Subject, EvacuationChoice::Virtues, EvacuationChoice::Vices}) {
        p = evacuate(tables(), u"BCD"_s, choice, 0, true, true);
        EXPECT_FALSE(p.mediaVisible);
        EXPECT_FALSE(p.part6Visible);
        EXPECT_FALSE(p.checksEnabled);
    }
}

TEST(Evacuate, EqualPairHasNoCamera)
{
    const auto p = evacuate(tables(), u"B(T)BC"_s, EvacuationChoice::Principles, 0, true, false);
    EXPECT_EQ(p.captions.first, u"BB"_s);
    EXPECT_EQ(p.camera, 0);
    EXPECT_FALSE(p.media.has_value());
    EXPECT_EQ(p.definitions[0], p.definitions[1]);
    EXPECT_EQ(p.rules[0], tables().Rules[1]);
    EXPECT_TRUE(p.propositions.isEmpty());
    EXPECT_TRUE(p.questions.isEmpty());

    const auto second =
        evacuate(tables(), u"B(T)BC"_s, EvacuationChoice::Principles, 1, true, false);
    EXPECT_EQ(second.camera, 1);
    EXPECT_EQ(second.questions, u"Questions of BC\r\n"_s);
}

TEST(Evacuate, SubjectStatementsOfBothOrdersAndDoubles)
{
    const auto p = evacuate(tables(), u"BCD"_s, EvacuationChoice::Subject, 0, false, false);
    EXPECT_EQ(p.definitions[0], u"Subject B defined.\r\n"_s);
    EXPECT_EQ(p.definitions[1], u"Subject C defined.\r\n"_s);
    EXPECT_EQ(p.rules[1], tables().Rules[2]);
    EXPECT_EQ(lines(p.propositions),
              (QStringList{u"God is great."_s, u"God is concordant."_s, u"Angel is good."_s,
                           u"Angel is different."_s, u"God is good."_s, u"God is different."_s,
                           u"Angel is great."_s, u"Angel is concordant."_s}));
    EXPECT_EQ(lines(p.questions).size(), 8);
    EXPECT_EQ(lines(p.questions).first(), u" Is God great?"_s);
}

TEST(Evacuate, VirtuesAndVicesReadTheirOwnTables)
{
    const auto virtues = evacuate(tables(), u"EF"_s, EvacuationChoice::Virtues, 0, false, false);
    EXPECT_EQ(virtues.definitions[0], u"Virtue E defined.\r\n"_s);
    EXPECT_TRUE(virtues.propositions.startsWith(u"Temperance is wise."_s));
    const auto vices = evacuate(tables(), u"EF"_s, EvacuationChoice::Vices, 0, false, false);
    EXPECT_EQ(vices.definitions[1], u"Vice F defined.\r\n"_s);
    EXPECT_TRUE(vices.propositions.startsWith(u"Conceit is wise."_s));
}

TEST(Evacuate, UnconfirmedTextWithANonLetter)
{
    for (auto choice : {EvacuationChoice::Principles, EvacuationChoice::Subject,
                        EvacuationChoice::Virtues, EvacuationChoice::Vices}) {
        const auto p = evacuate(tables(), u"DBTC"_s, choice, 1, false, false);
        EXPECT_EQ(p.captions.second, u"TC"_s);
        EXPECT_EQ(p.camera, 0);
        EXPECT_FALSE(p.media.has_value());
        EXPECT_EQ(p.rules[0], QString());
        EXPECT_EQ(p.rules[1], tables().Rules[2]);
    }
    const auto principles =
        evacuate(tables(), u"DBTC"_s, EvacuationChoice::Principles, 1, false, false);
    EXPECT_EQ(principles.definitions[0], u"\r\n\r\n"_s);
    EXPECT_EQ(lines(principles.propositions).size(), 12);
    EXPECT_TRUE(principles.questions.isEmpty());
}

TEST(Evacuate, EmptyAndMarkerOnlyText)
{
    for (const QString &code : {QString(), u"(T)"_s, u"(T)(T)"_s, u"\u00E9"_s}) {
        const auto p = evacuate(tables(), code, EvacuationChoice::Subject, 0, false, false);
        EXPECT_EQ(p.camera, 0);
        EXPECT_TRUE(p.propositions.isEmpty());
        EXPECT_EQ(p.rules[0], QString());
    }
}

} // namespace
