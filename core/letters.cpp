#include "core/letters.h"

namespace velmora {

int letterIndex(QChar c)
{
    const char16_t upper = c.toUpper().unicode();
    for (int i = 0; i < kLetterCount; ++i) {
        if (upper == static_cast<char16_t>(kAlphabet[i]))
            return i + 1;
    }
    return 0;
}

QChar letterAt(int index)
{
    if (index < 1 || index > kLetterCount)
        return {};
    return QChar::fromLatin1(kAlphabet[index - 1]);
}

} // namespace velmora
