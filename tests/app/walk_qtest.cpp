// A user's session with the real window, page by page: every step goes through the widgets
// (clicks and keys), and each checks what the step should have changed on screen, in the
// recorded MIDI stream or in the settings file.

#include "app/frmvelmora.h"
#include "art/core/combination.h"
#include "art/core/evacuation.h"
#include "art/core/figuregeometry.h"
#include "art/core/generaltable.h"
#include "art/view/artcontroller.h"
#include "books/bookbrowser.h"
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
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTimer>

#include <cmath>
#include <map>
#include <memory>

using namespace velmora;

namespace {

enum Page
{
    Figures = 0,
    Evacuation,
    Table,
    Planets,
    Books
};

// What a program folder holds beside the executable and the window reads at run time.
const char *const kRuntimeEntries[] = {"ars-brevis", "liber-de-lumine", "velmora", "seven-planets",
                                       "help",       "astrol.ttf"};

bool copyTree(const QString &from, const QString &to)
{
    const QFileInfo info(from);
    if (info.isFile())
        return QFile::copy(from, to);
    if (!info.isDir() || !QDir().mkpath(to))
        return false;
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + u'/' + QDir(from).relativeFilePath(file);
        if (!QDir().mkpath(QFileInfo(target).absolutePath()) || !QFile::copy(file, target))
            return false;
    }
    return true;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Channels 0..255 of a design colour value (red + 256 green + 65536 blue).
int channelDistance(qint32 a, qint32 b)
{
    int worst = 0;
    for (int shift : {0, 8, 16})
        worst = std::max(worst, std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)));
    return worst;
}

// Share of the points around a marker's outline, inside the box, that carry its colour. A marker is
// drawn three pixels wide, so the share is high where one is drawn and low where only the figure's
// own thin lines cross the outline.
double markerShare(const PictureBox *box, const MarkerCircle &m)
{
    constexpr int kSamples = 72;
    int hits = 0;
    int inside = 0;
    for (int i = 0; i < kSamples; ++i) {
        const double a = i * 2 * M_PI / kSamples;
        const qint32 pixel = box->Point(m.x + m.radius * std::cos(a), m.y + m.radius * std::sin(a));
        // A marker near the edge runs partly outside the box.
        if (pixel < 0)
            continue;
        ++inside;
        if (channelDistance(pixel, m.colour) < 60)
            ++hits;
    }
    return inside ? double(hits) / inside : 0.0;
}

bool markersDrawn(const PictureBox *box, const std::vector<MarkerCircle> &markers)
{
    for (const MarkerCircle &m : markers)
        if (markerShare(box, m) < 0.9)
            return false;
    return !markers.empty();
}

bool noMarkerAt(const PictureBox *box, const std::vector<MarkerCircle> &markers)
{
    for (const MarkerCircle &m : markers)
        if (markerShare(box, m) > 0.5)
            return false;
    return true;
}

struct NoteTally
{
    int noteOns = 0;
    int noteOffs = 0;
    int programChanges = 0;
    int lastProgram = -1;
    /// Notes whose last message was a note-on: still sounding.
    std::vector<int> sounding;
};

NoteTally tally(const std::vector<RecordedMessage> &messages)
{
    NoteTally t;
    std::map<int, bool> on;
    for (const RecordedMessage &m : messages) {
        const int status = static_cast<int>(m.packed & 0xF0u);
        const int data1 = static_cast<int>((m.packed >> 8) & 0x7Fu);
        const int data2 = static_cast<int>((m.packed >> 16) & 0x7Fu);
        if (status == kNoteOn && data2 > 0) {
            ++t.noteOns;
            on[data1] = true;
        } else if (status == kNoteOff || status == kNoteOn) {
            ++t.noteOffs;
            on[data1] = false;
        } else if (status == kProgramChange) {
            ++t.programChanges;
            t.lastProgram = data1;
        }
    }
    for (const auto &[note, isOn] : on)
        if (isOn)
            t.sounding.push_back(note);
    return t;
}

} // namespace

class WalkTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void typedCombinationMarksTheFigures();
    void randomDrawsStoredCombinations();
    void generalTableRowBecomesTheCombination();
    void evacuationFollowsItsChoices();
    void startsAtTheFixedPresent();
    void jumpsMoveTheMomentBothWays();
    void continuousJumpStartsAndStops();
    void typedDateAndPlaceRedrawTheSky();
    void calendarClickChoosesTheDay();
    void instrumentChangeIsSent();
    void cyclePlaysAndStopsCleanly_data();
    void cyclePlaysAndStopsCleanly();
    void bookLinkAndHistory();
    void closingWritesTheSettings();
    void restartRestoresTheSettings();

private:
    std::unique_ptr<frmVelmora> startWindow();
    template <class T> T *find(const QString &name) const
    {
        return control<T>(m_window->form(), name);
    }
    void showPage(Page page);
    void typeAndEnter(QLineEdit *box, const QString &text);
    void click(QAbstractButton *button);
    RecordingOutput &recorder() const;
    QString dateBox() const { return find<QLineEdit>(QStringLiteral("txtTheDate"))->text(); }
    QString timeBox() const { return find<QLineEdit>(QStringLiteral("txtTheTime"))->text(); }

    QTemporaryDir m_folder;
    QLocale m_savedLocale;
    QElapsedTimer m_clock;
    int m_releases = 0;
    std::unique_ptr<frmVelmora> m_window;
    // Values the session leaves behind for the next start.
    QString m_lastCombination;
    int m_lastInstrument = -1;
};

void WalkTest::initTestCase()
{
    m_clock.start();
    // Dates are written and read with month names in the user's language; fix it.
    m_savedLocale = QLocale();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    QVERIFY(m_folder.isValid());
    const QDir bin(QCoreApplication::applicationDirPath());
    for (const char *entry : kRuntimeEntries) {
        const QString name = QString::fromLatin1(entry);
        QVERIFY2(copyTree(bin.filePath(name), m_folder.filePath(name)),
                 qPrintable(name + QStringLiteral(" is missing beside the test: build all")));
    }
    m_window = startWindow();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void WalkTest::cleanupTestCase()
{
    m_window.reset();
    QLocale::setDefault(m_savedLocale);
    qInfo("walk took %lld ms", static_cast<long long>(m_clock.elapsed()));
}

std::unique_ptr<frmVelmora> WalkTest::startWindow()
{
    frmVelmora::Environment env;
    env.screenHeight = [] {
        return 1024;
    };
    env.programFolder = m_folder.path();
    env.configFolder = m_folder.filePath(QStringLiteral("config"));
    env.now = [] {
        return QDateTime(QDate(2026, 12, 6), QTime(11, 30, 0));
    };
    env.midiOutput = QStringLiteral("record");
    env.releaseEphemeris = [this] {
        ++m_releases;
    };
    auto window = std::make_unique<frmVelmora>(env);
    window->Form_Load();
    return window;
}

void WalkTest::showPage(Page page)
{
    QTabBar *bar = m_window->SSTab1()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(page).center());
    QCOMPARE(m_window->SSTab1()->currentIndex(), static_cast<int>(page));
}

