#include "music/midi/fluidlibrary.h"

#include <dlfcn.h>

namespace velmora {

FluidLibrary::FluidLibrary(const char *fileName)
{
    void *handle = dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        m_error = QStringLiteral("%1 cannot be opened: %2")
                      .arg(QString::fromLocal8Bit(fileName), QString::fromLocal8Bit(dlerror()));
        return;
    }
    const char *missing = nullptr;
    auto resolve = [&](auto &function, const char *symbol) {
        if (missing)
            return;
        using Function = std::remove_reference_t<decltype(function)>;
        function = reinterpret_cast<Function>(dlsym(handle, symbol));
        if (!function)
            missing = symbol;
    };
#define VELMORA_FLUID_RESOLVE(name) resolve(name, #name);
    VELMORA_FLUID_FUNCTIONS(VELMORA_FLUID_RESOLVE)
#undef VELMORA_FLUID_RESOLVE
    if (missing) {
        m_error = QStringLiteral("%1 lacks the function %2")
                      .arg(QString::fromLocal8Bit(fileName), QString::fromLatin1(missing));
#define VELMORA_FLUID_FORGET(name) name = nullptr;
        VELMORA_FLUID_FUNCTIONS(VELMORA_FLUID_FORGET)
#undef VELMORA_FLUID_FORGET
        dlclose(handle);
        return;
    }
    m_handle = handle;
}

FluidLibrary::~FluidLibrary()
{
    if (m_handle)
        dlclose(m_handle);
}

const FluidLibrary &FluidLibrary::instance()
{
    // Never destroyed: an audio driver's thread may still be running in it at exit.
    static const FluidLibrary *const library = new FluidLibrary(kFileName);
    return *library;
}

} // namespace velmora
