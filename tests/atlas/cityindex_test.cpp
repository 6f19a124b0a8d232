#include "atlas/cityindex.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace velmora;

TEST(CityFold, AccentsApostrophesAndPunctuation)
{
    const std::pair<const char *, const char *> cases[] = {
        {"Zürich", "zurich"},
        {"Zu\u0308rich", "zurich"}, // decomposed ü
        {"São Paulo", "sao paulo"},
        {"N'Djamena", "ndjamena"},
        {"Hawaiʻi", "hawaii"},
        {"Hawai‘i", "hawaii"},
        {"  Frankfurt (Oder) ", "frankfurt oder"},
        {"St.-Louis", "st louis"},
        {"Straße", "strasse"},
        {"Ærøskøbing", "aeroskobing"},
        {"Đà Nẵng", "da nang"},
        {"Łódź", "lodz"},
        {"北京", ""}};
    for (const auto &[name, folded] : cases)
        EXPECT_EQ(foldForSearch(QString::fromUtf8(name)), folded) << name;
}

TEST(CitySearch, RefusesTextNoNameCouldBe)
{
    const QString refused[] = {QString(), QStringLiteral("   "), QStringLiteral("Ma\u0001drid"),
                               QStringLiteral("Madrid\n"), QString(kMaxSearchLength + 1, u'a')};
    CityIndex index;
    index.add(QString(kMaxSearchLength, u'a'), 1);
    for (const QString &text : refused) {
        EXPECT_FALSE(isSearchable(text)) << text.left(20).toStdString();
        EXPECT_EQ(index.search(text, 10).total, 0);
    }
    EXPECT_EQ(index.search(QString(kMaxSearchLength, u'a'), 10).total, 1);
    EXPECT_EQ(index.search(QStringLiteral("?!"), 10).total, 0); // folds to nothing
}

class CityRanking : public testing::Test
{
protected:
    CityRanking()
    {
        for (const auto &[name, population] : cities)
            index.add(QString::fromUtf8(name), population);
    }

    std::vector<std::string> names(const char *typed, int limit = 20) const
    {
        std::vector<std::string> found;
        for (const int id : index.search(QString::fromUtf8(typed), limit).ids)
            found.emplace_back(cities[size_t(id)].first);
        return found;
    }

    static constexpr std::pair<const char *, quint32> cities[] = {
        {"San Antonio", 1469845},  {"Santiago", 4837295},          {"San", 100},
        {"Madrid", 50437},         {"Las Rozas de Madrid", 95550}, {"Madrid", 3255944},
        {"San Francisco", 864816}, {"Rio de Janeiro", 6023699},    {"N'Djamena", 721081},
        {"West New York", 53366},  {"New York", 8804190},          {"Newark", 281944},
        {"Santa Cruz", 1831434}};
    CityIndex index;
};

TEST_F(CityRanking, BestMatchesFirstLimitKeepsTheBestAndCountsAll)
{
    using Names = std::vector<std::string>;
    // Names beginning with the words typed, then with a word begun, each by population.
    EXPECT_EQ(names("san"),
              (Names{"San Antonio", "San Francisco", "San", "Santiago", "Santa Cruz"}));
    EXPECT_EQ(names("MADRID"), (Names{"Madrid", "Madrid", "Las Rozas de Madrid"}));
    EXPECT_EQ(names("new"), (Names{"New York", "Newark", "West New York"}));
    EXPECT_EQ(names("new york"), (Names{"New York", "West New York"}));
    EXPECT_EQ(names("york new"), Names{});
    EXPECT_EQ(names("rio jan"), Names{"Rio de Janeiro"});
    EXPECT_EQ(names("sanfran"), Names{"San Francisco"});
    EXPECT_EQ(names("Ndjamena"), Names{"N'Djamena"});
    EXPECT_EQ(names("fran"), Names{"San Francisco"});

    EXPECT_EQ(index.search(QStringLiteral("san"), 2).total, 5);
    EXPECT_EQ(names("san", 2), (Names{"San Antonio", "San Francisco"}));
    EXPECT_TRUE(index.search(QStringLiteral("san"), 0).ids.empty());

    // The words typed together come before the same words apart, whatever the populations.
    CityIndex apart;
    apart.add(QStringLiteral("San Juan de Jose"), 100);
    apart.add(QStringLiteral("San Jose"), 1);
    EXPECT_EQ(apart.search(QStringLiteral("san jose"), 9).ids, (std::vector<int>{1, 0}));
}