void WalkTest::typeAndEnter(QLineEdit *box, const QString &text)
{
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

void WalkTest::click(QAbstractButton *button)
{
    QVERIFY2(button->isVisible() && button->isEnabled(), qPrintable(button->objectName()));
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

RecordingOutput &WalkTest::recorder() const
{
    auto *out = dynamic_cast<RecordingOutput *>(m_window->midi().output());
    if (!out)
        qFatal("the window did not open the recording output");
    return *out;
}

void WalkTest::typedCombinationMarksTheFigures()
{
    showPage(Figures);
    auto *code = find<QLineEdit>(QStringLiteral("txtCode(0)"));
    QCOMPARE(code->text(), QStringLiteral("BCD"));

    typeAndEnter(code, QStringLiteral("dc(t)b"));
    // Parentheses do not count: the marker stands before the third letter, and the two
    // letters of the first figure are put in order.
    const QString stored = QStringLiteral("CD(T)B");
    for (int i = 0; i < 3; ++i)
        QCOMPARE(find<QLineEdit>(arrayName(QStringLiteral("txtCode"), i))->text(), stored);

    typeAndEnter(code, QStringLiteral("B(T)CD"));
    QCOMPARE(code->text(), QStringLiteral("B(T)CD"));
    const Letters bcd{1, 2, 3};
    QCOMPARE(m_window->art()->CodeLetters(), bcd);
    QCOMPARE(m_window->art()->TPosition(), 2);

    auto *fig1 = find<PictureBox>(QStringLiteral("picFig1"));
    auto *fig2 = find<PictureBox>(QStringLiteral("picFig2"));
    const FigureMarkers marks = figureMarkers({2, bcd}, fig1->ScaleWidth(), fig1->ScaleHeight(),
                                              fig2->ScaleWidth(), fig2->ScaleHeight());
    QCOMPARE(marks.first.size(), size_t(1));
    QCOMPARE(marks.second.size(), size_t(2));
    QVERIFY(markersDrawn(fig1, marks.first));
    QVERIFY(markersDrawn(fig2, marks.second));
    // The third figure circles the cameras of the two pairs, BC and CD.
    auto *fig3 = find<PictureBox>(QStringLiteral("picFig3"));
    const std::array<qint16, 4> pairs{1, 2, 2, 3};
    QCOMPARE(m_window->art()->PairLetter(), pairs);
    const auto cameras = thirdFigureMarkers(pairs, fig3->foreColor());
    QCOMPARE(cameras.size(), size_t(2));
    QVERIFY(markersDrawn(fig3, cameras));

    // A new combination clears the old markers.
    typeAndEnter(find<QLineEdit>(QStringLiteral("txtCode(0)")), QStringLiteral("FGH"));
    QCOMPARE(code->text(), QStringLiteral("FGH"));
    QVERIFY(noMarkerAt(fig1, marks.first));
    QVERIFY(noMarkerAt(fig2, marks.second));
    const FigureMarkers fgh = figureMarkers({0, {5, 6, 7}}, fig1->ScaleWidth(), fig1->ScaleHeight(),
                                            fig2->ScaleWidth(), fig2->ScaleHeight());
    QVERIFY(markersDrawn(fig1, fgh.first));
}

void WalkTest::randomDrawsStoredCombinations()
{
    showPage(Figures);
    m_window->random().seed(20261206);
    auto *random = find<QPushButton>(QStringLiteral("cmdRandom(0)"));
    auto *code = find<QLineEdit>(QStringLiteral("txtCode(0)"));
    QSet<QString> seen;
    for (int i = 0; i < 6; ++i) {
        click(random);
        const auto evaluated = evaluateTypedCombination(code->text());
        QVERIFY2(evaluated, qPrintable(code->text()));
        // What the boxes show is what was stored, already in its repaired form.
        QCOMPARE(evaluated->letters, m_window->art()->CodeLetters());
        QCOMPARE(combinationText(*evaluated), code->text());
        QCOMPARE(find<QLineEdit>(QStringLiteral("txtCode(2)"))->text(), code->text());
        // The General Table list is rebuilt for the drawn letters.
        const QStringList rows =
            generalTableRows(tableLetters(sortedLetters(m_window->art()->CodeLetters())));
        QCOMPARE(find<QPlainTextEdit>(QStringLiteral("txtGT"))->toPlainText(),
                 rows.join(u'\n') + u'\n');
        seen.insert(code->text());
    }
    QVERIFY2(seen.size() > 1, "six presses of Random gave one combination");
}

void WalkTest::generalTableRowBecomesTheCombination()
{
    typeAndEnter(find<QLineEdit>(QStringLiteral("txtCode(0)")), QStringLiteral("BCD"));
    showPage(Table);
    auto *list = find<QPlainTextEdit>(QStringLiteral("txtGT"));
    const QString listBefore = list->toPlainText();
    QCOMPARE(listBefore.count(u'\n'), 20);

    // The sixth row, clicked where the user sees it.
    const QTextBlock row = list->document()->findBlockByNumber(5);
    const QString rowText = row.text();
    QTextCursor at(row);
    at.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 1);
    const QRect caret = list->cursorRect(at);
    QVERIFY(list->viewport()->rect().contains(caret.center()));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, caret.center());

    const auto expected = evaluateTypedCombination(rowText);
    QVERIFY(expected);
    QCOMPARE(find<QLineEdit>(QStringLiteral("txtCode(1)"))->text(), combinationText(*expected));
    QCOMPARE(m_window->art()->TPosition(), int(expected->tPosition));
    // The list stays as it was so the user can go on choosing rows of it.
    QCOMPARE(list->toPlainText(), listBefore);
    // The panel shows the texts of the chosen row's letters.
    const auto panel = textsPanel(m_window->tables(), m_window->art()->CodeLetters(),
                                  m_window->art()->LetterFigure());
    QCOMPARE(find<QLineEdit>(QStringLiteral("txt1"))->text(), panel[0].principle);
    QCOMPARE(find<QLineEdit>(QStringLiteral("txtS(2)"))->text(), panel[2].subject);
    QVERIFY(!panel[0].principle.isEmpty());
}

