#include "app/frmvelmora.h"

namespace velmora {

frmVelmora::frmVelmora(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmVelmora"));
    setWindowTitle(QStringLiteral("Tarvel's Velmora"));
}

frmVelmora::~frmVelmora() = default;

void frmVelmora::Form_Load()
{
    setWindowTitle(windowTitle() + QStringLiteral(VELMORA_VERSION_SUFFIX));
}

} // namespace velmora
