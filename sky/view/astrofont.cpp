#include "sky/view/astrofont.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>

namespace velmora {

AstroFont::~AstroFont()
{
    Remove();
}

bool AstroFont::Add(const QString &programFolder)
{
    if (FontAdded())
        return true;
    const QString path = QDir(programFolder).filePath(QString::fromLatin1(kFileName));
    if (!QFile::exists(path))
        return false;
    m_id = QFontDatabase::addApplicationFont(path);
    return FontAdded();
}

void AstroFont::Remove()
{
    if (!FontAdded())
        return;
    QFontDatabase::removeApplicationFont(m_id);
    m_id = -1;
}

} // namespace velmora
