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

class ControlsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void arrayNames_data();
    void arrayNames();
    void controlLookup_data();
    void controlLookup();
    void arrayMembersAndIndexedHandlers();
    void enterIsConsumedOtherKeysTyped_data();
    void enterIsConsumedOtherKeysTyped();
    void enterInMultiLineBoxAndArrays();
    void messageBoxHook();
};

void ControlsTest::arrayNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("base"); // empty: not a member name
    QTest::addColumn<int>("index");
    QTest::newRow("first") << QStringLiteral("txtCode(0)") << QStringLiteral("txtCode") << 0;
    QTest::newRow("two digits") << QStringLiteral("optTJ(12)") << QStringLiteral("optTJ") << 12;
    QTest::newRow("nested") << QStringLiteral("a(1)(2)") << QStringLiteral("a(1)") << 2;
    QTest::newRow("plain") << QStringLiteral("cmdRandom") << QString() << 0;
    QTest::newRow("no base") << QStringLiteral("(3)") << QString() << 0;
    QTest::newRow("negative") << QStringLiteral("cmdJump(-1)") << QString() << 0;
    QTest::newRow("trailing text") << QStringLiteral("cmdJump(1)a") << QString() << 0;
}

void ControlsTest::arrayNames()
{
    QFETCH(QString, name);
    QFETCH(QString, base);
    QFETCH(int, index);
    const auto parsed = splitArrayName(name);
    QCOMPARE(parsed.has_value(), !base.isEmpty());
    if (parsed) {
        QCOMPARE(*parsed, std::make_pair(base, index));
        QCOMPARE(arrayName(base, index), name);
    }
}

void ControlsTest::controlLookup_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("asLineEdit");
    QTest::addColumn<bool>("found");
    QTest::newRow("nested line edit") << QStringLiteral("txtCode(0)") << true << true;
    QTest::newRow("label as widget") << QStringLiteral("lblFig1") << false << true;
    QTest::newRow("missing") << QStringLiteral("txtCode(9)") << true << false;
    QTest::newRow("wrong type") << QStringLiteral("lblFig1") << true << false;
    QTest::newRow("case differs") << QStringLiteral("TXTCODE(0)") << true << false;
    QTest::newRow("duplicated") << QStringLiteral("txtTwice") << true << false;
}

void ControlsTest::controlLookup()
{
    QFETCH(QString, name);
    QFETCH(bool, asLineEdit);
    QFETCH(bool, found);
    QWidget root;
    auto *frame = new QGroupBox(&root);
    (new QLineEdit(frame))->setObjectName(QStringLiteral("txtCode(0)"));
    (new QLabel(&root))->setObjectName(QStringLiteral("lblFig1"));
    (new QLineEdit(&root))->setObjectName(QStringLiteral("txtTwice"));
    (new QLineEdit(frame))->setObjectName(QStringLiteral("txtTwice"));
    try {
        QObject *result = asLineEdit ? static_cast<QObject *>(control<QLineEdit>(&root, name))
                                     : control<QWidget>(&root, name);
        QVERIFY(found);
        QCOMPARE(result->objectName(), name);
    } catch (const std::logic_error &error) {
        QVERIFY2(!found, error.what());
        QVERIFY(QString::fromUtf8(error.what()).contains(name)); // says which control
    }
}

void ControlsTest::arrayMembersAndIndexedHandlers()
{
    QWidget root;
    auto *frame = new QGroupBox(&root);
    for (int index : {4, 0, 2, 1}) // created out of order, with a gap, in two containers
        (new QCheckBox(index % 2 ? frame : &root))
            ->setObjectName(arrayName(QStringLiteral("cmdJump"), index));
    (new QCheckBox(&root))->setObjectName(QStringLiteral("cmdJumpX(3)"));
    (new QCheckBox(&root))->setObjectName(QStringLiteral("cmdJump"));

    const ControlArray<QCheckBox> jumps(&root, QStringLiteral("cmdJump"));
    QList<int> order;
    for (const auto &[index, member] : jumps) {
        order << index;
        QCOMPARE(member->objectName(), arrayName(QStringLiteral("cmdJump"), index));
    }
    QCOMPARE(order, (QList<int>{0, 1, 2, 4}));
    QCOMPARE(jumps.count(), 4);
    QVERIFY_THROWS_EXCEPTION(std::logic_error, jumps[3]);
    QVERIFY_THROWS_EXCEPTION(std::logic_error,
                             ControlArray<QCheckBox>(&root, QStringLiteral("cmdNone")));
    QVERIFY_THROWS_EXCEPTION(std::logic_error,
                             ControlArray<QPushButton>(&root, QStringLiteral("cmdJump")));

    QList<int> clicked;
    QList<std::pair<int, bool>> toggled;
    auto context = std::make_unique<QObject>();
    jumps.onClicked(context.get(), [&](int index) { clicked << index; });
    jumps.onToggled(&root, [&](int index, bool on) { toggled.append({index, on}); });
    jumps[4]->click();
    jumps[0]->click();
    jumps[4]->click();
    QCOMPARE(clicked, (QList<int>{4, 0, 4}));
    QCOMPARE(toggled, (QList<std::pair<int, bool>>{{4, true}, {0, true}, {4, false}}));
    context.reset(); // the handler's owner is gone: its connections end with it
    jumps[1]->click();
    QCOMPARE(clicked.size(), 3);
    QCOMPARE(toggled.size(), 4);
}

