// A user's session with the real window, page by page: every step goes through the widgets
// (clicks and keys) and checks that the pages are wired together and answer the input; the exact
// texts of each page are its own tests' business.

#include "app/frmvelmora.h"
#include "art/core/combination.h"
#include "art/core/evacuation.h"
#include "art/core/figuregeometry.h"
#include "art/core/generaltable.h"
#include "art/view/artcontroller.h"
#include "calendar/core/monthgrid.h"
#include "calendar/view/monthcalendar.h"
#include "core/settingsfile.h"
#include "core/units.h"
#include "music/core/midimodule.h"
#include "music/midi/recordingoutput.h"
#include "music/view/musicpage.h"
#include "sky/core/astromodule.h"
#include "sky/view/navigation.h"
#include "toolkit/controls.h"
#include "toolkit/picturebox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cmath>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

// The pages, in the order of their tabs.
constexpr int kFigures = 0, kEvacuation = 1, kTable = 2, kPlanets = 3, kBooks = 4;

constexpr int kInstrument = 51;

// Share of the points around a marker's outline, inside the box, that carry its colour: high
// where the three-pixel-wide marker is drawn, low where only a figure's thin lines cross it.
double markerShare(const PictureBox *box, const MarkerCircle &m)
{
    int hits = 0;
    int inside = 0;
    for (int i = 0; i < 72; ++i) {
        const double a = i * M_PI / 36;
        const qint32 pixel = box->Point(m.x + m.radius * std::cos(a), m.y + m.radius * std::sin(a));
        if (pixel < 0)
            continue; // outside the box
        ++inside;
        int worst = 0;
        for (int shift : {0, 8, 16})
            worst = std::max(worst, std::abs((pixel >> shift & 0xFF) - (m.colour >> shift & 0xFF)));
        hits += worst < 60;
    }
    return inside ? double(hits) / inside : 0.0;
}

bool markersDrawn(const PictureBox *box, const std::vector<MarkerCircle> &markers,
                  bool drawn = true)
{
    for (const MarkerCircle &m : markers)
        if (drawn ? markerShare(box, m) < 0.9 : markerShare(box, m) > 0.5)
            return false;
    return !markers.empty();
}

struct NoteTally
{
    int lastProgram = -1;
    int sounding = 0; // notes whose last message switched them on
};

NoteTally tally(const std::vector<RecordedMessage> &messages)
{
    NoteTally t;
    std::array<bool, 128> on{};
    for (const RecordedMessage &m : messages) {
        const int status = int(m.packed & 0xF0u);
        const int data1 = int((m.packed >> 8) & 0x7Fu);
        if (status == kNoteOn || status == kNoteOff) {
            on[data1] = status == kNoteOn && (m.packed >> 16 & 0x7Fu) != 0;
        } else if (status == kProgramChange) {
            t.lastProgram = data1;
        }
    }
    t.sounding = int(std::count(on.begin(), on.end(), true));
    return t;
}

