#include "music/midi/alsalibrary.h"

namespace velmora {

VELMORA_RUNTIME_LIBRARY_CONSTRUCTOR(AlsaLibrary, VELMORA_ALSA_FUNCTIONS)

const AlsaLibrary &AlsaLibrary::instance()
{
    // Never destroyed: the synthesiser's audio driver runs in it until the process ends.
    static const AlsaLibrary *const library = new AlsaLibrary(kFileName);
    return *library;
}

} // namespace velmora
