#include "calendar/view/monthcalendar.h"
#include "core/random.h"
#include "sky/core/astromodule.h"
#include "sky/view/astrofont.h"
#include "sky/view/navigation.h"
#include "sky/view/planetchart.h"
#include "toolkit/controls.h"
#include "toolkit/picturebox.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <benchmark/benchmark.h>

using namespace velmora;

namespace {

template <class T> T *add(QWidget &root, const QString &name)
{
    auto *w = new T(&root);
    w->setObjectName(name);
    return w;
}

// One step of a continuous jump by a day: the calendar rebuilt and redrawn, the boxes written,
// the place read, the sky computed and the chart redrawn.
void UpdateCalendarStep(benchmark::State &state)
{
    AstroFont font;
    font.Add(QCoreApplication::applicationDirPath());
    QWidget root;
    add<PictureBox>(root, QStringLiteral("picAstro"))->resize(481, 481);
    add<QPlainTextEdit>(root, QStringLiteral("txtOut"));
    auto *picCal = add<PictureBox>(root, QStringLiteral("picCal"));
    picCal->resize(193, 157);
    add<QLineEdit>(root, QStringLiteral("txtTheDate"));
    add<QLineEdit>(root, QStringLiteral("txtTheTime"));
    const char *place[] = {"45.5N", "75.7W", "5"};
    for (int i = 0; i < 3; ++i)
        add<QLineEdit>(root, arrayName(QStringLiteral("txtLatLong"), i))
            ->setText(QString::fromLatin1(place[i]));
    for (int i = 0; i < 5; ++i)
        add<QPushButton>(root, arrayName(QStringLiteral("cmdJump"), i));
    for (int i = 0; i < 6; ++i)
        add<QRadioButton>(root, arrayName(QStringLiteral("optTJ"), i));
    control<QRadioButton>(&root, QStringLiteral("optTJ(1)"))->setChecked(true);
    add<QComboBox>(root, QStringLiteral("cmbJump"))->addItem(QStringLiteral("1"));
    add<QPushButton>(root, QStringLiteral("cmdNow"));
    (new QTimer(&root))->setObjectName(QStringLiteral("Timer2"));

    AstroModule astro;
    RandomSource random;
    PlanetChart chart(&root, astro, random);
    clsCalendar calendar;
    calendar.setPictureBox(picCal);
    Navigation navigation(&root, calendar, astro, chart);
    navigation.setTheDate(Moment(2003, 9, 16, 2, 57, 36));
    for (auto _ : state)
        navigation.UpdateCalendar(1);
    benchmark::DoNotOptimize(navigation.TheDate());
}
BENCHMARK(UpdateCalendarStep)->Unit(benchmark::kMicrosecond);

// The calendar's share: new month records, the selected day and a full redraw.
void CalendarRefresh(benchmark::State &state)
{
    PictureBox pic;
    pic.resize(193, 157);
    clsCalendar calendar;
    calendar.setPictureBox(&pic);
    int month = 0;
    for (auto _ : state) {
        calendar.setShownYear(2026);
        calendar.setShownMonth(month % 12 + 1);
        calendar.SelectDay(Moment(2026, month % 12 + 1, 15));
        calendar.RefreshCalendar();
        ++month;
    }
}
BENCHMARK(CalendarRefresh)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
