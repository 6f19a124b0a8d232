// A small window with the three Art pages for looking at them by eye:
// art_screens <combination> <page 0..2> [choice 0..3] [pair 0..1]
#include "art/view/artcontroller.h"
#include "core/random.h"
#include "core/texttables.h"
#include "resources/design/designdata.h"
#include "resources/textresources.h"
#include "toolkit/formbuilder.h"

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

using namespace velmora;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    ArtTables tables;
    for (int number : kTextResourceNumbers)
        parseTextResource(number, textResource(number), tables);
    RandomSource random;

    QWidget root;
    const QJsonObject design = FormBuilder::loadDesign(designDataPath());
    root.setFixedSize(FormBuilder::clientSize(design));
    FormBuilder::build(design, &root);
    ArtController art(&root, tables, random);
    auto *code = root.findChild<QLineEdit *>(QStringLiteral("txtCode(0)"));
    code->setText(args.value(1, QStringLiteral("BCD")));
    int key = 13;
    art.txtCode_KeyPress(0, key);
    if (args.size() > 3)
        root.findChild<QRadioButton *>(QStringLiteral("optC1(%1)").arg(args.at(3)))->click();
    if (args.size() > 4)
        root.findChild<QRadioButton *>(QStringLiteral("optPair(%1)").arg(args.at(4)))->click();
    root.findChild<QTabWidget *>(QStringLiteral("SSTab1"))->setCurrentIndex(args.value(2).toInt());
    root.show();
    return app.exec();
}
