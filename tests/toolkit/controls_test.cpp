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
    void arrayCollectsMembersInIndexOrder();
    void arrayHandlersReceiveIndex();
    void connectionEndsWithContext();
    void enterIsConsumedOtherKeysTyped_data();
    void enterIsConsumedOtherKeysTyped();
    void enterInMultiLineBox();
    void enterOnArrayMembers();
    void messageBoxHook();
};

void ControlsTest::arrayNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("isMember");
    QTest::addColumn<QString>("base");
    QTest::addColumn<int>("index");
    QTest::newRow("first") << QStringLiteral("txtCode(0)") << true << QStringLiteral("txtCode")
                           << 0;
    QTest::newRow("two digits") << QStringLiteral("optTJ(12)") << true << QStringLiteral("optTJ")
                                << 12;
    QTest::newRow("nested brackets")
        << QStringLiteral("a(1)(2)") << true << QStringLiteral("a(1)") << 2;
    QTest::newRow("plain name") << QStringLiteral("cmdRandom") << false << QString() << 0;
    QTest::newRow("no base") << QStringLiteral("(3)") << false << QString() << 0;
    QTest::newRow("negative") << QStringLiteral("cmdJump(-1)") << false << QString() << 0;
    QTest::newRow("not a number") << QStringLiteral("cmdJump(x)") << false << QString() << 0;
    QTest::newRow("trailing text") << QStringLiteral("cmdJump(1)a") << false << QString() << 0;
}

void ControlsTest::arrayNames()
{
    QFETCH(QString, name);
    QFETCH(bool, isMember);
    QFETCH(QString, base);
    QFETCH(int, index);
    const auto parsed = splitArrayName(name);
    QCOMPARE(parsed.has_value(), isMember);
    if (isMember) {
        QCOMPARE(parsed->first, base);
        QCOMPARE(parsed->second, index);
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
    QTest::newRow("prefix only") << QStringLiteral("txtCode") << true << false;
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
    auto *edit = new QLineEdit(frame);
    edit->setObjectName(QStringLiteral("txtCode(0)"));
    auto *label = new QLabel(&root);
    label->setObjectName(QStringLiteral("lblFig1"));
    new QLineEdit(&root);
    root.findChildren<QLineEdit *>().last()->setObjectName(QStringLiteral("txtTwice"));
    (new QLineEdit(frame))->setObjectName(QStringLiteral("txtTwice"));

    try {
        QObject *result = asLineEdit ? static_cast<QObject *>(control<QLineEdit>(&root, name))
                                     : control<QWidget>(&root, name);
        QVERIFY(found);
        QCOMPARE(result->objectName(), name);
    } catch (const std::logic_error &error) {
        QVERIFY2(!found, error.what());
        // The message names the control, so the mistake can be found.
        QVERIFY(QString::fromUtf8(error.what()).contains(name));
    }
}

void ControlsTest::arrayCollectsMembersInIndexOrder()
{
    QWidget root;
    auto *frame = new QGroupBox(&root);
    for (int index : {4, 0, 2, 1}) {
        auto *button = new QPushButton(index % 2 ? frame : &root);
        button->setObjectName(arrayName(QStringLiteral("cmdJump"), index));
    }
    // Neither of these belongs to the array.
    (new QPushButton(&root))->setObjectName(QStringLiteral("cmdJumpX(3)"));
    (new QPushButton(&root))->setObjectName(QStringLiteral("cmdJump"));

    const ControlArray<QPushButton> jumps(&root, QStringLiteral("cmdJump"));
    QCOMPARE(jumps.count(), 4);
    QList<int> order;
    for (const auto &[index, button] : jumps) {
        order << index;
        QCOMPARE(button->objectName(), arrayName(QStringLiteral("cmdJump"), index));
    }
    QCOMPARE(order, (QList<int>{0, 1, 2, 4}));
    QVERIFY(!jumps.contains(3));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, jumps[3]);
    QCOMPARE(jumps[4]->objectName(), QStringLiteral("cmdJump(4)"));

    QVERIFY_THROWS_EXCEPTION(std::logic_error,
                             ControlArray<QPushButton>(&root, QStringLiteral("cmdNone")));
    // Members of another type do not make an array of this type.
    QVERIFY_THROWS_EXCEPTION(std::logic_error,
                             ControlArray<QCheckBox>(&root, QStringLiteral("cmdJump")));
}

