#include "sky/core/swelibrary.h"

namespace velmora {

VELMORA_RUNTIME_LIBRARY_CONSTRUCTOR(SweLibrary, VELMORA_SWE_FUNCTIONS)

const SweLibrary &SweLibrary::instance()
{
    static const SweLibrary library(kFileName);
    return library;
}

} // namespace velmora
