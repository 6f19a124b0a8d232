#include "toolkit/controls.h"
#include "toolkit/keypress.h"
#include "toolkit/messagebox.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace velmora;
using namespace Qt::StringLiterals;

class ControlsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void arrayNamesLookupMembersAndIndexedHandlers()
    {
        // Name, and its base and index; no base when it names no member.
        const std::tuple<QString, QString, int> cases[] = {{u"txtCode(0)"_s, u"txtCode"_s, 0},
                                                           {u"a(1)(2)"_s, u"a(1)"_s, 2},
                                                           {u"cmdRandom"_s, QString(), 0},
                                                           {u"cmdJump(-1)"_s, QString(), 0},
                                                           {u"cmdJump(1)a"_s, QString(), 0},
                                                           {u"(1)"_s, QString(), 0},
                                                           {u"b(12345)"_s, u"b"_s, 12345},
                                                           {u"b(123456)"_s, QString(), 0},
                                                           {u"b()"_s, QString(), 0}};
        for (const auto &[name, base, index] : cases) {
            const auto parsed = splitArrayName(name);
            QCOMPARE(parsed.has_value(), !base.isEmpty());
            if (parsed) {
                QCOMPARE(*parsed, std::make_pair(base, index));
                QCOMPARE(arrayName(base, index), name);
            }
        }

        QWidget root;
        auto *frame = new QGroupBox(&root);
        (new QLineEdit(frame))->setObjectName(u"txtCode(0)"_s);
        (new QLabel(&root))->setObjectName(u"lblFig1"_s);
        (new QLineEdit(&root))->setObjectName(u"txtTwice"_s);
        (new QLineEdit(frame))->setObjectName(u"txtTwice"_s);
        // Nested is found; missing, of the wrong type or named twice is an error.
        for (const QString &name :
             {u"txtCode(0)"_s, u"txtCode(9)"_s, u"lblFig1"_s, u"txtTwice"_s}) {
            const bool found = name == u"txtCode(0)"_s;
            try {
                QObject *result = control<QLineEdit>(&root, name);
                QVERIFY(found);
                QCOMPARE(result->objectName(), name);
            } catch (const std::logic_error &error) {
                QVERIFY2(!found, error.what());
                // It says which control, and whether it is missing or named twice.
                const QString what = QString::fromUtf8(error.what());
                QVERIFY(what.contains(name));
                QCOMPARE(what.startsWith(u"more than one"_s), name == u"txtTwice"_s);
            }
        }

        for (int index : {4, 0, 2, 1}) // out of order, with a gap, in two containers
            (new QCheckBox(index % 2 ? frame : &root))
                ->setObjectName(arrayName(u"cmdJump"_s, index));
        (new QCheckBox(&root))->setObjectName(u"cmdJumpX(3)"_s);

        const ControlArray<QCheckBox> jumps(&root, u"cmdJump"_s);
        QList<int> order;
        for (const auto &[index, member] : jumps) {
            order << index;
            QCOMPARE(member->objectName(), arrayName(u"cmdJump"_s, index));
        }
        QCOMPARE(order, (QList<int>{0, 1, 2, 4}));
        QVERIFY_THROWS_EXCEPTION(std::logic_error, jumps[3]);
        QVERIFY_THROWS_EXCEPTION(std::logic_error, ControlArray<QPushButton>(&root, u"cmdJump"_s));

        QList<int> clicked;
        QList<std::pair<int, bool>> toggled;
        auto context = std::make_unique<QObject>();
        jumps.onClicked(context.get(), [&](int index) { clicked << index; });
        jumps.onToggled(&root, [&](int index, bool on) { toggled.append({index, on}); });
        for (int index : {4, 0, 4})
            jumps[index]->click();
        QCOMPARE(clicked, (QList<int>{4, 0, 4}));
        QCOMPARE(toggled, (QList<std::pair<int, bool>>{{4, true}, {0, true}, {4, false}}));
        context.reset(); // the handler's owner is gone: its connections end with it
        jumps[1]->click();
        QCOMPARE(clicked.size(), 3);
        QCOMPARE(toggled.size(), 4);
    }

    // Enter in any form is taken by the handler and never reaches the box; other keys type.
    void enterIsConsumedOtherKeysTyped()
    {
        const std::tuple<Qt::Key, Qt::KeyboardModifiers, bool> keys[] = {
            {Qt::Key_Enter, Qt::KeypadModifier, true},
            {Qt::Key_Return, Qt::ShiftModifier, true},
            {Qt::Key_Return, Qt::ControlModifier, false},
            {Qt::Key_B, Qt::NoModifier, false}};
        for (const auto &[key, modifiers, handled] : keys) {
            QLineEdit edit(u"C"_s);
            int calls = 0;
            onEnterKey(&edit, [&] { ++calls; });
            QSignalSpy returnPressed(&edit, &QLineEdit::returnPressed);
            QTest::keyClick(&edit, key, modifiers);
            QCOMPARE(calls, handled ? 1 : 0);
            if (handled)
                QCOMPARE(returnPressed.count(), 0);
            QTest::keyClicks(&edit, u"D"_s);
            QVERIFY(edit.text().endsWith(u"D"_s));
        }
    }

    // A hidden box takes new text and puts its caret at the start when next shown, once: a caret
    // the user moved stays where it is when the page comes back.
    void hiddenBoxCaretMovesOnTheNextShowOnly()
    {
        QPlainTextEdit box;
        box.show();
        box.moveCursor(QTextCursor::End);
        box.hide();
        setMultiLineText(&box, u"first line\nsecond line"_s);
        box.show();
        QCOMPARE(box.textCursor().position(), 0);
        box.moveCursor(QTextCursor::End);
        box.hide();
        box.show();
        QCOMPARE(box.textCursor().position(), 22);
    }

    void messageBoxHook()
    {
        QStringList seen;
        ScopedMessageBoxHook outerHook(
            [&](const QString &text, const QString &title) { seen << title + u':' + text; });
        {
            ScopedMessageBoxHook innerHook([](const QString &, const QString &) {});
            messageBox(nullptr, u"inner"_s, u"t"_s);
        }
        messageBox(nullptr, u"Screen too small"_s, u"Velmora"_s); // the outer hook is back
        QCOMPARE(seen, QStringList{u"Velmora:Screen too small"_s});

        // A hook that puts the previous one back while it runs finishes its own call safely.
        int selfCalls = 0;
        MessageBoxHook previous;
        previous = setMessageBoxHook([&](const QString &, const QString &) {
            ++selfCalls;
            setMessageBoxHook(previous);
        });
        messageBox(nullptr, u"x"_s, u"y"_s);
        messageBox(nullptr, u"z"_s, u"w"_s);
        QCOMPARE(selfCalls, 1);
        QCOMPARE(seen.size(), 2);
    }
};

QTEST_MAIN(ControlsTest)
#include "controls_test.moc"
