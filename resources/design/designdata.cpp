#include "resources/design/designdata.h"

namespace velmora {

QString designDataPath()
{
    return QStringLiteral(":/design/frmVelmora.json");
}

} // namespace velmora