void WalkTest::evacuationFollowsItsChoices()
{
    showPage(Figures);
    typeAndEnter(find<QLineEdit>(QStringLiteral("txtCode(0)")), QStringLiteral("B(T)CD"));
    showPage(Evacuation);

    auto *pair0 = find<QRadioButton>(QStringLiteral("optPair(0)"));
    auto *pair1 = find<QRadioButton>(QStringLiteral("optPair(1)"));
    QCOMPARE(pair0->text(), QStringLiteral("BC"));
    QCOMPARE(pair1->text(), QStringLiteral("CD"));

    auto *media = find<QCheckBox>(QStringLiteral("chkMedia"));
    auto *part6 = find<QCheckBox>(QStringLiteral("chkPart6"));
    const auto boxText = [this](const char *name) {
        return find<QPlainTextEdit>(QString::fromLatin1(name))->toPlainText();
    };
    const auto expectPage = [&](EvacuationChoice choice, int pair) {
        const EvacuationPage page = evacuate(m_window->tables(), QStringLiteral("B(T)CD"), choice,
                                             pair, media->isChecked(), part6->isChecked());
        const auto shown = [](QString s) {
            return s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        };
        QCOMPARE(boxText("txt3a(0)"), shown(page.propositions));
        QCOMPARE(boxText("txt3a(1)"), shown(page.questions));
        QCOMPARE(boxText("txtDef(0)"), shown(page.definitions[0]));
        QCOMPARE(boxText("txtRules(1)"), shown(page.rules[1]));
        QCOMPARE(find<QPlainTextEdit>(QStringLiteral("txtMedia"))->isVisible(), page.mediaVisible);
        QCOMPARE(find<QPlainTextEdit>(QStringLiteral("txtPart6"))->isVisible(), page.part6Visible);
        QCOMPARE(media->isEnabled(), page.checksEnabled);
    };

    click(find<QRadioButton>(QStringLiteral("optC1(0)")));
    click(pair0);
    expectPage(EvacuationChoice::Principles, 0);
    const QString principles = boxText("txtDef(0)") + boxText("txt3a(1)");

    click(find<QRadioButton>(QStringLiteral("optC1(3)")));
    expectPage(EvacuationChoice::Vices, 0);
    QVERIFY(boxText("txtDef(0)") + boxText("txt3a(1)") != principles);

    click(pair1);
    expectPage(EvacuationChoice::Vices, 1);

    click(find<QRadioButton>(QStringLiteral("optC1(0)")));
    if (media->isEnabled()) {
        click(media);
        QVERIFY(media->isChecked());
        expectPage(EvacuationChoice::Principles, 1);
        QVERIFY(!boxText("txtMedia").isEmpty());
        click(part6);
        expectPage(EvacuationChoice::Principles, 1);
        click(media);
        click(part6);
    }
    expectPage(EvacuationChoice::Principles, 1);
}

void WalkTest::startsAtTheFixedPresent()
{
    showPage(Planets);
    QCOMPARE(dateBox(), QStringLiteral("06/Dec/2026"));
    QCOMPARE(timeBox(), QStringLiteral("11:30:00"));
    QVERIFY(!find<QPlainTextEdit>(QStringLiteral("txtOut"))->toPlainText().isEmpty());
    QCOMPARE(m_window->calendar()->ShownMonth(), 12);
    QCOMPARE(m_window->calendar()->ShownYear(), 2026);
}

