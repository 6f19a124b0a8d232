#include "resources/textresources.h"

#include <QFile>
#include <QString>

namespace velmora {

namespace {

QString resourcePath(int number)
{
    return QStringLiteral(":/texts/") + QString::number(number);
}

} // namespace

QByteArray textResource(int number)
{
    QFile file(resourcePath(number));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool hasTextResource(int number)
{
    return QFile::exists(resourcePath(number));
}

} // namespace velmora
