#include "music/view/musicpage.h"
#include "musictestsupport.h"
#include "resources/design/designdata.h"
#include "toolkit/controls.h"
#include "toolkit/formbuilder.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace velmora;
using namespace Qt::StringLiterals;

// The music controls of the window's design, driven through a player on a recorder.
class MusicViewTest : public QObject
{
    Q_OBJECT

private:
    template <class T> T *find(const char *name)
    {
        return control<T>(m_root.get(), QString::fromLatin1(name));
    }

    std::unique_ptr<QWidget> m_root;
    std::unique_ptr<test::Rig> m_rig;
    std::unique_ptr<MusicPage> m_page;
    QPushButton *m_buttons[3] = {};
    QStringList m_captions;

private Q_SLOTS:
    void init()
    {
        m_root = std::make_unique<QWidget>();
        FormBuilder::build(FormBuilder::loadDesign(designDataPath()), m_root.get());
        for (int i = 0; i < 128; ++i)
            find<QComboBox>("cmbInstrument")->addItem(QString::number(i));
        for (int i = 1; i <= 9; ++i)
            find<QComboBox>("cmbChange")->addItem(QString::number(i));
        find<QComboBox>("cmbChange")->setCurrentIndex(2);
        find<QComboBox>("cmbOct")->addItem(u"1"_s);
        m_captions.clear();
        for (const char *name : {"cmdZodiac", "cmdDays", "cmdCyclusHarmonicus"}) {
            m_buttons[m_captions.size()] = find<QPushButton>(name);
            m_captions << m_buttons[m_captions.size()]->text();
        }
        m_rig = std::make_unique<test::Rig>();
        m_page = std::make_unique<MusicPage>(m_root.get(), *m_rig->player);
    }

    void cleanup()
    {
        m_page.reset();
        m_rig.reset();
        m_root.reset();
    }

    void buttonsShowStopKeepTheirTagsAndLockTheOthers()
    {
        for (int which = 0; which < 3; ++which) {
            QTest::mouseClick(m_buttons[which], Qt::LeftButton);
            for (int i = 0; i < 3; ++i) {
                QCOMPARE(m_buttons[i]->text(), i == which ? u"Stop"_s : m_captions[i]);
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
    }

    void listsAndBoxesReachThePlayer()
    {
        auto *instruments = find<QComboBox>("cmbInstrument");
        instruments->setCurrentIndex(49);
        QTest::keyClick(instruments, Qt::Key_Down); // chosen from the keyboard, as users do
        QCOMPARE(m_rig->recorder->messages().back().packed, 50u * 256 + 192);
        // A new tempo sets the beat's interval but does not start the clock.
        find<QLineEdit>("txtSpeed")->setText(u"5"_s);
        QTest::keyClick(find<QLineEdit>("txtSpeed"), Qt::Key_Return);
        QCOMPARE(m_page->timer()->interval(), 6000);
        QVERIFY(!m_page->timer()->isActive());
        // Limits given the wrong way round change places in their boxes.
        find<QLineEdit>("txtVolume(0)")->setText(u"120"_s);
        QTest::keyClick(find<QLineEdit>("txtVolume(0)"), Qt::Key_Return);
        QCOMPARE(find<QLineEdit>("txtVolume(1)")->text(), u"120"_s);

        m_page->cmdDays_Click();
        QCOMPARE(find<QPlainTextEdit>("txtOut")->toPlainText(), u"A: dhae"_s);
        find<QComboBox>("cmbChange")->setCurrentIndex(0);
        m_page->Timer1_Timer();
        QCOMPARE(m_rig->player->holdIndex(), 0);
    }
};

QTEST_MAIN(MusicViewTest)
#include "musicview_test.moc"
