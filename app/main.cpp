#include "app/frmvelmora.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setOrganizationName(QStringLiteral("Velmora"));
    velmora::frmVelmora window;
    window.Form_Load();
    window.show();
    return QApplication::exec();
}
