#pragma once

namespace velmora {

/// What every start of the program sets before its window is built: the application's name and
/// the dialog font the layout was measured for. Needs the QApplication.
void prepareApplication();

} // namespace velmora
