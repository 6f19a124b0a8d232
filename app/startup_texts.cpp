#include "app/startup_texts.h"

#include <QFile>

namespace velmora {

namespace {

QByteArray readTextResource(int number)
{
    QFile file(QStringLiteral(":/texts/") + QString::number(number));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

void loadTextTables(ArtTables &tables)
{
    for (int number = 100; number <= 110; ++number)
        parseTextResource(number, readTextResource(number), tables);
}

QStringList loadInstrumentList()
{
    return parseInstrumentList(readTextResource(200));
}

} // namespace velmora
