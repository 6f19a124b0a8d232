#include "app/startup_program.h"

#include <QApplication>
#include <QFont>

namespace velmora {

void prepareApplication()
{
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    // The layout is measured for a small sans-serif dialog font; Arial resolves to a
    // metric-compatible face through fontconfig.
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    QApplication::setFont(font);
}

} // namespace velmora