void WalkTest::jumpsMoveTheMomentBothWays()
{
    showPage(Planets);
    auto *forward = find<QPushButton>(QStringLiteral("cmdJump(1)"));
    auto *back = find<QPushButton>(QStringLiteral("cmdJump(0)"));
    auto *units = find<QComboBox>(QStringLiteral("cmbJump"));
    QCOMPARE(units->currentIndex(), 0);

    click(find<QRadioButton>(QStringLiteral("optTJ(1)")));
    click(forward);
    QCOMPARE(dateBox(), QStringLiteral("07/Dec/2026"));
    QCOMPARE(m_window->calendar()->ShownMonth(), 12);

    // Three months back from the 7th of December.
    click(find<QRadioButton>(QStringLiteral("optTJ(3)")));
    QTest::keyClick(units, Qt::Key_Down);
    QTest::keyClick(units, Qt::Key_Down);
    QCOMPARE(units->currentIndex(), 2);
    click(back);
    QCOMPARE(dateBox(), QStringLiteral("07/Sep/2026"));
    QCOMPARE(m_window->calendar()->ShownMonth(), 9);
    click(forward);
    QCOMPARE(dateBox(), QStringLiteral("07/Dec/2026"));

    click(find<QRadioButton>(QStringLiteral("optTJ(0)")));
    click(back);
    QCOMPARE(dateBox(), QStringLiteral("07/Dec/2026"));
    QCOMPARE(timeBox(), QStringLiteral("08:30:00"));

    // "Now" returns to the present of the clock.
    click(find<QPushButton>(QStringLiteral("cmdNow")));
    QCOMPARE(dateBox(), QStringLiteral("06/Dec/2026"));
    QCOMPARE(timeBox(), QStringLiteral("11:30:00"));
    QTest::keyClick(units, Qt::Key_Up);
    QTest::keyClick(units, Qt::Key_Up);
    QCOMPARE(units->currentIndex(), 0);
}

void WalkTest::continuousJumpStartsAndStops()
{
    showPage(Planets);
    auto *timer = find<QTimer>(QStringLiteral("Timer2"));
    auto *autoForward = find<QPushButton>(QStringLiteral("cmdJump(3)"));
    auto *stop = find<QPushButton>(QStringLiteral("cmdJump(4)"));
    QVERIFY(!stop->isEnabled());
    click(autoForward);
    QVERIFY(timer->isActive());
    QVERIFY(!autoForward->isEnabled());
    QCOMPARE(m_window->navigation()->JumpStep(), qint16(1));
    click(stop);
    QVERIFY(!timer->isActive());
    QVERIFY(autoForward->isEnabled());
    QVERIFY(!stop->isEnabled());
    QCOMPARE(dateBox(), QStringLiteral("06/Dec/2026"));
}

void WalkTest::typedDateAndPlaceRedrawTheSky()
{
    showPage(Planets);
    auto *chart = find<PictureBox>(QStringLiteral("picAstro"));
    auto *table = find<QPlainTextEdit>(QStringLiteral("txtOut"));
    const QImage chartBefore = chart->image().copy();
    const QString tableBefore = table->toPlainText();

    typeAndEnter(find<QLineEdit>(QStringLiteral("txtTheDate")),
                 QStringLiteral("29 Feb 2024 10:15"));
    QCOMPARE(dateBox(), QStringLiteral("29/Feb/2024"));
    QCOMPARE(timeBox(), QStringLiteral("10:15:00"));
    QCOMPARE(m_window->calendar()->ShownMonth(), 2);
    QVERIFY(chart->image() != chartBefore);
    QVERIFY(table->toPlainText() != tableBefore);

    typeAndEnter(find<QLineEdit>(QStringLiteral("txtLatLong(0)")), QStringLiteral("48.85n"));
    QCOMPARE(find<QLineEdit>(QStringLiteral("txtLatLong(0)"))->text(), QStringLiteral("48.85N"));
    typeAndEnter(find<QLineEdit>(QStringLiteral("txtLatLong(1)")), QStringLiteral("-2.35"));
    QCOMPARE(find<QLineEdit>(QStringLiteral("txtLatLong(1)"))->text(), QStringLiteral("2.35E"));
    const QImage chartAtOldZone = chart->image().copy();
    typeAndEnter(find<QLineEdit>(QStringLiteral("txtLatLong(2)")), QStringLiteral("-1"));
    QCOMPARE(find<QLineEdit>(QStringLiteral("txtLatLong(2)"))->text(), QStringLiteral("-1"));

    QCOMPARE(m_window->astro().latitude(), 48.85f);
    // East of Greenwich is positive for the ephemeris.
    QCOMPARE(m_window->astro().longitude(), 2.35f);
    QCOMPARE(m_window->astro().timeZone(), -1.0f);
    // Another zone is another instant: the houses turn.
    QVERIFY(chart->image() != chartAtOldZone);
    QCOMPARE(dateBox(), QStringLiteral("29/Feb/2024"));

    // Text that is no date leaves the moment alone.
    typeAndEnter(find<QLineEdit>(QStringLiteral("txtTheDate")), QStringLiteral("someday"));
    QCOMPARE(m_window->navigation()->TheDate().date(), QDate(2024, 2, 29));
}