void ControlsTest::arrayHandlersReceiveIndex()
{
    QWidget root;
    for (int index = 0; index < 3; ++index) {
        auto *box = new QCheckBox(&root);
        box->setObjectName(arrayName(QStringLiteral("chkOpt"), index));
        auto *edit = new QLineEdit(&root);
        edit->setObjectName(arrayName(QStringLiteral("txtLatLong"), index));
    }
    const ControlArray<QCheckBox> boxes(&root, QStringLiteral("chkOpt"));
    QList<int> clicked;
    QList<std::pair<int, bool>> toggled;
    boxes.onClicked(&root, [&](int index) { clicked << index; });
    boxes.onToggled(&root, [&](int index, bool on) { toggled.append({index, on}); });
    boxes[2]->click();
    boxes[0]->click();
    boxes[2]->click();
    QCOMPARE(clicked, (QList<int>{2, 0, 2}));
    QCOMPARE(toggled, (QList<std::pair<int, bool>>{{2, true}, {0, true}, {2, false}}));

    const ControlArray<QLineEdit> edits(&root, QStringLiteral("txtLatLong"));
    QStringList texts;
    edits.onTextChanged(
        &root, [&](int index, const QString &text) { texts << QString::number(index) + text; });
    edits[1]->setText(QStringLiteral("45.5N"));
    QCOMPARE(texts, QStringList{QStringLiteral("145.5N")});
}

void ControlsTest::connectionEndsWithContext()
{
    QWidget root;
    auto *button = new QPushButton(&root);
    button->setObjectName(QStringLiteral("cmdBackForward(1)"));
    const ControlArray<QPushButton> buttons(&root, QStringLiteral("cmdBackForward"));
    int calls = 0;
    {
        auto context = std::make_unique<QObject>();
        buttons.onClicked(context.get(), [&](int) { ++calls; });
        button->click();
        QCOMPARE(calls, 1);
    }
    button->click(); // the handler's owner is gone: nothing runs
    QCOMPARE(calls, 1);
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
    QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier) << false;
}

void ControlsTest::enterIsConsumedOtherKeysTyped()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, handled);
    QLineEdit edit;
    edit.setText(QStringLiteral("C"));
    int calls = 0;
    QString textAtCall;
    onEnterKey(&edit, [&] {
        ++calls;
        textAtCall = edit.text();
    });
    QSignalSpy returnPressed(&edit, &QLineEdit::returnPressed);
    QTest::keyClick(&edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(calls, handled ? 1 : 0);
    if (handled) {
        QCOMPARE(returnPressed.count(), 0); // the box never saw the key
        QCOMPARE(textAtCall, QStringLiteral("C"));
    }
    // Typing goes on as usual afterwards.
    QTest::keyClicks(&edit, QStringLiteral("D"));
    QVERIFY(edit.text().endsWith(QStringLiteral("D")));
    QCOMPARE(calls, handled ? 1 : 0);
}

void ControlsTest::enterInMultiLineBox()
{
    QPlainTextEdit edit;
    int calls = 0;
    onEnterKey(&edit, [&] { ++calls; });
    QTest::keyClicks(&edit, QStringLiteral("ab"));
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClicks(&edit, QStringLiteral("c"));
    QCOMPARE(calls, 1);
    QCOMPARE(edit.toPlainText(), QStringLiteral("abc"));
}

void ControlsTest::enterOnArrayMembers()
{
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
        QVERIFY(outer.isEmpty());
    }
    // Leaving the scope restores the hook that was there before.
    messageBox(nullptr, QStringLiteral("second"), QStringLiteral("t"));
    QCOMPARE(outer, QStringList{QStringLiteral("t:second")});

    // A hook that replaces itself while it runs finishes its own call safely.
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
