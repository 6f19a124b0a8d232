// The window's place: the Sky menu, the followed city across a restart, the status bar.
#include "app/frmvelmora.h"
#include "core/preferences.h"
#include "sky/view/navigation.h"
#include "sky/view/placefinder.h"
#include "toolkit/controls.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

std::unique_ptr<frmVelmora> startedWindow(const QString &folder, const QString &atlas = {})
{
    frmVelmora::Environment env;
    env.screenHeight = [] {
        return 1024;
    };
    env.programFolder = folder;
    env.configFolder = folder + u"/config"_s;
    env.midiOutput = u"record"_s;
    env.now = [] {
        return QDateTime(QDate(2026, 12, 6), QTime(11, 30, 0));
    };
    env.atlasLibrary = atlas;
    auto w = std::make_unique<frmVelmora>(env);
    w->Form_Load();
    return w;
}

QString boxText(const frmVelmora &w, int index)
{
    return control<QLineEdit>(w.form(), arrayName(u"txtLatLong"_s, index))->text();
}

const CityPlace kMadrid{u"Madrid"_s, u"Madrid"_s, u"Spain"_s, "Europe/Madrid", 40.4165, -3.7026};

} // namespace

class PlaceWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void skyMenuStandsBeforeHelp()
    {
        QTemporaryDir dir;
        auto w = startedWindow(dir.path());
        const QList<QAction *> menus = w->menuBar()->actions();
        const qsizetype sky = menus.indexOf(w->findChild<QMenu *>(u"mnuSky"_s)->menuAction());
        QVERIFY(sky > 0);
        QCOMPARE(menus.at(sky)->text(), u"&Sky"_s);
        QCOMPARE(menus.at(sky + 1), w->findChild<QMenu *>(u"mnuFileHelp"_s)->menuAction());
        auto *find = w->findChild<QAction *>(u"mnuSkyFindPlace"_s);
        QCOMPARE(find->text(), u"Find &Place..."_s);
        QCOMPARE(find->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
    }

    void followedCitySurvivesARestartWhileTheBoxesHoldIt()
    {
        QTemporaryDir dir;
        {
            auto w = startedWindow(dir.path());
            w->navigation()->pickCity(kMadrid);
            QCOMPARE(w->statusBar()->currentMessage(),
                     u"Madrid, Spain: Europe/Madrid, UTC+1 (CET)"_s);
            QCOMPARE(w->preferences().keptPlace()->zone, u"Europe/Madrid"_s);
            w->close();
        }
        {
            auto w = startedWindow(dir.path());
            QVERIFY(w->navigation()->city() == kMadrid);
            QCOMPARE(boxText(*w, 2), u"-1"_s);
            // Moving the place by hand forgets the city, here and in the file.
            control<QLineEdit>(w->form(), u"txtLatLong(0)"_s)->setText(u"41N"_s);
            w->navigation()->UpdateCalendar(0);
            QVERIFY(!w->navigation()->city());
            QVERIFY(!Preferences(dir.path(), dir.path() + u"/config"_s).keptPlace());
            w->navigation()->pickCity(kMadrid);
            w->close();
        }
        // Settings.txt edited to another place between runs: the city is not restored.
        QFile settings(dir.filePath(u"Settings.txt"_s));
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QByteArray text = settings.readAll();
        settings.close();
        text.replace("40.4165N", "48.85N");
        QVERIFY(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
        settings.write(text);
        settings.close();
        auto w = startedWindow(dir.path());
        QVERIFY(!w->navigation()->city());
        QCOMPARE(boxText(*w, 0), u"48.85N"_s);
    }

    void missingAtlasIsNamedNotFatal()
    {
        QTemporaryDir dir;
        auto w = startedWindow(dir.path(), u"velmora-no-such-atlas"_s);
        auto *find = w->findChild<QAction *>(u"mnuSkyFindPlace"_s);
        find->trigger();
        QVERIFY(!find->isEnabled());
        QCOMPARE(find->toolTip(),
                 u"The atlas of cities is not installed: install the package libgeonames0"_s);
        QCOMPARE(w->statusBar()->currentMessage(), find->toolTip());
    }
};

QTEST_MAIN(PlaceWindowTest)
#include "place_qtest.moc"
