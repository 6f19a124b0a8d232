#include "art/core/figuregeometry.h"
#include "art/view/artcontroller.h"
#include "core/letters.h"
#include "core/units.h"
#include "resources/design/designdata.h"
#include "sampletables.h"
#include "scriptedrandom.h"
#include "toolkit/designraster.h"
#include "toolkit/formbuilder.h"
#include "toolkit/picturebox.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>

#include <memory>

using namespace velmora;
using namespace Qt::StringLiterals;

// The Art pages built from the window's design data, driven through their controls.
class ArtControllerTest : public QObject
{
    Q_OBJECT

private:
    template <class T> T *get(const QString &name) { return m_root->findChild<T *>(name); }
    QString code(int i) { return get<QLineEdit>(u"txtCode(%1)"_s.arg(i))->text(); }
    QString box(const QString &name) { return get<QPlainTextEdit>(name)->toPlainText(); }
    void enter(int index, const QString &text)
    {
        auto *edit = get<QLineEdit>(u"txtCode(%1)"_s.arg(index));
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    // Pixel colour (design value) on screen, after a full repaint of the box.
    qint32 shown(const QString &pic, double x, double y)
    {
        auto *p = get<PictureBox>(pic);
        const QColor c = p->grab().toImage().pixelColor(int(x / 15), int(y / 15));
        return colourValue(c.red(), c.green(), c.blue());
    }
    void clickLine(int line)
    {
        auto *gt = get<QPlainTextEdit>(u"txtGT"_s);
        m_tabs->setCurrentIndex(2);
        QTextCursor c(gt->document()->findBlockByNumber(line));
        const QPoint at = gt->cursorRect(c).center() + QPoint(2, 0);
        QTest::mouseClick(gt->viewport(), Qt::LeftButton, {}, at);
    }

    std::unique_ptr<QWidget> m_root;
    QTabWidget *m_tabs = nullptr;
    ArtTables m_tables = velmora::testing::sampleTables();
    velmora::testing::ScriptedRandom m_random{{0.5}};
    std::unique_ptr<ArtController> m_art;

private Q_SLOTS:
    void init()
    {
        m_root = std::make_unique<QWidget>();
        const QJsonObject design = FormBuilder::loadDesign(designDataPath());
        m_root->resize(FormBuilder::clientSize(design));
        QVERIFY(FormBuilder::build(design, m_root.get()) > 0);
        m_tabs = get<QTabWidget>(u"SSTab1"_s);
        m_tabs->setCurrentIndex(0);
        m_root->show();
        m_art = std::make_unique<ArtController>(m_root.get(), m_tables, m_random.source());
        int key = 13; // the start-up evaluation of the first box
        m_art->txtCode_KeyPress(0, key);
        QCOMPARE(key, 0);
    }

    void enterInEachBoxAndRandomClick()
    {
        // On the figures page: repaired, shown in every box, and the table built for it.
        enter(0, u"cb(t)d"_s);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(code(i), u"BC(T)D"_s);
        QCOMPARE(box(u"txtGT"_s).section(u'\n', 0, 0), u"BCD"_s);
        // Too short on the table page: rejected, the box keeps what was typed.
        enter(1, u"AB"_s);
        QCOMPARE((QStringList{code(0), code(1), code(2)}),
                 (QStringList{u"BC(T)D"_s, u"AB"_s, u"BC(T)D"_s}));
        // A random draw goes through the same path.
        m_random.script({0.375, 0.375, 0.0, 0.125});
        QTest::mouseClick(get<QPushButton>(u"cmdRandom(1)"_s), Qt::LeftButton);
        QCOMPARE(code(0), u"E(T)BC"_s);
        QCOMPARE(m_art->LetterFigure(), (Letters{1, 2, 2}));
        QCOMPARE(box(u"txtGT"_s).section(u'\n', 0, 0), u"BCE"_s);
    }

    void clickOnTableRows()
    {
        const QString list = box(u"txtGT"_s);
        clickLine(9); // BTCD
        QCOMPARE(code(0), u"B(T)CD"_s);
        QCOMPARE(box(u"txtGT"_s), list);
        QCOMPARE(m_art->LastGTCode(), QString());
        enter(0, u"D(T)CD"_s); // typed, unlike clicked, builds another column
        QCOMPARE(box(u"txtGT"_s).section(u'\n', 0, 0), u"CDE"_s);
        // A row edited into no combination changes nothing and must not freeze the list.
        auto *gt = get<QPlainTextEdit>(u"txtGT"_s);
        gt->setPlainText(u"XYZ\n"_s + gt->toPlainText());
        clickLine(0);
        QCOMPARE(m_art->CodeLetters(), (Letters{3, 2, 3}));
        enter(0, u"EFG"_s);
        QCOMPARE(box(u"txtGT"_s).section(u'\n', 0, 0), u"EFG"_s);
    }

    void choicesAndChecks()
    {
        auto *media = get<QCheckBox>(u"chkMedia"_s);
        auto *part6 = get<QCheckBox>(u"chkPart6"_s);
        m_tabs->setCurrentIndex(1);
        QTest::mouseClick(media, Qt::LeftButton);
        QVERIFY(get<QWidget>(u"txtMedia"_s)->isVisible());
        QCOMPARE(box(u"txtMedia"_s), u"Media of BC\n"_s);
        QTest::mouseClick(part6, Qt::LeftButton);
        QVERIFY(part6->isChecked() && !media->isChecked());
        QVERIFY(get<QWidget>(u"txtPart6"_s)->isVisible());
        QVERIFY(!get<QWidget>(u"txtMedia"_s)->isVisible());

        QTest::mouseClick(get<QRadioButton>(u"optPair(1)"_s), Qt::LeftButton);
        QCOMPARE(box(u"txtMedia"_s), u"Media of CD\n"_s);
        QTest::mouseClick(get<QRadioButton>(u"optC1(1)"_s), Qt::LeftButton);
        QVERIFY(!media->isEnabled() && !part6->isEnabled());
        QVERIFY(!get<QWidget>(u"txtMedia"_s)->isVisible());
        QCOMPARE(box(u"txtDef(0)"_s), u"Subject C defined.\n"_s);
        // Unconfirmed text is evacuated as it stands.
        get<QLineEdit>(u"txtCode(2)"_s)->setText(u"DBTC"_s);
        QTest::mouseClick(get<QRadioButton>(u"optC1(0)"_s), Qt::LeftButton);
        QCOMPARE(get<QRadioButton>(u"optPair(1)"_s)->text(), u"TC"_s);
        QCOMPARE(box(u"txtRules(0)"_s), QString());
        QCOMPARE(code(0), u"BCD"_s);
    }

    // The pair of equal letters in D(T)DE is no camera: nothing of the last camera stays.
    void pairWithoutCameraShowsNoMediaOrCommentary()
    {
        m_tabs->setCurrentIndex(1);
        get<QCheckBox>(u"chkMedia"_s)->setChecked(true);
        enter(2, u"D(T)DE"_s);
        QCOMPARE(get<QRadioButton>(u"optPair(0)"_s)->text(), u"DD"_s);
        QVERIFY(get<QWidget>(u"txtMedia"_s)->isVisible());
        QCOMPARE(box(u"txtMedia"_s) + box(u"txtPart6"_s), QString());
        QTest::mouseClick(get<QRadioButton>(u"optPair(1)"_s), Qt::LeftButton);
        QCOMPARE(box(u"txtMedia"_s), u"Media of DE\n"_s);
    }

    // A held click on the first figure's C shows its definition, "&&" as "&", until released.
    void holdOnFiguresAndMarkers()
    {
        auto *label = get<QLabel>(u"lblFig1"_s);
        QTest::mousePress(get<QWidget>(u"picFig1"_s), Qt::LeftButton, {}, QPoint(240, 60));
        QVERIFY(label->isVisible());
        QCOMPARE(label->text(), u"Greatness makes goodness & duration great."_s);
        QTest::mouseRelease(get<QWidget>(u"picFig1"_s), Qt::LeftButton, {}, QPoint(240, 60));
        QVERIFY(!label->isVisible());

        // Markers are part of what is shown, after any repaint, and move with the combination.
        const qint32 blue = GetColour(0), green = GetColour(1), white = 0xFFFFFF;
        const double cx = 4335 / 2.0;
        get<QWidget>(u"picFig1"_s)->repaint();
        QCOMPARE(shown(u"picFig1"_s, cx, 2107.5 - 1942.5 + 200), blue); // under B
        QCOMPARE(shown(u"picFig3"_s, 749 + 177, 250 + 177), qint32(0)); // camera CD
        enter(0, u"B(T)BC"_s);
        QCOMPARE(shown(u"picFig2"_s, cx, 2107.5 - 1850 - 200), green);
        QCOMPARE(shown(u"picFig3"_s, 749 + 177, 250 + 177), white);
    }

    // The figures' pictures the build drew are what drawing them here gives, at each scale.
    void readyFigurePicturesMatchTheirDrawing()
    {
        for (const char *figure : {"first", "second", "third"}) {
            const QString svgPath = u":/figures/%1.svg"_s.arg(QLatin1String(figure));
            QSvgRenderer svg(svgPath);
            for (const int scale : designraster::kScales) {
                const QImage ready = designraster::ready(designraster::path(svgPath, scale),
                                                         svg.defaultSize(), scale, Qt::white);
                QVERIFY2(!ready.isNull(), figure);
                QCOMPARE(ready, designraster::render(svg, svg.defaultSize(), scale, Qt::white));
            }
        }
    }
};

QTEST_MAIN(ArtControllerTest)
#include "artcontroller_test.moc"