void WalkTest::calendarClickChoosesTheDay()
{
    showPage(Planets);
    auto *cal = find<PictureBox>(QStringLiteral("picCal"));
    const CalendarMetrics &metrics = m_window->calendar()->metrics();
    const MonthLayout month = MonthLayout::of(2024, 2);
    // The title bar and the days are drawn.
    QVERIFY(cal->Point(metrics.left, metrics.pixel) != 0xFFFFFF);

    const TwipBox cell = cellBox(metrics, month.lead + 14);
    const QPoint at(twipsToPixels((cell.x1 + cell.x2) / 2.0),
                    twipsToPixels((cell.y1 + cell.y2) / 2.0));
    QTest::mouseClick(cal, Qt::LeftButton, {}, at);
    QCOMPARE(dateBox(), QStringLiteral("15/Feb/2024"));
    QCOMPARE(timeBox(), QStringLiteral("10:15:00"));
    QCOMPARE(m_window->calendar()->SelectedDays().Count(), 1);
    QCOMPARE(m_window->calendar()->SelectedDays().Item(1)->DateTime().date(), QDate(2024, 2, 15));

    // A click in an empty cell before the first day changes nothing.
    if (month.lead > 0) {
        const TwipBox empty = cellBox(metrics, 0);
        QTest::mouseClick(cal, Qt::LeftButton, {},
                          QPoint(twipsToPixels((empty.x1 + empty.x2) / 2.0),
                                 twipsToPixels((empty.y1 + empty.y2) / 2.0)));
        QCOMPARE(dateBox(), QStringLiteral("15/Feb/2024"));
    }
}

void WalkTest::instrumentChangeIsSent()
{
    showPage(Planets);
    auto *instruments = find<QComboBox>(QStringLiteral("cmbInstrument"));
    QCOMPARE(instruments->count(), 128);
    QCOMPARE(instruments->currentIndex(), 50);
    recorder().clear();
    QTest::keyClick(instruments, Qt::Key_Down);
    QCOMPARE(instruments->currentIndex(), 51);
    const NoteTally t = tally(recorder().messages());
    QCOMPARE(t.programChanges, 1);
    QCOMPARE(t.lastProgram, 51);
    m_lastInstrument = 51;
}

void WalkTest::cyclePlaysAndStopsCleanly_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("ticks");
    QTest::newRow("zodiac") << "cmdZodiac" << 6;
    QTest::newRow("day") << "cmdDays" << 12;
    QTest::newRow("harmonic") << "cmdCyclusHarmonicus" << 10;
}

