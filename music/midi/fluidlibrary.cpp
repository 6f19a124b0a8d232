#include "music/midi/fluidlibrary.h"

namespace velmora {

VELMORA_RUNTIME_LIBRARY_CONSTRUCTOR(FluidLibrary, VELMORA_FLUID_FUNCTIONS)

const FluidLibrary &FluidLibrary::instance()
{
    // Never destroyed: an audio driver's thread may still be running in it at exit.
    static const FluidLibrary *const library = new FluidLibrary(kFileName);
    return *library;
}

} // namespace velmora
