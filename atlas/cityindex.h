#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <vector>

namespace velmora {

/// A name folded for searching: lower-case ASCII words separated by single spaces, accents and
/// apostrophes dropped ("Zürich" -> "zurich", "N'Djamena" -> "ndjamena", "Frankfurt (Oder)" ->
/// "frankfurt oder"). Letters with no ASCII base become a word break.
std::string foldForSearch(QStringView text);

/// Whether a typed text is worth searching: not blank, no control characters, and no longer
/// than any city's name could be.
bool isSearchable(QStringView text);

/// Longest text searched; the longest city name in the atlas has 54 characters.
inline constexpr qsizetype kMaxSearchLength = 100;

/// The names of the atlas, searched as a user types.
///
/// Every word typed must begin a word of the name, in the same order. The best matches come
/// first: the name's first words typed whole ("San" for San Antonio, and for San itself);
/// its first words with the last one begun ("San" for Santiago); the first word and later
/// ones ("rio jan" for Rio de Janeiro); the name typed without its spaces ("sanfran"); and
/// last the words of the name after its first ("madrid" for Las Rozas de Madrid). Within
/// each, the larger population first: a name typed in full does not put a village before
/// the cities whose names begin with it.
class CityIndex
{
public:
    /// Adds a name; its id is the number of names added before it.
    void add(QStringView name, quint32 population);
    int size() const { return static_cast<int>(m_entries.size()); }

    struct Result
    {
        /// Ids of the best matches, best first, at most the limit asked.
        std::vector<int> ids;
        /// How many names matched in all.
        int total = 0;
    };
    /// The names matching a typed text; nothing for a text isSearchable() refuses.
    Result search(QStringView text, int limit) const;

private:
    struct Entry
    {
        std::string folded;
        quint32 population;
    };
    std::vector<Entry> m_entries;
};

} // namespace velmora
