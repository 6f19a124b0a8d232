#include "core/runtimelibrary.h"

#include <dlfcn.h>

namespace velmora {

RuntimeLibrary::RuntimeLibrary(const char *fileName)
    : m_fileName(QString::fromLocal8Bit(fileName))
    , m_handle(dlopen(fileName, RTLD_NOW | RTLD_LOCAL))
{
    if (!m_handle)
        m_error = QStringLiteral("%1 cannot be opened: %2")
                      .arg(m_fileName, QString::fromLocal8Bit(dlerror()));
}

RuntimeLibrary::~RuntimeLibrary()
{
    if (m_handle)
        dlclose(m_handle);
}

void *RuntimeLibrary::find(const char *symbol)
{
    if (!m_handle || m_missing)
        return nullptr;
    void *address = dlsym(m_handle, symbol);
    if (!address)
        m_missing = symbol;
    return address;
}

bool RuntimeLibrary::resolvedAll()
{
    if (!m_handle)
        return false;
    if (!m_missing)
        return true;
    m_error =
        QStringLiteral("%1 lacks the function %2").arg(m_fileName, QString::fromLatin1(m_missing));
    dlclose(m_handle);
    m_handle = nullptr;
    return false;
}

} // namespace velmora
