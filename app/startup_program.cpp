#include "app/startup_program.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QThreadPool>

namespace velmora {

void prepareApplication()
{
    // Reading the system's list of fonts takes milliseconds; the window needs it only once it
    // lays out its first text, and what comes before can run meanwhile.
    QThreadPool::globalInstance()->start([] { QFontDatabase::families(); });
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    // The desktop entry's name: the desktop groups the windows under the menu entry. The icon
    // comes once the window is first painted.
    QGuiApplication::setDesktopFileName(QStringLiteral(VELMORA_APP_ID));
    // The layout is measured for a small sans-serif dialog font; Arial resolves to a
    // metric-compatible face through fontconfig.
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    QApplication::setFont(font);
}

} // namespace velmora
