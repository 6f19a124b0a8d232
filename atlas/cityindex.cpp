#include "atlas/cityindex.h"

#include <QList>

#include <algorithm>
#include <array>
#include <string_view>

namespace velmora {

namespace {

// Letters that have no decomposition to an ASCII letter, spelt as people type them without
// the key.
const char *spelledOut(char32_t c)
{
    switch (c) {
    case U'ß':
        return "ss";
    case U'æ':
    case U'Æ':
        return "ae";
    case U'œ':
    case U'Œ':
        return "oe";
    case U'ø':
    case U'Ø':
        return "o";
    case U'đ':
    case U'Đ':
    case U'ð':
    case U'Ð':
        return "d";
    case U'ł':
    case U'Ł':
        return "l";
    case U'ı':
        return "i";
    case U'þ':
    case U'Þ':
        return "th";
    case U'ħ':
    case U'Ħ':
        return "h";
    case U'ŋ':
    case U'Ŋ':
        return "n";
    default:
        return nullptr;
    }
}

// Apostrophes join (N'Djamena, Hawaiʻi): typed or not, the word stays one.
bool isApostrophe(char32_t c)
{
    return c == U'\'' || c == U'`' || c == U'\u00B4' || c == U'\u2018' || c == U'\u2019' ||
           c == U'\u02BB' || c == U'\u02BC';
}

bool isAsciiAlnum(char32_t c)
{
    return (c >= U'0' && c <= U'9') || (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
}

class Folder
{
public:
    explicit Folder(std::string &out)
        : m_out(out)
    {}

    void put(char32_t c, int depth = 0)
    {
        if (isAsciiAlnum(c)) {
            if (m_space && !m_out.empty())
                m_out += ' ';
            m_space = false;
            m_out += static_cast<char>(c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c);
            return;
        }
        if (isApostrophe(c) || QChar::category(c) == QChar::Mark_NonSpacing ||
            QChar::category(c) == QChar::Mark_Enclosing)
            return;
        if (const char *spelled = spelledOut(c)) {
            for (; *spelled; ++spelled)
                put(static_cast<char32_t>(*spelled));
            return;
        }
        // Down the decompositions to the base letters: ǘ -> ü -> u + marks, ﬁ -> f i.
        const QString parts = c >= 128 && depth < 4 ? QChar::decomposition(c) : QString();
        if (parts.isEmpty()) {
            m_space = true;
            return;
        }
        for (const char32_t part : parts.toUcs4())
            put(part, depth + 1);
    }

private:
    std::string &m_out;
    bool m_space = false;
};

using Words = std::array<std::string_view, 32>;

// Splits a folded text at its spaces; words past the array's end are dropped.
int splitWords(std::string_view text, Words &words)
{
    int count = 0;
    size_t start = 0;
    while (start < text.size() && count < int(words.size())) {
        size_t end = text.find(' ', start);
        if (end == std::string_view::npos)
            end = text.size();
        words[size_t(count++)] = text.substr(start, end - start);
        start = end + 1;
    }
    return count;
}

// Kinds of match, best first (the order the index documents).
enum Tier
{
    kLeadingWords,
    kLeadingPrefix,
    kLeadingScattered,
    kWithoutSpaces,
    kLaterWords,
    kLaterPrefix,
    kNoMatch
};

int wordTier(std::string_view name, const Words &query, int queryCount)
{
    Words words;
    const int count = splitWords(name, words);
    int next = 0;
    int first = -1;
    bool contiguous = true;
    bool wholeBeforeLast = true;
    bool lastWhole = true;
    for (int q = 0; q < queryCount; ++q) {
        const std::string_view typed = query[size_t(q)];
        int found = next;
        while (found < count && !words[size_t(found)].starts_with(typed))
            ++found;
        if (found == count)
            return kNoMatch;
        if (q == 0)
            first = found;
        else if (found != next)
            contiguous = false;
        const bool whole = words[size_t(found)].size() == typed.size();
        if (q + 1 < queryCount)
            wholeBeforeLast = wholeBeforeLast && whole;
        else
            lastWhole = whole;
        next = found + 1;
    }
    if (first > 0)
        return wholeBeforeLast && lastWhole ? kLaterWords : kLaterPrefix;
    if (!contiguous || !wholeBeforeLast)
        return kLeadingScattered;
    return lastWhole ? kLeadingWords : kLeadingPrefix;
}

// True when the name, its spaces left out, begins with the typed letters ("sanfran").
bool startsWithoutSpaces(std::string_view name, std::string_view compact)
{
    size_t i = 0;
    for (const char c : name) {
        if (i == compact.size())
            return true;
        if (c == ' ')
            continue;
        if (c != compact[i])
            return false;
        ++i;
    }
    return i == compact.size();
}

} // namespace

std::string foldForSearch(QStringView text)
{
    std::string out;
    out.reserve(size_t(text.size()));
    Folder folder(out);
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        folder.put(c);
    }
    return out;
}

bool isSearchable(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > kMaxSearchLength)
        return false;
    return std::none_of(text.begin(), text.end(),
                        [](QChar c) { return c.category() == QChar::Other_Control; });
}

void CityIndex::add(QStringView name, quint32 population)
{
    m_entries.push_back({foldForSearch(name), population});
}

CityIndex::Result CityIndex::search(QStringView text, int limit) const
{
    Result result;
    if (!isSearchable(text))
        return result;
    const std::string query = foldForSearch(text);
    Words words;
    const int count = splitWords(query, words);
    if (count == 0)
        return result;
    std::string compact = query;
    std::erase(compact, ' ');

    struct Hit
    {
        int tier;
        int id;
    };
    std::vector<Hit> hits;
    for (size_t id = 0; id < m_entries.size(); ++id) {
        const std::string &name = m_entries[id].folded;
        int tier = wordTier(name, words, count);
        if (tier > kWithoutSpaces && startsWithoutSpaces(name, compact))
            tier = kWithoutSpaces;
        if (tier != kNoMatch)
            hits.push_back({tier, int(id)});
    }
    result.total = int(hits.size());
    const auto better = [this](const Hit &a, const Hit &b) {
        if (a.tier != b.tier)
            return a.tier < b.tier;
        const Entry &x = m_entries[size_t(a.id)];
        const Entry &y = m_entries[size_t(b.id)];
        if (x.population != y.population)
            return x.population > y.population;
        if (x.folded != y.folded)
            return x.folded < y.folded;
        return a.id < b.id;
    };
    const size_t kept = std::min(hits.size(), size_t(std::max(limit, 0)));
    std::partial_sort(hits.begin(), hits.begin() + std::ptrdiff_t(kept), hits.end(), better);
    result.ids.reserve(kept);
    for (size_t i = 0; i < kept; ++i)
        result.ids.push_back(hits[i].id);
    return result;
}

} // namespace velmora
