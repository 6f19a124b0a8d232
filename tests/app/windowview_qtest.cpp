// The View menu's zoom on the real window, and the preferences file that remembers it.

#include "app/frmvelmora.h"
#include "calendar/view/monthcalendar.h"
#include "sky/view/planetchart.h"
#include "toolkit/controls.h"
#include "toolkit/picturebox.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

std::unique_ptr<frmVelmora> startedWindow(const QString &folder,
                                          const QString &output = u"record"_s)
{
    frmVelmora::Environment env;
    env.screenHeight = [] {
        return 1024;
    };
    env.programFolder = folder;
    env.configFolder = folder + u"/config"_s;
    env.midiOutput = output;
    env.now = [] {
        return QDateTime(QDate(2026, 12, 6), QTime(11, 30, 0));
    };
    auto w = std::make_unique<frmVelmora>(env);
    w->Form_Load();
    return w;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QAction *action(const frmVelmora &w, const char *name)
{
    return w.findChild<QAction *>(QString::fromLatin1(name));
}

} // namespace

class WindowViewTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void zoomScalesTheFormAndKeepsEverything()
    {
        QTemporaryDir dir;
        auto w = startedWindow(dir.path());
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        const QWidget *f = w->form();
        w->SSTab1()->setCurrentIndex(3);
        auto *zodiac = control<QPushButton>(f, u"cmdZodiac"_s);
        zodiac->click(); // a cycle plays through the zoom

        const char *samples[] = {"picAstro", "txtCode(0)", "optC1(3)", "cmdBackForward(1)",
                                 "txtSpeed"};
        std::vector<std::pair<QRect, double>> before;
        for (const char *name : samples) {
            const auto *c = control<QWidget>(f, QString::fromLatin1(name));
            before.emplace_back(c->geometry(), c->font().pointSizeF());
        }
        auto *table = control<QPlainTextEdit>(f, u"txtOut"_s);
        const QString tableText = table->toPlainText();
        const double tablePoints = table->font().pointSizeF();
        auto *calendar = control<PictureBox>(f, u"picCal"_s);
        const QImage month = calendar->image();

        action(*w, "mnuViewZoom200")->trigger();
        QCOMPARE(f->size(), QSize(1548, 1326));
        for (size_t i = 0; i < std::size(samples); ++i) {
            const auto *c = control<QWidget>(f, QString::fromLatin1(samples[i]));
            QCOMPARE(c->geometry(),
                     QRect(before[i].first.topLeft() * 2, before[i].first.size() * 2));
            QCOMPARE(c->font().pointSizeF(), before[i].second * 2);
        }
        QCOMPARE(control<QPushButton>(f, u"cmdBackForward(1)"_s)->iconSize(), QSize(28, 28));
        QVERIFY(action(*w, "mnuViewZoom200")->isChecked());
        QCOMPARE(table->toPlainText(), tableText);
        // The planet table is the same table, only larger (a step smaller where the larger
        // font runs wider), also when it is written again.
        const auto tableZoomed = [&] {
            const double points = table->font().pointSizeF();
            return points > 1.9 * tablePoints && points <= 2 * tablePoints;
        };
        QVERIFY(tableZoomed());
        w->chart()->ShowPlanets();
        QVERIFY(tableZoomed());
        QCOMPARE(control<QLineEdit>(f, u"txtCode(0)"_s)->text(), u"BCD"_s);
        QCOMPARE(zodiac->text(), u"Stop"_s);
        QVERIFY(control<QTimer>(f, u"Timer1"_s)->isActive());
        // The pictures keep their twips, and what is drawn after the zoom is drawn as before.
        QCOMPARE(calendar->ScaleWidth(), 2895.0);
        w->calendar()->RefreshCalendar();
        QCOMPARE(calendar->image(), month);

        action(*w, "mnuViewZoomIn")->trigger();
        action(*w, "mnuViewZoomIn")->trigger();
        QVERIFY(action(*w, "mnuViewZoom300")->isChecked());
        QVERIFY(!action(*w, "mnuViewZoomIn")->isEnabled());
        action(*w, "mnuViewZoomOut")->trigger();
        QVERIFY(action(*w, "mnuViewZoom250")->isChecked());
        action(*w, "mnuViewActualSize")->trigger();
        QCOMPARE(f->size(), QSize(774, 663));
        QCOMPARE(control<QWidget>(f, u"picAstro"_s)->geometry(), before[0].first);
        QVERIFY(!action(*w, "mnuViewZoomOut")->isEnabled());
        zodiac->click();
    }

    void zoomIsRemembered_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QSize>("form");
        QTest::newRow("150%") << QByteArray("[View]\nZoom=150\n") << QSize(1161, 995);
        QTest::newRow("not a step") << QByteArray("[View]\nZoom=110\n") << QSize(774, 663);
        QTest::newRow("damaged") << QByteArray("\x00\xff[View\nZoom==\n\x01", 17)
                                 << QSize(774, 663);
    }
    void zoomIsRemembered()
    {
        QFETCH(QByteArray, file);
        QFETCH(QSize, form);
        QTemporaryDir dir;
        writeFile(dir.filePath(u"Velmora.ini"_s), file);
        auto w = startedWindow(dir.path());
        QCOMPARE(w->form()->size(), form);
        action(*w, "mnuViewZoom250")->trigger();
        QCOMPARE(QSettings(dir.filePath(u"Velmora.ini"_s), QSettings::IniFormat)
                     .value(u"View/Zoom"_s)
                     .toInt(),
                 250);
    }

    // The sound output of earlier versions moves into the preferences on the first start;
    // from then on the preferences decide.
    void outputTxtIsReadOnce()
    {
        QTemporaryDir dir;
        const auto remembered = [&dir] {
            return QSettings(dir.filePath(u"Velmora.ini"_s), QSettings::IniFormat)
                .value(u"Sound/Output"_s)
                .toString();
        };
        writeFile(dir.filePath(u"Output.txt"_s), "alsa\r\n");
        startedWindow(dir.path());
        QCOMPARE(remembered(), u"alsa"_s);
        writeFile(dir.filePath(u"Output.txt"_s), "synth\r\n");
        startedWindow(dir.path());
        QCOMPARE(remembered(), u"alsa"_s);
    }
};

QTEST_MAIN(WindowViewTest)
#include "windowview_qtest.moc"
