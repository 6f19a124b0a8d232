// Renders the month calendar with a selection into a PNG file, to look at:
//   calendar_screenshot out.png [year month]
#include "calendar/view/monthcalendar.h"
#include "toolkit/picturebox.h"

#include <QApplication>
#include <QTextStream>

using namespace velmora;

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString out = args.value(1, QStringLiteral("calendar.png"));
    const int year = args.value(2, QStringLiteral("2026")).toInt();
    const int month = args.value(3, QStringLiteral("12")).toInt();

    PictureBox pic;
    pic.resize(2895 / 15, 2355 / 15); // the page's picCal
    clsCalendar calendar(nullptr, QDate(year, month, 1));
    calendar.setPictureBox(&pic);
    calendar.SelectDay(Moment(year, month, 5));
    calendar.SelectDay(Moment(year, month, 6));
    calendar.RefreshCalendar();
    const QImage image = pic.image().scaled(pic.image().size() * 3);
    if (!image.save(out)) {
        QTextStream(stderr) << "cannot write " << out << '\n';
        return 1;
    }
    return 0;
}
