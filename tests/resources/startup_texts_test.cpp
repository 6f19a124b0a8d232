#include "app/startup_texts.h"
#include "texts_support.h"

using namespace velmora;

// Anchors spread over the list: a missing or doubled line shifts one of them.
TEST(StartupTexts, InstrumentsInOrderAndEveryTableFromTheCarriedTexts)
{
    const QStringList list = loadInstrumentList();
    const QStringList lines = resourceLines(textResource(200));
    ASSERT_EQ(list.size(), 128);
    ASSERT_GE(lines.size(), 128);
    for (int i = 0; i < 128; ++i) {
        const QStringList fields = lines.at(i).split(u'\t'); // number, name, nothing
        ASSERT_EQ(fields.size(), 3) << "line " << i + 1;
        EXPECT_EQ(fields.at(0), QString::number(100 + i));
        EXPECT_TRUE(!fields.at(1).isEmpty() && fields.at(2).isEmpty()) << "line " << i + 1;
        EXPECT_EQ(list.at(i), QString::number(i) + u' ' + fields.at(1));
    }
    for (qsizetype i = 128; i < lines.size(); ++i)
        EXPECT_TRUE(lines.at(i).isEmpty()) << "text after the 128th line";
    for (const char *anchor :
         {"0 Acoustic Grand Piano", "50 Synth Strings 1", "64 Soprano Sax", "127 Gunshot"}) {
        const QString entry = QString::fromLatin1(anchor);
        EXPECT_EQ(list.at(entry.section(u' ', 0, 0).toInt()), entry);
    }

    // The loader reads through the resource system: equal tables prove every text
    // is linked into the program and lands where its own parser puts it.
    ArtTables loaded;
    loadTextTables(loaded);
    const ArtTables &expected = texttest::committedTables();
    const auto same = [&](auto member) {
        EXPECT_EQ(loaded.*member, expected.*member);
    };
    [&](auto... members) {
        (same(members), ...);
    }(&ArtTables::AbsPrinciples, &ArtTables::Rules, &ArtTables::CameraMedia,
      &ArtTables::SubjectDefinitions, &ArtTables::ViceDefinitions, &ArtTables::VirtueDefinitions,
      &ArtTables::CameraQuestions, &ArtTables::PairKeys81, &ArtTables::ViceStatements,
      &ArtTables::VirtueStatements, &ArtTables::Part6Texts);
    EXPECT_EQ(loaded.AbsPrinciples[1], QStringLiteral("Goodness")) << "the texts are not linked in";
}
