#pragma once

#include "core/texttables.h"

namespace velmora::testing {

/// Tables with the real word lists of the alphabet and short made-up texts
/// that name their letter, camera or pair, so a test can tell which element
/// a box shows.
ArtTables sampleTables();

} // namespace velmora::testing
