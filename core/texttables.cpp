#include "core/texttables.h"

#include <QStringView>

#include <utility>

namespace velmora {

namespace {

constexpr QStringView kLineEnd = u"\r\n";

QString resourceText(const QByteArray &bytes)
{
    // The padding only rounds the size up to whole words; it is not text.
    qsizetype size = bytes.size();
    while (size > 0 && bytes.at(size - 1) == '\0')
        --size;
    return QString::fromLatin1(bytes.constData(), size);
}

// Calls lineFn(QStringView) for every line, the piece after the last CR LF
// included, until it returns false.
template <typename LineFn> void forEachLine(QStringView text, LineFn lineFn)
{
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = text.indexOf(kLineEnd, start);
        if (end < 0) {
            lineFn(text.sliced(start));
            return;
        }
        if (!lineFn(text.sliced(start, end - start)))
            return;
        start = end + kLineEnd.size();
    }
}

QStringView trimSpaces(QStringView line)
{
    qsizetype first = 0;
    qsizetype last = line.size();
    while (first < last && line.at(first) == u' ')
        ++first;
    while (last > first && line.at(last - 1) == u' ')
        --last;
    return line.sliced(first, last - first);
}

QStringView field(QStringView line, int number)
{
    int current = 1;
    qsizetype start = 0;
    while (current < number) {
        const qsizetype tab = line.indexOf(u'\t', start);
        if (tab < 0)
            return {};
        start = tab + 1;
        ++current;
    }
    const qsizetype tab = line.indexOf(u'\t', start);
    return tab < 0 ? line.sliced(start) : line.sliced(start, tab - start);
}

template <std::size_t N> void clear(std::array<QString, N> &table)
{
    table.fill(QString());
}

// Every write goes through these two, so no index can leave a table.
template <std::size_t N>
void setElement(std::array<QString, N> &table, qsizetype index, QString value)
{
    if (index >= 0 && index < qsizetype(N))
        table[std::size_t(index)] = std::move(value);
}

template <std::size_t N>
void appendLine(std::array<QString, N> &table, qsizetype index, QStringView line)
{
    if (index < 0 || index >= qsizetype(N))
        return;
    table[std::size_t(index)] += line;
    table[std::size_t(index)] += kLineEnd;
}

constexpr int kAlphabetLines = 45;
constexpr int kPairCount = 81;
constexpr int kInstrumentCount = 128;

} // namespace

QStringList resourceLines(const QByteArray &bytes)
{
    QStringList lines;
    forEachLine(resourceText(bytes), [&lines](QStringView line) {
        lines.append(line.toString());
        return true;
    });
    return lines;
}

bool isBlankLine(QStringView line)
{
    return trimSpaces(line).isEmpty();
}

void parseAlphabet(const QByteArray &bytes, ArtTables &t)
{
    LetterTable *const wordTables[] = {&t.AbsPrinciples, &t.RelPrinciples, &t.Questions,
                                       &t.Subjects,      &t.Virtues,       &t.Vices};
    for (LetterTable *table : wordTables)
        clear(*table);
    clear(t.AbsAdjectives);
    clear(t.RelAdjectives);
    clear(t.AbsDefinitions);
    clear(t.RelDefinitions);
    clear(t.QuestionDefinitions);

    int number = 0;
    forEachLine(resourceText(bytes), [&](QStringView line) {
        ++number;
        if (number <= 9) {
            for (int f = 0; f < 6; ++f)
                setElement(*wordTables[f], number, field(line, f + 1).toString());
        } else if (number <= 18) {
            setElement(t.AbsAdjectives, number - 9, field(line, 1).toString());
            setElement(t.RelAdjectives, number - 9, field(line, 2).toString());
        } else if (number <= 27) {
            setElement(t.AbsDefinitions, number - 18, line.toString());
        } else if (number <= 36) {
            setElement(t.RelDefinitions, number - 27,
                       line.toString().replace(u'#', QStringLiteral("\r\n")));
        } else if (number <= 45) {
            setElement(t.QuestionDefinitions, number - 36, line.toString());
        }
        return number < kAlphabetLines;
    });
}

void parseLetterBlocks(const QByteArray &bytes, LetterTable &table, int firstIndex)
{
    clear(table);
    qsizetype index = firstIndex;
    forEachLine(resourceText(bytes), [&](QStringView line) {
        if (isBlankLine(line))
            ++index;
        else
            appendLine(table, index, line);
        // Past the last element nothing more can be stored.
        return index < qsizetype(table.size());
    });
}

void parseCameraBlocks(const QByteArray &bytes, CameraTable &lines, CameraTable *keys)
{
    clear(lines);
    if (keys)
        clear(*keys);
    qsizetype index = 0;
    forEachLine(resourceText(bytes), [&](QStringView line) {
        const QStringView trimmed = trimSpaces(line);
        if (trimmed.isEmpty()) {
            ++index;
        } else if (trimmed.size() == 2) {
            if (keys)
                setElement(*keys, index, line.toString());
        } else {
            appendLine(lines, index, line);
        }
        return index < qsizetype(lines.size());
    });
}

void parsePairLines(const QByteArray &bytes, PairTable &texts, PairTable *keys)
{
    clear(texts);
    if (keys)
        clear(*keys);
    int k = 0;
    forEachLine(resourceText(bytes), [&](QStringView line) {
        ++k;
        // Short lines give what they have: a partial key and an empty text.
        setElement(texts, k, line.size() > 5 ? line.sliced(5).toString() : QString());
        if (keys)
            setElement(*keys, k, line.first(qMin<qsizetype>(2, line.size())).toString());
        return k < kPairCount;
    });
}

void parseChapters(const QByteArray &bytes, CameraTable &chapters)
{
    clear(chapters);
    qsizetype index = 0;
    forEachLine(resourceText(bytes), [&](QStringView line) {
        if (line.startsWith(u"Chapter"))
            ++index;
        else
            appendLine(chapters, index, line);
        return index < qsizetype(chapters.size());
    });
}

QStringList parseInstrumentList(const QByteArray &bytes)
{
    QStringList list;
    const QString text = resourceText(bytes);
    // An absent resource gives no list rather than one nameless entry.
    if (text.isEmpty())
        return list;
    list.reserve(kInstrumentCount);
    forEachLine(text, [&list](QStringView line) {
        QString entry = QString::number(list.size());
        entry += u' ';
        entry += field(line, 2);
        list.append(entry);
        return list.size() < kInstrumentCount;
    });
    return list;
}

void parseTextResource(int resource, const QByteArray &bytes, ArtTables &t)
{
    switch (resource) {
    case 100:
        parseAlphabet(bytes, t);
        break;
    case 101:
        parseLetterBlocks(bytes, t.Rules, 1);
        break;
    case 102:
        parseCameraBlocks(bytes, t.CameraMedia, &t.CameraKeys);
        break;
    case 103:
        parseLetterBlocks(bytes, t.SubjectDefinitions, 0);
        break;
    case 104:
        parseLetterBlocks(bytes, t.ViceDefinitions, 0);
        break;
    case 105:
        parseLetterBlocks(bytes, t.VirtueDefinitions, 0);
        break;
    case 106:
        parseCameraBlocks(bytes, t.CameraQuestions);
        break;
    case 107:
        parsePairLines(bytes, t.SubjectStatements, &t.PairKeys81);
        break;
    case 108:
        parsePairLines(bytes, t.ViceStatements);
        break;
    case 109:
        parsePairLines(bytes, t.VirtueStatements);
        break;
    case 110:
        parseChapters(bytes, t.Part6Texts);
        break;
    default:
        break;
    }
}

} // namespace velmora
