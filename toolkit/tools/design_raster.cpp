// Renders SVG design pictures for the build, at every scale designraster::kScales names, into
// the files designraster::path() gives them. Usage: design_raster OUTPUT_FOLDER SVG...
#include "toolkit/designraster.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    // The build has no display; text needs a platform all the same.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: design_raster OUTPUT_FOLDER SVG...\n");
        return 2;
    }
    const QDir out(args[1]);
    for (const QString &svgPath : args.mid(2)) {
        QSvgRenderer svg(svgPath);
        if (!svg.isValid()) {
            std::fprintf(stderr, "design_raster: %s is no SVG picture\n", qPrintable(svgPath));
            return 1;
        }
        for (const int scale : velmora::designraster::kScales) {
            const QImage image =
                velmora::designraster::render(svg, svg.defaultSize(), scale, Qt::transparent);
            const QString name = QFileInfo(velmora::designraster::path(svgPath, scale)).fileName();
            if (image.isNull() || !image.save(out.filePath(name))) {
                std::fprintf(stderr, "design_raster: cannot write %s\n",
                             qPrintable(out.filePath(name)));
                return 1;
            }
        }
    }
    return 0;
}
