#pragma once

#include <QString>

namespace velmora {

/// Resource path of the main window's design data.
QString designDataPath();

} // namespace velmora
