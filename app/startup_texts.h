#pragma once

#include "core/texttables.h"

#include <QStringList>

namespace velmora {

/// Start-up step: fills every table from the text resources ":/texts/100" ..
/// ":/texts/110", read in that order. A resource that cannot be read leaves
/// its tables empty.
void loadTextTables(ArtTables &tables);

/// Start-up step: the instrument list "0 Acoustic Grand Piano" .. "127 Gunshot"
/// from ":/texts/200", ready for cmbInstrument (list position = program number).
QStringList loadInstrumentList();

} // namespace velmora
