#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

namespace velmora {

struct ArtTables;

/// The ground the third figure is evacuated on, in the order of its option buttons.
enum class EvacuationChoice
{
    Principles = 0,
    Subject = 1,
    Virtues = 2,
    Vices = 3
};

/// Captions of the two pair buttons, each in ascending order.
struct PairCaptions
{
    QString first;
    QString second;

    bool operator==(const PairCaptions &) const = default;
};

/// The two pairs of a combination's text with "(T)" already removed: the
/// first two characters and the second with the last, each put in order.
/// Works on whatever the box holds, so unconfirmed text may give odd pairs.
PairCaptions pairCaptions(const QString &s);

/// Letter indices of the first and last character of each caption, [0],[1]
/// for the first pair and [2],[3] for the second; 0 for anything that is not
/// an upper-case letter of the Art (or an empty caption).
std::array<qint16, 4> pairLetters(const PairCaptions &captions);

/// Camera 1..36 whose key is the given two letters, searched in the tables; 0 when none.
int cameraIndex(const ArtTables &tables, const QString &key);

/// Index 1..81 of a two-letter key in the pair-statement tables; 0 when none.
int pairKeyIndex(const ArtTables &tables, const QString &key);

/// "&&" in a stored text stands for a single "&".
QString showAmpersands(QString text);

/// The twelve propositions of a pair of principles, one per line, each ended
/// by CR LF. Index 0 reads as empty words.
QString propositions(const ArtTables &tables, int a, int b);

/// The first two sentences of a statement line, each on its own line.
QString GetS(const QString &TheS);

/// The questions of a statement line (the text after its second "."), each
/// ended by "?" and CR LF, keeping the space in front. Empty when the line has
/// fewer than two sentences or no question.
QString GetQ(const QString &TheS);

/// Everything the evacuation page shows for the text of its combination box
/// and the state of its choices.
struct EvacuationPage
{
    PairCaptions captions;
    std::array<qint16, 4> pairLetter{};
    bool mediaVisible = false;
    bool part6Visible = false;
    bool checksEnabled = false;
    int camera = 0;
    /// The camera's media and commentary; empty for a pair that is no camera, so that no other
    /// camera's text stays under it.
    QString media;
    QString part6;
    QString propositions;
    QString questions;
    std::array<QString, 2> definitions;
    std::array<QString, 2> rules;
};

/// The page for combination text code (the box's text, confirmed or not),
/// with the chosen ground, the selected pair button (0 or 1) and the two
/// check boxes.
EvacuationPage evacuate(const ArtTables &tables, const QString &code, EvacuationChoice choice,
                        int selectedPair, bool mediaChecked, bool part6Checked);

} // namespace velmora
