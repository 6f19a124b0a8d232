#include "app/frmvelmora.h"
#include "app/startup_program.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    velmora::prepareApplication();
    velmora::frmVelmora window;
    window.Form_Load();
    window.show();
    return QApplication::exec();
}
