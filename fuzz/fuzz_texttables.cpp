// The text tables: the same bytes as every text resource in turn, and as the instrument list.
#include "core/texttables.h"
#include "fuzz/fuzzcheck.h"

#include <QByteArray>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <tuple>

using namespace velmora;

namespace {

auto allTables(const ArtTables &t)
{
    return std::tie(t.AbsPrinciples, t.RelPrinciples, t.Questions, t.Subjects, t.Virtues, t.Vices,
                    t.AbsAdjectives, t.RelAdjectives, t.AbsDefinitions, t.RelDefinitions,
                    t.QuestionDefinitions, t.Rules, t.CameraKeys, t.CameraMedia,
                    t.SubjectDefinitions, t.ViceDefinitions, t.VirtueDefinitions, t.CameraQuestions,
                    t.PairKeys81, t.SubjectStatements, t.ViceStatements, t.VirtueStatements,
                    t.Part6Texts);
}

// Multi-line elements hold whole lines, each closed by CR LF.
template <std::size_t N> void checkWholeLines(const std::array<QString, N> &table)
{
    for (const QString &element : table)
        FUZZ_CHECK(element.isEmpty() || element.endsWith(u"\r\n"));
}

// Keys are recognised by their length between spaces; other blanks count as characters.
QString withoutOuterSpaces(QString text)
{
    while (text.startsWith(u' '))
        text.remove(0, 1);
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

template <std::size_t N> void checkFirstUnused(const std::array<QString, N> &table)
{
    FUZZ_CHECK(table[0].isEmpty());
}

void checkResource(int resource, const QByteArray &bytes, const QByteArray &other)
{
    ArtTables fresh;
    parseTextResource(resource, bytes, fresh);
    // Parsing over tables filled from other bytes gives the same tables: nothing is left over.
    ArtTables reused;
    parseTextResource(resource, other, reused);
    parseTextResource(resource, bytes, reused);
    FUZZ_CHECK(allTables(reused) == allTables(fresh));

    switch (resource) {
    case 100:
        for (const auto *table :
             {&fresh.AbsPrinciples, &fresh.RelPrinciples, &fresh.Questions, &fresh.Subjects,
              &fresh.Virtues, &fresh.Vices, &fresh.AbsAdjectives, &fresh.RelAdjectives}) {
            checkFirstUnused(*table);
            for (const QString &word : *table)
                FUZZ_CHECK(!word.contains(u'\t'));
        }
        checkFirstUnused(fresh.AbsDefinitions);
        checkFirstUnused(fresh.RelDefinitions);
        checkFirstUnused(fresh.QuestionDefinitions);
        break;
    case 101:
        checkWholeLines(fresh.Rules);
        checkFirstUnused(fresh.Rules);
        break;
    case 102:
        checkWholeLines(fresh.CameraMedia);
        for (const QString &key : fresh.CameraKeys)
            FUZZ_CHECK(key.isEmpty() || withoutOuterSpaces(key).size() == 2);
        break;
    case 103:
        checkWholeLines(fresh.SubjectDefinitions);
        break;
    case 106:
        checkWholeLines(fresh.CameraQuestions);
        break;
    case 107:
        checkFirstUnused(fresh.SubjectStatements);
        checkFirstUnused(fresh.PairKeys81);
        for (const QString &key : fresh.PairKeys81)
            FUZZ_CHECK(key.size() <= 2);
        break;
    case 110:
        checkWholeLines(fresh.Part6Texts);
        break;
    default:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QByteArray other = bytes;
    std::reverse(other.begin(), other.end());

    // The lines joined again give the text back, padding aside.
    QByteArray text = bytes;
    while (text.endsWith('\0'))
        text.chop(1);
    FUZZ_CHECK(resourceLines(bytes).join(QStringLiteral("\r\n")) == QString::fromLatin1(text));

    for (int resource = 100; resource <= 110; ++resource)
        checkResource(resource, bytes, other);

    const QStringList instruments = parseInstrumentList(bytes);
    FUZZ_CHECK(instruments.size() <= 128);
    FUZZ_CHECK(text.isEmpty() == instruments.isEmpty());
    for (qsizetype i = 0; i < instruments.size(); ++i) {
        // An entry's number is its position, whatever the file wrote.
        FUZZ_CHECK(instruments[i].startsWith(QString::number(i) + u' '));
        FUZZ_CHECK(!instruments[i].contains(u'\t'));
    }
    return 0;
}