void ControlsTest::enterIsConsumedOtherKeysTyped_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("handled");
    QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier) << true;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << true;
    QTest::newRow("Shift+Return") << int(Qt::Key_Return) << int(Qt::ShiftModifier) << true;
    QTest::newRow("Ctrl+Return") << int(Qt::Key_Return) << int(Qt::ControlModifier) << false;
    QTest::newRow("letter") << int(Qt::Key_B) << int(Qt::NoModifier) << false;
}

void ControlsTest::enterIsConsumedOtherKeysTyped()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, handled);
    QLineEdit edit(QStringLiteral("C"));
    int calls = 0;
    onEnterKey(&edit, [&] { ++calls; });
    QSignalSpy returnPressed(&edit, &QLineEdit::returnPressed);
    QTest::keyClick(&edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(calls, handled ? 1 : 0);
    if (handled)
        QCOMPARE(returnPressed.count(), 0);       // the box never saw the key
    QTest::keyClicks(&edit, QStringLiteral("D")); // typing goes on as usual
    QVERIFY(edit.text().endsWith(QStringLiteral("D")));
}

void ControlsTest::enterInMultiLineBoxAndArrays()
{
    QPlainTextEdit notes;
    int calls = 0;
    onEnterKey(&notes, [&] { ++calls; });
    QTest::keyClicks(&notes, QStringLiteral("ab"));
    QTest::keyClick(&notes, Qt::Key_Return);
    QTest::keyClicks(&notes, QStringLiteral("c"));
    QCOMPARE(calls, 1);
    QCOMPARE(notes.toPlainText(), QStringLiteral("abc")); // no line break went in

    QWidget root;
    for (int index = 0; index < 3; ++index)
        (new QLineEdit(&root))->setObjectName(arrayName(QStringLiteral("txtCode"), index));
    const ControlArray<QLineEdit> codes(&root, QStringLiteral("txtCode"));
    QList<int> entered;
    onEnterKey(codes, [&](int index) { entered << index; });
    QTest::keyClick(codes[1], Qt::Key_Return);
    QTest::keyClick(codes[2], Qt::Key_A);
    QTest::keyClick(codes[2], Qt::Key_Enter);
    QCOMPARE(entered, (QList<int>{1, 2}));
    QCOMPARE(codes[2]->text(), QStringLiteral("a"));
}

void ControlsTest::messageBoxHook()
{
    QStringList outer;
    ScopedMessageBoxHook outerHook(
        [&](const QString &text, const QString &title) { outer << title + u':' + text; });
    {
        QStringList inner;
        ScopedMessageBoxHook innerHook(
            [&](const QString &text, const QString &title) { inner << title + u':' + text; });
        messageBox(nullptr, QStringLiteral("Screen too small"), QStringLiteral("Velmora"));
        QCOMPARE(inner, QStringList{QStringLiteral("Velmora:Screen too small")});
    }
    messageBox(nullptr, QStringLiteral("second"), QStringLiteral("t")); // the outer hook is back
    QCOMPARE(outer, QStringList{QStringLiteral("t:second")});

    // A hook that puts the previous one back while it runs finishes its own call safely.
    int selfCalls = 0;
    MessageBoxHook previous;
    previous = setMessageBoxHook([&](const QString &, const QString &) {
        ++selfCalls;
        setMessageBoxHook(previous);
    });
    messageBox(nullptr, QStringLiteral("x"), QStringLiteral("y"));
    messageBox(nullptr, QStringLiteral("z"), QStringLiteral("w"));
    QCOMPARE(selfCalls, 1);
    QCOMPARE(outer.size(), 2);
}

QTEST_MAIN(ControlsTest)
#include "controls_test.moc"
