// Shows the window's controls with the books page in front, for looking at the page.
#include "books/bookbrowser.h"
#include "booktestsupport.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    velmora::test::BookForm form;
    velmora::BookBrowser books(form.root.get(), QCoreApplication::applicationDirPath(),
                               velmora::BookBrowser::defaultBookKeys());
    books.GetWebBook();
    form.root->setWindowTitle(QStringLiteral("Books page"));
    form.root->show();
    return QApplication::exec();
}
