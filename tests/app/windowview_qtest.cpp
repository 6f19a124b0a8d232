// The View menu's zoom on the real window, and the preferences file that remembers it.

#include "app/frmvelmora.h"
#include "calendar/view/monthcalendar.h"
#include "testwindow.h"
#include "toolkit/controls.h"
#include "toolkit/picturebox.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

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
        auto w = test::startedWindow(dir.path());
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        const QWidget *f = w->form();
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

    // The zoom comes back from the preferences when it is one of the steps; a new choice is
    // written at once.
    void zoomIsRemembered()
    {
        const std::pair<QByteArray, QSize> cases[] = {
            {"[View]\nZoom=150\n", QSize(1161, 995)},
            {"[View]\nZoom=110\n", QSize(774, 663)},
            {QByteArray("\x00\xff[View\nZoom==\n\x01", 17), QSize(774, 663)}};
        for (const auto &[file, form] : cases) {
            QTemporaryDir dir;
            writeFile(dir.filePath(u"Velmora.ini"_s), file);
            auto w = test::startedWindow(dir.path());
            QCOMPARE(w->form()->size(), form);
            action(*w, "mnuViewZoom250")->trigger();
            QCOMPARE(QSettings(dir.filePath(u"Velmora.ini"_s), QSettings::IniFormat)
                         .value(u"View/Zoom"_s)
                         .toInt(),
                     250);
        }
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
        test::startedWindow(dir.path());
        QCOMPARE(remembered(), u"alsa"_s);
        writeFile(dir.filePath(u"Output.txt"_s), "synth\r\n");
        test::startedWindow(dir.path());
        QCOMPARE(remembered(), u"alsa"_s);
    }
};

QTEST_MAIN(WindowViewTest)
#include "windowview_qtest.moc"
