#include "sky/core/swelibrary.h"

namespace velmora {

VELMORA_RUNTIME_LIBRARY_CONSTRUCTOR(SweLibrary, VELMORA_SWE_FUNCTIONS)

const SweLibrary &SweLibrary::instance()
{
    // Never closed: what the library keeps allocated between calls stays reachable, so no leak
    // checker reports it, and nothing runs in it while the process ends.
    static const SweLibrary *const library = new SweLibrary(kFileName);
    return *library;
}

} // namespace velmora