void WalkTest::cyclePlaysAndStopsCleanly()
{
    QFETCH(QString, button);
    QFETCH(int, ticks);
    showPage(Planets);
    const QStringList cycles{QStringLiteral("cmdZodiac"), QStringLiteral("cmdDays"),
                             QStringLiteral("cmdCyclusHarmonicus")};
    auto *start = find<QPushButton>(button);
    auto *timer = find<QTimer>(QStringLiteral("Timer1"));
    const QString idleCaption = start->property("Tag").toString();
    QCOMPARE(start->text(), idleCaption);
    QVERIFY(!timer->isActive());
    recorder().clear();
    const QString momentBefore = dateBox() + timeBox();
    const QImage chartBefore = find<PictureBox>(QStringLiteral("picAstro"))->image().copy();

    click(start);
    QCOMPARE(start->text(), QStringLiteral("Stop"));
    QVERIFY(timer->isActive());
    for (const QString &other : cycles)
        if (other != button)
            QVERIFY2(!find<QPushButton>(other)->isEnabled(), qPrintable(other));

    for (int i = 0; i < ticks; ++i)
        m_window->music()->Timer1_Timer();
    const NoteTally playing = tally(recorder().messages());
    QVERIFY2(playing.noteOns > 0, "no note was played");
    // Every cycle moves or redraws the sky as it plays.
    QVERIFY(dateBox() + timeBox() != momentBefore ||
            find<PictureBox>(QStringLiteral("picAstro"))->image() != chartBefore);

    click(start);
    QCOMPARE(start->text(), idleCaption);
    m_window->music()->Timer1_Timer();
    QVERIFY(!timer->isActive());
    for (const QString &name : cycles)
        QVERIFY2(find<QPushButton>(name)->isEnabled(), qPrintable(name));

    const NoteTally stopped = tally(recorder().messages());
    QVERIFY2(stopped.sounding.empty(),
             qPrintable(QStringLiteral("%1 notes still sound").arg(stopped.sounding.size())));
    QVERIFY(stopped.noteOffs >= stopped.noteOns);
    QCOMPARE(m_window->midi().rejectedCount(), 0);
    for (const RecordedMessage &m : recorder().messages())
        QCOMPARE(m.packed & 0x0Fu, 0u); // channel 1

    // A stopped cycle stays quiet.
    const size_t count = recorder().messages().size();
    m_window->music()->Timer1_Timer();
    QCOMPARE(recorder().messages().size(), count);
}

void WalkTest::bookLinkAndHistory()
{
    showPage(Books);
    auto *browser = find<QTextBrowser>(QStringLiteral("WebBrowser1"));
    auto *back = find<QPushButton>(QStringLiteral("cmdBackForward(0)"));
    auto *forward = find<QPushButton>(QStringLiteral("cmdBackForward(1)"));
    const auto shownFile = [browser] {
        return QFileInfo(browser->source().toLocalFile()).fileName();
    };
    QCOMPARE(shownFile(), QStringLiteral("ars-brevis.htm"));

    click(find<QRadioButton>(QStringLiteral("optBook(1)")));
    QCOMPARE(shownFile(), QStringLiteral("liber-de-lumine.htm"));
    QVERIFY(!back->isEnabled());
    QVERIFY(!forward->isEnabled());

    // The first link of the page, clicked where it is drawn.
    QString href;
    int position = -1;
    for (QTextBlock b = browser->document()->begin(); b.isValid() && position < 0; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.charFormat().isAnchor() && !f.charFormat().anchorHref().isEmpty()) {
                href = f.charFormat().anchorHref();
                position = f.position() + f.length() / 2;
                break;
            }
        }
    }
    QVERIFY2(position >= 0, "the start page has no link");
    QTextCursor cursor(browser->document());
    cursor.setPosition(position);
    const QRect r = browser->cursorRect(cursor);
    QVERIFY(browser->viewport()->rect().contains(r.center()));
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(shownFile(), QFileInfo(href).fileName());
    QVERIFY(back->isEnabled());
    QCOMPARE(m_window->books()->NavCount(), qint16(1));

    click(back);
    QCOMPARE(shownFile(), QStringLiteral("liber-de-lumine.htm"));
    QVERIFY(forward->isEnabled());
    click(forward);
    QCOMPARE(shownFile(), QFileInfo(href).fileName());

    click(find<QRadioButton>(QStringLiteral("optBook(3)")));
    QCOMPARE(shownFile(), QStringLiteral("seven-planets.htm"));
    QVERIFY(!back->isEnabled());
}

