#pragma once

#include <QString>
#include <QtGlobal>

namespace velmora {

/// A shared library opened at run time instead of linked. Every library the executable links is
/// loaded and relocated before main(), at every start, whether or not that run ever calls it; one
/// opened here costs only the runs that use it, and only when they first do. Its functions are
/// resolved all together: a library that lacks any of them is as unusable as a missing one.
class RuntimeLibrary
{
public:
    bool isLoaded() const { return m_handle != nullptr; }
    /// Why the library cannot be used; empty when it can.
    QString errorString() const { return m_error; }

protected:
    /// Opens fileName as dlopen takes it; on failure errorString() says why.
    explicit RuntimeLibrary(const char *fileName);
    ~RuntimeLibrary();
    Q_DISABLE_COPY_MOVE(RuntimeLibrary)

    /// Looks symbol up into function, unless the library is closed or a symbol is already missing.
    template <class Function> void resolve(Function &function, const char *symbol)
    {
        if (void *address = find(symbol))
            function = reinterpret_cast<Function>(address);
    }
    /// True when every symbol asked for was found; otherwise the library is closed again, and
    /// the caller must forget the functions it got.
    bool resolvedAll();

private:
    void *find(const char *symbol);

    QString m_fileName;
    void *m_handle = nullptr;
    const char *m_missing = nullptr;
    QString m_error;
};

// The pieces a library class is made of, from an X-macro list of its functions (see
// music/midi/fluidlibrary.h): each function a member under its own name, typed by the library's
// header, and a constructor that resolves them all or keeps none.
#define VELMORA_RUNTIME_MEMBER(name) decltype(&::name) name = nullptr;
#define VELMORA_RUNTIME_RESOLVE(name) resolve(name, #name);
#define VELMORA_RUNTIME_FORGET(name) name = nullptr;
#define VELMORA_RUNTIME_LIBRARY_CONSTRUCTOR(Class, FUNCTIONS)                                      \
    Class::Class(const char *fileName)                                                             \
        : RuntimeLibrary(fileName)                                                                 \
    {                                                                                              \
        FUNCTIONS(VELMORA_RUNTIME_RESOLVE)                                                         \
        if (!resolvedAll()) {                                                                      \
            FUNCTIONS(VELMORA_RUNTIME_FORGET)                                                      \
        }                                                                                          \
    }

} // namespace velmora
