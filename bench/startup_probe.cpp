// The program's own start, exactly as main runs it, reporting when the window is first shown.
#include "app/frmvelmora.h"
#include "app/startup_program.h"
#include "shownsignal.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    velmora::prepareApplication();
    velmora::frmVelmora window;
    window.Form_Load();
    velmora::bench::ShownSignal shown(&window);
    window.show();
    return QApplication::exec();
}
