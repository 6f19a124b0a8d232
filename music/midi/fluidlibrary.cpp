#include "music/midi/fluidlibrary.h"

namespace velmora {

FluidLibrary::FluidLibrary(const char *fileName)
    : RuntimeLibrary(fileName)
{
#define VELMORA_FLUID_RESOLVE(name) resolve(name, #name);
    VELMORA_FLUID_FUNCTIONS(VELMORA_FLUID_RESOLVE)
#undef VELMORA_FLUID_RESOLVE
    if (!resolvedAll()) {
#define VELMORA_FLUID_FORGET(name) name = nullptr;
        VELMORA_FLUID_FUNCTIONS(VELMORA_FLUID_FORGET)
#undef VELMORA_FLUID_FORGET
    }
}

const FluidLibrary &FluidLibrary::instance()
{
    // Never destroyed: an audio driver's thread may still be running in it at exit.
    static const FluidLibrary *const library = new FluidLibrary(kFileName);
    return *library;
}

} // namespace velmora
