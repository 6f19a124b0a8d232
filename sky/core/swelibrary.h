#pragma once

#include "core/runtimelibrary.h"

#include <swephexp.h>

namespace velmora {

// Every Swiss Ephemeris function the program calls, typed by the library's own header.
#define VELMORA_SWE_FUNCTIONS(X)                                                                   \
    X(swe_julday)                                                                                  \
    X(swe_deltat)                                                                                  \
    X(swe_calc)                                                                                    \
    X(swe_get_planet_name)                                                                         \
    X(swe_houses_ex)                                                                               \
    X(swe_set_ephe_path)                                                                           \
    X(swe_close)

/// The Swiss Ephemeris, opened when the sky is first computed, which is after the window is
/// first shown.
class SweLibrary : public RuntimeLibrary
{
public:
    static constexpr const char *kFileName = "libswe.so.2.0";

    /// Opens fileName and resolves every function, or keeps none and says what was missing.
    explicit SweLibrary(const char *fileName);

    /// The program's ephemeris library, opened on the first call and kept for the whole run.
    static const SweLibrary &instance();

    // The functions, under their own names; null unless isLoaded().
    VELMORA_SWE_FUNCTIONS(VELMORA_RUNTIME_MEMBER)
};

} // namespace velmora
