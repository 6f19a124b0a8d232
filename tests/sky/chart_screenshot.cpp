// Draws the chart of a fixed moment and place and saves the picture, so that
// the layout can be looked at: sky_chart_screenshot OUT.png
#include "core/random.h"
#include "sky/core/astromodule.h"
#include "sky/view/astrofont.h"
#include "sky/view/planetchart.h"
#include "toolkit/picturebox.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextStream>
#include <QVBoxLayout>

using namespace velmora;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: sky_chart_screenshot OUT.png\n";
        return 2;
    }
    AstroFont font;
    font.Add(QCoreApplication::applicationDirPath());

    QWidget root;
    auto *pic = new PictureBox(&root);
    pic->setObjectName(QStringLiteral("picAstro"));
    pic->setFixedSize(481, 481);
    auto *out = new QPlainTextEdit(&root);
    out->setObjectName(QStringLiteral("txtOut"));
    out->setFixedSize(481, 113);
    auto *zone = new QLineEdit(&root);
    zone->setObjectName(QStringLiteral("txtLatLong(2)"));
    auto *layout = new QVBoxLayout(&root);
    layout->addWidget(pic);
    layout->addWidget(out);
    layout->addWidget(zone);

    // Ottawa, 16 September 2003, 02:57:36 local time five hours behind Greenwich.
    AstroModule astro;
    astro.setLatitude(45.5f);
    astro.setLongitude(-75.7f);
    astro.setTimeZone(5);
    astro.CalcPlanets(Moment(2003, 9, 16, 2, 57, 36));
    RandomSource random([] { return 0.5; });
    PlanetChart chart(&root, astro, random);
    root.show();
    chart.ShowPlanets();
    QCoreApplication::processEvents();
    QTextStream(stdout) << out->toPlainText() << '\n';
    return root.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
