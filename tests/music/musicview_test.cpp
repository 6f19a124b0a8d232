#include "core/random.h"
#include "fakesky.h"
#include "music/core/cycleplayer.h"
#include "music/core/midimodule.h"
#include "music/midi/recordingoutput.h"
#include "music/view/musicpage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace velmora;

class MusicViewTest : public QObject
{
    Q_OBJECT

private:
    template <class T> T *add(const char *name)
    {
        auto *w = new T(m_root.get());
        w->setObjectName(QString::fromLatin1(name));
        return w;
    }
    template <class T> T *find(const char *name)
    {
        return m_root->findChild<T *>(QString::fromLatin1(name));
    }

    const QStringList m_captions{QStringLiteral("First Circle"), QStringLiteral("Second Circle"),
                                 QStringLiteral("Third Circle")};
    std::unique_ptr<QWidget> m_root;
    std::unique_ptr<MidiModule> m_midi;
    RecordingOutput *m_recorder = nullptr;
    test::FakeSky m_sky;
    RandomSource m_random{[] {
        return 0.0;
    }};
    std::unique_ptr<CyclePlayer> m_player;
    std::unique_ptr<MusicPage> m_page;
    QPushButton *m_buttons[3] = {};

private Q_SLOTS:
    void init()
    {
        m_root = std::make_unique<QWidget>();
        auto *instruments = add<QComboBox>("cmbInstrument");
        auto *change = add<QComboBox>("cmbChange");
        add<QComboBox>("cmbOct")->addItem(QStringLiteral("1"));
        for (int i = 0; i < 128; ++i)
            instruments->addItem(QString::number(i));
        for (int i = 1; i <= 9; ++i)
            change->addItem(QString::number(i));
        change->setCurrentIndex(2);
        for (const auto &[box, text] :
             {std::pair("txtSpeed", "40"), std::pair("txtPitch", "60"),
              std::pair("txtVolume(0)", "64"), std::pair("txtVolume(1)", "64")})
            add<QLineEdit>(box)->setText(QString::fromLatin1(text));
        add<QCheckBox>("chkCHMod");
        add<QPlainTextEdit>("txtOut");
        add<QTimer>("Timer1");
        const char *names[] = {"cmdZodiac", "cmdDays", "cmdCyclusHarmonicus"};
        for (int i = 0; i < 3; ++i) {
            m_buttons[i] = add<QPushButton>(names[i]);
            m_buttons[i]->setText(m_captions[i]);
        }
        auto out = std::make_unique<RecordingOutput>();
        m_recorder = out.get();
        m_midi = std::make_unique<MidiModule>(std::move(out));
        m_midi->open();
        m_player = std::make_unique<CyclePlayer>(*m_midi, m_sky, m_random);
        m_page = std::make_unique<MusicPage>(m_root.get(), *m_player);
    }

    void cleanup()
    {
        m_page.reset();
        m_player.reset();
        m_midi.reset();
        m_root.reset();
    }

    void buttonsShowStopKeepTheirTagsAndLockTheOthers_data()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("first circle") << 0;
        QTest::newRow("second circle") << 1;
        QTest::newRow("third circle") << 2;
    }

    void buttonsShowStopKeepTheirTagsAndLockTheOthers()
    {
        QFETCH(int, which);
        QTest::mouseClick(m_buttons[which], Qt::LeftButton);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(m_buttons[i]->text(), i == which ? QStringLiteral("Stop") : m_captions[i]);
            QCOMPARE(m_buttons[i]->isEnabled(), i == which);
            QCOMPARE(m_buttons[i]->property("Tag").toString(), m_captions[i]);
        }
        QTest::mouseClick(m_buttons[which], Qt::LeftButton);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(m_buttons[i]->text(), m_captions[i]);
            QVERIFY(m_buttons[i]->isEnabled());
        }
        QVERIFY2(m_page->timer()->isActive(), "the stop waits for the next tick");
        m_page->Timer1_Timer();
        QVERIFY(!m_page->timer()->isActive());
    }

    void enterRewritesTheBoxesAndIsConsumed()
    {
        auto *speed = find<QLineEdit>("txtSpeed");
        auto *maxVolume = find<QLineEdit>("txtVolume(1)");
        QSignalSpy returnPressed(speed, &QLineEdit::returnPressed);
        speed->setText(QStringLiteral("5"));
        QTest::keyClick(speed, Qt::Key_Return);
        QCOMPARE(speed->text(), QStringLiteral("10"));
        QCOMPARE(returnPressed.count(), 0);
        QCOMPARE(m_page->timer()->interval(), 6000);
        QVERIFY2(!m_page->timer()->isActive(), "Enter does not start the clock");

        find<QLineEdit>("txtVolume(0)")->setText(QStringLiteral("120"));
        QTest::keyClick(find<QLineEdit>("txtVolume(0)"), Qt::Key_Return);
        QCOMPARE(maxVolume->text(), QStringLiteral("120")); // the limits change places
        QTest::keyClicks(maxVolume, QStringLiteral("x"));
        QCOMPARE(maxVolume->text(), QStringLiteral("120x")); // other keys type as usual
    }

    void instrumentAndHoldListsReachThePlayer()
    {
        find<QComboBox>("cmbInstrument")->setCurrentIndex(50);
        m_page->cmbInstrument_Click();
        QCOMPARE(m_recorder->messages().back().packed, 50u * 256 + 192);
        m_page->cmdDays_Click();
        QCOMPARE(find<QPlainTextEdit>("txtOut")->toPlainText(), QStringLiteral("A: dhae"));
        find<QComboBox>("cmbChange")->setCurrentIndex(0);
        m_page->Timer1_Timer();
        QCOMPARE(m_player->holdIndex(), 0);
    }
};

QTEST_MAIN(MusicViewTest)
#include "musicview_test.moc"
