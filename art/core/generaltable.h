#pragma once

#include "art/core/combination.h"

#include <QString>
#include <QStringList>

#include <array>

namespace velmora {

struct ArtTables;

/// The stored letters sorted ascending.
Letters sortedLetters(Letters letters);

/// The three different letters the General Table column is built from: the
/// sorted letters, with a repeated letter replaced so that all three differ.
QString tableLetters(const Letters &sorted);

/// The twenty rows of the column for three different letters ("BCD" gives
/// BCD, BCTB, ... TBCD), without line ends.
QStringList generalTableRows(const QString &letters);

/// The list box text: every row followed by CR LF.
QString generalTableText(const QStringList &rows);

/// What the texts panel shows for one place of the combination.
struct TextsPanelPlace
{
    QString principle;
    QString definition;
    QString rule;
    QString subject;
    QString virtue;
    QString vice;
};

/// The panel in combination order: each place's principle and definition
/// from the figure it is read on, and its letter's rule, subject, virtue and vice.
std::array<TextsPanelPlace, 3> textsPanel(const ArtTables &tables, const Letters &codeLetters,
                                          const Letters &letterFigure);

} // namespace velmora
