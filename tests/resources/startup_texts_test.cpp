#include "app/startup_texts.h"
#include "texts_support.h"

using namespace velmora;

namespace {

struct Instrument
{
    int program;
    const char *name;
};

} // namespace

// The first of every family of eight, the default choice and the last one:
// any missing, doubled or misspelt line shifts or breaks one of these.
TEST(InstrumentList, HoldsTheGeneralMidiProgramsInOrder)
{
    const QStringList list = loadInstrumentList();
    ASSERT_EQ(list.size(), 128);
    const Instrument anchors[] = {{0, "Acoustic Grand Piano"},
                                  {8, "Celesta"},
                                  {16, "Drawbar Organ"},
                                  {24, "Acoustic Guitar (nylon)"},
                                  {32, "Acoustic Bass"},
                                  {40, "Violin"},
                                  {48, "String Ensemble 1"},
                                  {50, "Synth Strings 1"},
                                  {56, "Trumpet"},
                                  {64, "Soprano Sax"},
                                  {72, "Piccolo"},
                                  {80, "Lead 1 (square)"},
                                  {88, "Pad 1 (new age)"},
                                  {96, "FX 1 (rain)"},
                                  {104, "Sitar"},
                                  {112, "Tinkle Bell"},
                                  {120, "Guitar Fret Noise"},
                                  {127, "Gunshot"}};
    for (const Instrument &anchor : anchors)
        EXPECT_EQ(list.at(anchor.program),
                  QString::number(anchor.program) + u' ' + QString::fromLatin1(anchor.name));
    for (int i = 0; i < list.size(); ++i) {
        const QString prefix = QString::number(i) + u' ';
        EXPECT_TRUE(list.at(i).startsWith(prefix)) << list.at(i).toStdString();
        EXPECT_GT(list.at(i).size(), prefix.size()) << "entry " << i << " has no name";
    }
}

TEST(InstrumentList, FileNumbersRunFrom100To227WithTrailingTabs)
{
    const QStringList lines = resourceLines(textResource(200));
    ASSERT_GE(lines.size(), 128);
    for (int i = 0; i < 128; ++i) {
        const QStringList fields = lines.at(i).split(u'\t');
        ASSERT_EQ(fields.size(), 3) << "line " << i + 1;
        EXPECT_EQ(fields.at(0), QString::number(100 + i));
        EXPECT_TRUE(fields.at(2).isEmpty());
    }
    for (qsizetype i = 128; i < lines.size(); ++i)
        EXPECT_TRUE(lines.at(i).isEmpty()) << "text after the 128th line";
}

// The loader reads through the resource system: equal tables prove the texts
// are linked into the program and land where their own parsers put them.
TEST(LoadTextTables, FillsTheTablesFromTheCarriedTexts)
{
    ArtTables loaded;
    loadTextTables(loaded);
    const ArtTables &expected = texttest::committedTables();
    EXPECT_EQ(loaded.AbsPrinciples, expected.AbsPrinciples);
    EXPECT_EQ(loaded.Rules, expected.Rules);
    EXPECT_EQ(loaded.CameraMedia, expected.CameraMedia);
    EXPECT_EQ(loaded.SubjectDefinitions, expected.SubjectDefinitions);
    EXPECT_EQ(loaded.CameraQuestions, expected.CameraQuestions);
    EXPECT_EQ(loaded.PairKeys81, expected.PairKeys81);
    EXPECT_EQ(loaded.VirtueStatements, expected.VirtueStatements);
    EXPECT_EQ(loaded.Part6Texts, expected.Part6Texts);
    EXPECT_EQ(loaded.AbsPrinciples[1], QStringLiteral("Goodness")) << "the texts are not linked in";
}
