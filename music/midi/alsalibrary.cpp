#include "music/midi/alsalibrary.h"

namespace velmora {

AlsaLibrary::AlsaLibrary(const char *fileName)
    : RuntimeLibrary(fileName)
{
#define VELMORA_ALSA_RESOLVE(name) resolve(name, #name);
    VELMORA_ALSA_FUNCTIONS(VELMORA_ALSA_RESOLVE)
#undef VELMORA_ALSA_RESOLVE
    if (!resolvedAll()) {
#define VELMORA_ALSA_FORGET(name) name = nullptr;
        VELMORA_ALSA_FUNCTIONS(VELMORA_ALSA_FORGET)
#undef VELMORA_ALSA_FORGET
    }
}

const AlsaLibrary &AlsaLibrary::instance()
{
    // Never destroyed: the synthesiser's audio driver runs in it until the process ends.
    static const AlsaLibrary *const library = new AlsaLibrary(kFileName);
    return *library;
}

} // namespace velmora
