// The least a Qt program with this program's shape does before its window shows: a main window
// with a menu bar and five tabs, nothing in them.
#include "shownsignal.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTabWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("E&xit"));
    QMenu *help = window.menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&About"));
    auto *tabs = new QTabWidget(&window);
    for (const char *title : {"The Figures", "Evacuating the 3rd figure", "General Table",
                              "The Seven Planets", "Tarvelian Books"})
        tabs->addTab(new QWidget(tabs), QString::fromLatin1(title));
    window.setCentralWidget(tabs);
    window.resize(1000, 700);
    velmora::bench::ShownSignal shown(&window);
    window.show();
    return QApplication::exec();
}