void WalkTest::closingWritesTheSettings()
{
    showPage(Figures);
    typeAndEnter(find<QLineEdit>(QStringLiteral("txtCode(0)")), QStringLiteral("C(T)EG"));
    m_lastCombination = find<QLineEdit>(QStringLiteral("txtCode(0)"))->text();
    QCOMPARE(m_lastCombination, QStringLiteral("C(T)EG"));
    showPage(Planets);
    click(find<QRadioButton>(QStringLiteral("optTJ(4)")));
    typeAndEnter(find<QLineEdit>(QStringLiteral("txtSpeed")), QStringLiteral("90"));
    click(find<QCheckBox>(QStringLiteral("chkCHMod")));
    const bool yearMode = find<QCheckBox>(QStringLiteral("chkCHMod"))->isChecked();
    const QString speed = find<QLineEdit>(QStringLiteral("txtSpeed"))->text();

    const QString path = m_folder.filePath(QStringLiteral("Settings.txt"));
    QVERIFY(!QFile::exists(path));
    QVERIFY(m_window->close());
    QCOMPARE(m_releases, 1);
    QVERIFY(!recorder().isOpen());

    const QByteArray bytes = readFile(path);
    QCOMPARE(bytes.count("\r\n"), 5);
    QVERIFY(bytes.endsWith("\r\n"));
    const SettingsValues saved = parseSettings(bytes);
    QCOMPARE(saved.combination.value_or(QString()), m_lastCombination);
    QCOMPARE(saved.speed.value_or(QString()), speed);
    QCOMPARE(saved.jumpUnit.value_or(-1), 4);
    QCOMPARE(saved.instrument.value_or(-1), m_lastInstrument);
    QCOMPARE(saved.latitude.value_or(QString()), QStringLiteral("48.85N"));
    QCOMPARE(saved.longitude.value_or(QString()), QStringLiteral("2.35E"));
    QCOMPARE(saved.timeZone.value_or(QString()), QStringLiteral("-1"));
    QCOMPARE(saved.yearMode.value_or(!yearMode), yearMode);
    // The program folder could be written, so nothing went to the user's folder.
    QVERIFY(!QDir(m_folder.filePath(QStringLiteral("config"))).exists());
}

void WalkTest::restartRestoresTheSettings()
{
    m_window = startWindow();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    showPage(Figures);
    QCOMPARE(find<QLineEdit>(QStringLiteral("txtCode(0)"))->text(), m_lastCombination);
    QCOMPARE(find<QLineEdit>(QStringLiteral("txtCode(2)"))->text(), m_lastCombination);
    QCOMPARE(m_window->art()->TPosition(), 2);
    showPage(Evacuation);
    QCOMPARE(find<QRadioButton>(QStringLiteral("optPair(0)"))->text(), QStringLiteral("CE"));

    showPage(Planets);
    QVERIFY(find<QRadioButton>(QStringLiteral("optTJ(4)"))->isChecked());
    QCOMPARE(find<QLineEdit>(QStringLiteral("txtSpeed"))->text(), QStringLiteral("90"));
    QVERIFY(find<QCheckBox>(QStringLiteral("chkCHMod"))->isChecked());
    QCOMPARE(find<QComboBox>(QStringLiteral("cmbInstrument"))->currentIndex(), m_lastInstrument);
    QCOMPARE(tally(recorder().messages()).lastProgram, m_lastInstrument);
    QCOMPARE(find<QLineEdit>(QStringLiteral("txtLatLong(0)"))->text(), QStringLiteral("48.85N"));
    QCOMPARE(find<QLineEdit>(QStringLiteral("txtLatLong(1)"))->text(), QStringLiteral("2.35E"));
    QCOMPARE(m_window->astro().longitude(), 2.35f);
    // The moment is the present again, not the one of the last session.
    QCOMPARE(dateBox(), QStringLiteral("06/Dec/2026"));

    // A year jump with the restored unit.
    click(find<QPushButton>(QStringLiteral("cmdJump(1)")));
    QCOMPARE(dateBox(), QStringLiteral("06/Dec/2027"));
}

QTEST_MAIN(WalkTest)
#include "walk_qtest.moc"