// Clicks on a text at a character position, where the user sees it.
template <class Edit> void clickText(Edit *edit, int position)
{
    QTextCursor cursor(edit->document());
    cursor.setPosition(position);
    const QPoint at = edit->cursorRect(cursor).center();
    QVERIFY(edit->viewport()->rect().contains(at));
    QTest::mouseClick(edit->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class WalkTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder;
    std::unique_ptr<frmVelmora> m_window;

    template <class T = QWidget> T *find(const char *name) const
    {
        return control<T>(m_window->form(), QString::fromLatin1(name));
    }
    QString text(const char *name) const
    {
        if (auto *box = qobject_cast<QLineEdit *>(find(name)))
            return box->text();
        return find<QPlainTextEdit>(name)->toPlainText();
    }
    QString moment() const { return text("txtTheDate") + u' ' + text("txtTheTime"); }
    void showPage(int page)
    {
        QTabBar *bar = m_window->SSTab1()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(page).center());
        QCOMPARE(m_window->SSTab1()->currentIndex(), page);
    }
    void typeAndEnter(const char *name, const QString &typed)
    {
        auto *box = find<QLineEdit>(name);
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, typed);
        QTest::keyClick(box, Qt::Key_Return);
    }
    void click(const char *name)
    {
        auto *button = find<QAbstractButton>(name);
        QVERIFY2(button->isVisible() && button->isEnabled(), name);
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }
    RecordingOutput &recorder() const
    {
        return dynamic_cast<RecordingOutput &>(*m_window->midi().output());
    }
    void startWindow()
    {
        m_window = std::make_unique<frmVelmora>(frmVelmora::Environment{
            .screenHeight = [] { return 1024; },
            .programFolder = m_folder.path(),
            .configFolder = m_folder.filePath(u"config"_s),
            .now = [] { return QDateTime(QDate(2026, 12, 6), QTime(11, 30, 0)); },
            .midiOutput = u"record"_s,
            .releaseEphemeris = [] {},
        });
        m_window->Form_Load();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Dates are written and read with month names in the user's language; fix it.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        // A program folder of the test's own, so closing writes its settings there.
        QVERIFY(m_folder.isValid());
        const QDir bin(QCoreApplication::applicationDirPath());
        for (const char *entry :
             {"ars-brevis", "liber-de-lumine", "velmora", "seven-planets", "help", "astrol.ttf"}) {
            const QString name = QString::fromLatin1(entry);
            QVERIFY2(bin.exists(name) && QFile::link(bin.filePath(name), m_folder.filePath(name)),
                     qPrintable(name + u" is missing beside the test: build all"_s));
        }
        startWindow();
    }

    void typedCombinationMarksTheFigures()
    {
        showPage(kFigures);
        // Typed in lower case with the marker anywhere: repaired, and shown on every page.
        typeAndEnter("txtCode(0)", u"dc(t)b"_s);
        for (const char *box : {"txtCode(0)", "txtCode(1)", "txtCode(2)"})
            QCOMPARE(text(box), u"CD(T)B"_s);

        typeAndEnter("txtCode(0)", u"B(T)CD"_s);
        auto *fig1 = find<PictureBox>("picFig1");
        auto *fig2 = find<PictureBox>("picFig2");
        auto *fig3 = find<PictureBox>("picFig3");
        const auto marksOf = [&](const Combination &c) {
            return figureMarkers(c, fig1->ScaleWidth(), fig1->ScaleHeight(), fig2->ScaleWidth(),
                                 fig2->ScaleHeight());
        };
        const FigureMarkers bcd = marksOf({2, {1, 2, 3}});
        QVERIFY(markersDrawn(fig1, bcd.first));
        // The third figure circles the cameras of the pairs BC and CD.
        QVERIFY(markersDrawn(fig3, thirdFigureMarkers({1, 2, 2, 3}, fig3->foreColor())));

        // A new combination clears the old markers.
        typeAndEnter("txtCode(0)", u"FGH"_s);
        QVERIFY(markersDrawn(fig1, bcd.first, false));
        QVERIFY(markersDrawn(fig1, marksOf({0, {5, 6, 7}}).first));
    }

    void randomDrawsStoredCombinations()
    {
        m_window->random().seed(20261206);
        QSet<QString> seen;
        for (int i = 0; i < 6; ++i) {
            click("cmdRandom(0)");
            const QString code = text("txtCode(0)");
            // The boxes show a stored combination, already in its repaired form.
            const auto drawn = evaluateTypedCombination(code);
            QVERIFY2(drawn && combinationText(*drawn) == code, qPrintable(code));
            seen.insert(code);
        }
        QVERIFY2(seen.size() > 1, "six presses of Random gave one combination");
    }

    void generalTableRowBecomesTheCombination()
    {
        typeAndEnter("txtCode(0)", u"BCD"_s);
        showPage(kTable);
        auto *list = find<QPlainTextEdit>("txtGT");
        const QString listBefore = list->toPlainText();
        const QTextBlock row = list->document()->findBlockByNumber(5);
        const auto chosen = evaluateTypedCombination(row.text());
        QVERIFY(chosen);
        clickText(list, row.position() + 1);

        QCOMPARE(text("txtCode(1)"), combinationText(*chosen));
        // The list stays, so the user can go on choosing its rows; the texts follow the row.
        QCOMPARE(list->toPlainText(), listBefore);
        const auto panel =
            textsPanel(m_window->tables(), chosen->letters, m_window->art()->LetterFigure());
        QCOMPARE(text("txtS(2)"), panel[2].subject);
    }

    void evacuationFollowsItsChoices()
    {
        showPage(kFigures);
        typeAndEnter("txtCode(0)", u"B(T)CD"_s);
        showPage(kEvacuation);

        // Button clicked, then the ground and pair it leaves, and whether the text must change.
        constexpr auto principles = EvacuationChoice::Principles;
        const std::tuple<const char *, EvacuationChoice, int, bool> steps[] = {
            {"optC1(0)", principles, 0, false},
            {"optPair(0)", principles, 0, false},
            {"optC1(3)", EvacuationChoice::Vices, 0, true},
            {"optPair(1)", EvacuationChoice::Vices, 1, true},
            {"optC1(0)", principles, 1, true},
            {"chkMedia", principles, 1, false},
            {"chkPart6", principles, 1, false},
        };
        QString shownBefore;
        for (const auto &[button, choice, pair, changesText] : steps) {
            click(button);
            const EvacuationPage page = evacuate(m_window->tables(), u"B(T)CD"_s, choice, pair,
                                                 find<QCheckBox>("chkMedia")->isChecked(),
                                                 find<QCheckBox>("chkPart6")->isChecked());
            const QString shown = text("txtDef(0)") + text("txt3a(1)");
            QCOMPARE(shown, QString(page.definitions[0] + page.questions).remove(u'\r'));
            QCOMPARE(find("txtMedia")->isVisible(), page.mediaVisible);
            QCOMPARE(find("txtPart6")->isVisible(), page.part6Visible);
            if (changesText)
                QVERIFY2(shown != shownBefore, button);
            shownBefore = shown;
        }
    }

    // From the fixed present, jumps by the chosen unit and count; "Now" comes back.
    void jumpsMoveTheMoment()
    {
        showPage(kPlanets);
        QCOMPARE(moment(), u"06/Dec/2026 11:30:00"_s);
        auto *count = find<QComboBox>("cmbJump");
        // Unit (null keeps it), count, button, and the moment and month shown after the click.
        const std::tuple<const char *, int, const char *, const char *, int> steps[] = {
            {"optTJ(1)", 0, "cmdJump(1)", "07/Dec/2026 11:30:00", 12},
            {"optTJ(3)", 2, "cmdJump(0)", "07/Sep/2026 11:30:00", 9},
            {nullptr, 2, "cmdJump(1)", "07/Dec/2026 11:30:00", 12},
            {"optTJ(0)", 2, "cmdJump(0)", "07/Dec/2026 08:30:00", 12},
            {nullptr, 2, "cmdNow", "06/Dec/2026 11:30:00", 12},
        };
        for (const auto &[unit, countIndex, button, shown, month] : steps) {
            if (unit)
                click(unit);
            while (count->currentIndex() != countIndex)
                QTest::keyClick(count,
                                count->currentIndex() < countIndex ? Qt::Key_Down : Qt::Key_Up);
            click(button);
            QCOMPARE(moment(), QString::fromLatin1(shown));
            QCOMPARE(m_window->calendar()->ShownMonth(), month);
        }

        // The continuous jump runs on its timer until stopped; only one of its buttons is live.
        auto *timer = find<QTimer>("Timer2");
        click("cmdJump(3)");
        QVERIFY(timer->isActive() && !find("cmdJump(3)")->isEnabled());
        click("cmdJump(4)");
        QVERIFY(!timer->isActive() && !find("cmdJump(4)")->isEnabled());
        QCOMPARE(moment(), u"06/Dec/2026 11:30:00"_s);
    }

    void typedDateAndPlaceRedrawTheSky()
    {
        auto *chart = find<PictureBox>("picAstro");
        QImage before = chart->image().copy();
        typeAndEnter("txtTheDate", u"29 Feb 2024 10:15"_s);
        QCOMPARE(moment(), u"29/Feb/2024 10:15:00"_s);
        QVERIFY(chart->image() != before);

        // Places are shown in their normal form; east of Greenwich is positive for the ephemeris.
        typeAndEnter("txtLatLong(0)", u"48.85n"_s);
        typeAndEnter("txtLatLong(1)", u"-2.35"_s);
        QCOMPARE(text("txtLatLong(0)") + text("txtLatLong(1)"), u"48.85N2.35E"_s);
        QCOMPARE(m_window->astro().longitude(), 2.35f);
        // Another zone is another instant: the houses turn.
        before = chart->image().copy();
        typeAndEnter("txtLatLong(2)", u"-1"_s);
        QVERIFY(chart->image() != before);

        // Text that is no date leaves the moment alone.
        typeAndEnter("txtTheDate", u"someday"_s);
        QCOMPARE(m_window->navigation()->TheDate().date(), QDate(2024, 2, 29));
    }

    void calendarClickChoosesTheDay()
    {
        auto *cal = find<PictureBox>("picCal");
        const auto clickCell = [&](int cell) {
            const TwipBox box = cellBox(m_window->calendar()->metrics(), cell);
            QTest::mouseClick(cal, Qt::LeftButton, {},
                              QPoint(twipsToPixels((box.x1 + box.x2) / 2.0),
                                     twipsToPixels((box.y1 + box.y2) / 2.0)));
        };
        const int lead = MonthLayout::of(2024, 2).lead;
        clickCell(lead + 14);
        QCOMPARE(moment(), u"15/Feb/2024 10:15:00"_s);
        // February 2024 starts on a Thursday: the cells before it are empty and change nothing.
        QVERIFY(lead > 0);
        clickCell(0);
        QCOMPARE(moment(), u"15/Feb/2024 10:15:00"_s);
    }

    void instrumentChangeIsSent()
    {
        auto *instruments = find<QComboBox>("cmbInstrument");
        recorder().clear();
        QTest::keyClick(instruments, Qt::Key_Down);
        QCOMPARE(tally(recorder().messages()).lastProgram, kInstrument);
    }

    void cyclePlaysAndStopsCleanly_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("zodiac") << u"cmdZodiac"_s;
        QTest::newRow("day") << u"cmdDays"_s;
        QTest::newRow("harmonic") << u"cmdCyclusHarmonicus"_s;
    }

    void cyclePlaysAndStopsCleanly()
    {
        QFETCH(QString, button);
        recorder().clear();
        const QString momentBefore = moment();
        const QImage chartBefore = find<PictureBox>("picAstro")->image().copy();

        click(qPrintable(button));
        for (int i = 0; i < 12; ++i)
            m_window->music()->Timer1_Timer();
        QVERIFY2(tally(recorder().messages()).sounding > 0, "no chord sounds");
        // Every cycle moves or redraws the sky as it plays.
        QVERIFY(moment() != momentBefore || find<PictureBox>("picAstro")->image() != chartBefore);

        // The beat after "Stop" releases the chord; later beats send nothing.
        click(qPrintable(button));
        m_window->music()->Timer1_Timer();
        QCOMPARE(tally(recorder().messages()).sounding, 0);
        const size_t count = recorder().messages().size();
        m_window->music()->Timer1_Timer();
        QCOMPARE(recorder().messages().size(), count);
    }

    void bookLinkAndHistory()
    {
        showPage(kBooks);
        auto *browser = find<QTextBrowser>("WebBrowser1");
        const auto shownFile = [browser] {
            return QFileInfo(browser->source().toLocalFile()).fileName();
        };
        QCOMPARE(shownFile(), u"ars-brevis.htm"_s);
        click("optBook(1)");
        QCOMPARE(shownFile(), u"liber-de-lumine.htm"_s);

        // The first link of the page, clicked where it is drawn.
        QTextCursor link(browser->document());
        while (!link.atEnd() && link.charFormat().anchorHref().isEmpty())
            link.movePosition(QTextCursor::NextCharacter);
        QVERIFY2(!link.atEnd(), "the start page has no link");
        const QString href = QFileInfo(link.charFormat().anchorHref()).fileName();
        clickText(browser, link.position());
        QCOMPARE(shownFile(), href);
        click("cmdBackForward(0)");
        QCOMPARE(shownFile(), u"liber-de-lumine.htm"_s);
        click("cmdBackForward(1)");
        QCOMPARE(shownFile(), href);

        // Another book starts a new history.
        click("optBook(3)");
        QCOMPARE(shownFile(), u"seven-planets.htm"_s);
        QVERIFY(!find("cmdBackForward(0)")->isEnabled());
    }

    void closingWritesTheSettings()
    {
        showPage(kFigures);
        typeAndEnter("txtCode(0)", u"C(T)EG"_s);
        showPage(kPlanets);
        click("optTJ(4)");
        typeAndEnter("txtSpeed", u"90"_s);
        click("chkCHMod");

        const QString path = m_folder.filePath(u"Settings.txt"_s);
        QVERIFY(!QFile::exists(path));
        QVERIFY(m_window->close());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        // What it holds is read back by the restart below; here only that it was written.
        QCOMPARE(parseSettings(file.readAll()).combination.value_or(QString()), u"C(T)EG"_s);
    }

    void restartRestoresTheSettings()
    {
        startWindow();
        // Everything but the moment, which is the present again.
        const char *const boxes[][2] = {{"txtCode(0)", "C(T)EG"},     {"txtCode(2)", "C(T)EG"},
                                        {"txtSpeed", "90"},           {"txtLatLong(0)", "48.85N"},
                                        {"txtLatLong(1)", "2.35E"},   {"txtLatLong(2)", "-1"},
                                        {"txtTheDate", "06/Dec/2026"}};
        for (const auto &[name, expected] : boxes)
            QCOMPARE(text(name), QString::fromLatin1(expected));
        // The restored values reach the other pages, the sky and the synthesiser too.
        QCOMPARE(find<QRadioButton>("optPair(0)")->text(), u"CE"_s);
        QCOMPARE(m_window->astro().longitude(), 2.35f);
        QVERIFY(find<QCheckBox>("chkCHMod")->isChecked());
        QCOMPARE(find<QComboBox>("cmbInstrument")->currentIndex(), kInstrument);
        QCOMPARE(tally(recorder().messages()).lastProgram, kInstrument);

        // A jump goes by the restored unit, a year.
        showPage(kPlanets);
        click("cmdJump(1)");
        QCOMPARE(text("txtTheDate"), u"06/Dec/2027"_s);
    }
};

QTEST_MAIN(WalkTest)
#include "walk_qtest.moc"
