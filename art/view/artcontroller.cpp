#include "art/view/artcontroller.h"

#include "art/core/figuregeometry.h"
#include "art/core/generaltable.h"
#include "core/texttables.h"
#include "toolkit/controls.h"
#include "toolkit/keypress.h"
#include "toolkit/picturebox.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextCursor>

namespace velmora {

namespace {

constexpr int kEnter = 13;

QString name(const char *base, int index)
{
    return arrayName(QString::fromLatin1(base), index);
}

// The tables end their lines with CR LF; a text box breaks lines at LF.
void setBoxText(QPlainTextEdit *box, const QString &text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (box->toPlainText() != shown)
        setMultiLineText(box, shown);
}

// A caption treats "&" as an access-key mark; the pair names must show as typed.
QString captionText(QString text)
{
    return text.replace(u'&', QStringLiteral("&&"));
}

/// Runs a handler on a mouse click (press and release) in a text box, once the caret has moved.
class ClickFilter : public QObject
{
public:
    ClickFilter(QObject *parent, std::function<void()> handler)
        : QObject(parent)
        , m_handler(std::move(handler))
    {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            m_handler();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_handler;
};

} // namespace

ArtController::ArtController(QWidget *root, const ArtTables &tables, RandomSource &random,
                             QObject *parent)
    : QObject(parent)
    , m_tables(tables)
    , m_random(random)
{
    for (int i = 0; i < 3; ++i) {
        m_txtCode[i] = control<QLineEdit>(root, name("txtCode", i));
        m_cmdRandom[i] = control<QPushButton>(root, name("cmdRandom", i));
        m_txtS[i] = control<QLineEdit>(root, name("txtS", i));
        m_txtVirtue[i] = control<QLineEdit>(root, name("txtVirtue", i));
        m_txtVice[i] = control<QLineEdit>(root, name("txtVice", i));
        m_txtQDef[i] = control<QPlainTextEdit>(root, name("txtQDef", i));
        m_txtPrinciple[i] = control<QLineEdit>(root, QStringLiteral("txt%1").arg(i + 1));
        m_txtDefinition[i] = control<QPlainTextEdit>(root, QStringLiteral("txtD%1").arg(i + 1));
    }
    for (int i = 0; i < 4; ++i)
        m_optC1[i] = control<QRadioButton>(root, name("optC1", i));
    for (int i = 0; i < 2; ++i) {
        m_optPair[i] = control<QRadioButton>(root, name("optPair", i));
        m_txt3a[i] = control<QPlainTextEdit>(root, name("txt3a", i));
        m_txtDef[i] = control<QPlainTextEdit>(root, name("txtDef", i));
        m_txtRules[i] = control<QPlainTextEdit>(root, name("txtRules", i));
    }
    m_txtMedia = control<QPlainTextEdit>(root, QStringLiteral("txtMedia"));
    m_txtPart6 = control<QPlainTextEdit>(root, QStringLiteral("txtPart6"));
    m_chkMedia = control<QCheckBox>(root, QStringLiteral("chkMedia"));
    m_chkPart6 = control<QCheckBox>(root, QStringLiteral("chkPart6"));
    m_txtGT = control<QPlainTextEdit>(root, QStringLiteral("txtGT"));
    for (int i = 0; i < 4; ++i)
        m_picFig[i] = control<PictureBox>(root, QStringLiteral("picFig%1").arg(i + 1));
    m_lblFig1 = control<QLabel>(root, QStringLiteral("lblFig1"));
    m_lblFig2 = control<QLabel>(root, QStringLiteral("lblFig2"));

    // The figure pictures lie under what the program draws, so the markers
    // are cleared without touching them.
    m_picFig[0]->setDesignPicture(QStringLiteral(":/figures/first.svg"));
    m_picFig[1]->setDesignPicture(QStringLiteral(":/figures/second.svg"));
    m_picFig[2]->setDesignPicture(QStringLiteral(":/figures/third.svg"));
    // The first page shows them at once: they render while the rest of the window is built.
    PictureBox::prepareDesignLayers({m_picFig[0], m_picFig[1], m_picFig[2]});
    if (auto *image = root->findChild<QLabel *>(QStringLiteral("Image3"))) {
        // The picture box shows the third figure itself; a label over it would hide the markers.
        m_picFig[2]->setToolTip(image->toolTip());
        image->hide();
    }
    for (QLabel *label : {m_lblFig1, m_lblFig2}) {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAutoFillBackground(true);
        // The label appears under the held button; the release must still reach the figure.
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->hide();
    }
    // The narrow list has room for its rows only when no scroll bar takes a share of it.
    m_txtGT->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_txtGT->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connectControls();
}

ArtController::~ArtController() = default;

void ArtController::connectControls()
{
    for (int i = 0; i < 3; ++i) {
        onEnterKey(m_txtCode[i], [this, i] {
            int key = kEnter;
            txtCode_KeyPress(i, key);
        });
        connect(m_cmdRandom[i], &QPushButton::clicked, this, [this, i] { cmdRandom_Click(i); });
    }
    for (int i = 0; i < 4; ++i) {
        connect(m_optC1[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optC1_Click(i);
        });
    }
    for (int i = 0; i < 2; ++i) {
        connect(m_optPair[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optPair_Click(i);
        });
    }
    connect(m_chkMedia, &QCheckBox::toggled, this, [this] { chkMedia_Click(); });
    connect(m_chkPart6, &QCheckBox::toggled, this, [this] { chkPart6_Click(); });
    connect(m_picFig[0], &PictureBox::mouseDown, this, &ArtController::picFig1_MouseDown);
    connect(m_picFig[0], &PictureBox::mouseUp, this, &ArtController::picFig1_MouseUp);
    connect(m_picFig[1], &PictureBox::mouseDown, this, &ArtController::picFig2_MouseDown);
    connect(m_picFig[1], &PictureBox::mouseUp, this, &ArtController::picFig2_MouseUp);
    m_txtGT->viewport()->installEventFilter(new ClickFilter(this, [this] { txtGT_Click(); }));
}

void ArtController::txtCode_KeyPress(int Index, int &KeyAscii)
{
    if (KeyAscii != kEnter || Index < 0 || Index > 2)
        return;
    KeyAscii = 0;
    const auto typed = evaluateTypedCombination(m_txtCode[static_cast<size_t>(Index)]->text());
    if (!typed)
        return;
    Letters letters = typed->letters;
    CheckLetters(typed->tPosition, letters);
}

void ArtController::cmdRandom_Click(int /*Index*/)
{
    const Combination drawn = drawRandomCombination(m_random);
    Letters letters = drawn.letters;
    CheckLetters(drawn.tPosition, letters);
}

void ArtController::optC1_Click(int /*Index*/)
{
    Show3rd();
}

void ArtController::optPair_Click(int /*Index*/)
{
    Show3rd();
}

void ArtController::CheckLetters(int TPosition, Letters &Letters)
{
    const Combination stored =
        repairCombination({static_cast<qint16>(TPosition), Letters}, m_random);
    Letters = stored.letters;
    m_codeLetters = stored.letters;
    m_letterFigure = letterFigures(stored.tPosition);
    m_tPosition = stored.tPosition;
    ShowThings(stored.tPosition);
}

void ArtController::ShowThings(int TPosition)
{
    m_tPosition = TPosition;
    const QString text = combinationText({static_cast<qint16>(TPosition), m_codeLetters});
    for (QLineEdit *box : m_txtCode)
        box->setText(text);

    drawMarkers();
    drawFourthFigure();
    Show3rd();
    for (const MarkerCircle &m : thirdFigureMarkers(m_pairLetter, m_picFig[2]->foreColor()))
        m_picFig[2]->Circle(m.x, m.y, m.radius, m.colour);
    if (m_holdHidden)
        m_hiddenStale = true;
    else
        ShowTexts();
}

void ArtController::releaseHiddenPages()
{
    m_holdHidden = false;
    if (std::exchange(m_hiddenStale, false)) {
        Show3rd();
        ShowTexts();
    }
}

void ArtController::drawMarkers()
{
    for (int i = 0; i < 3; ++i) {
        m_picFig[i]->Cls();
        m_picFig[i]->setDrawWidth(3);
        m_picFig[i]->setFillSolid(false);
        m_picFig[i]->setPenInvisible(false);
    }
    const FigureMarkers markers = figureMarkers(
        {static_cast<qint16>(m_tPosition), m_codeLetters}, m_picFig[0]->ScaleWidth(),
        m_picFig[0]->ScaleHeight(), m_picFig[1]->ScaleWidth(), m_picFig[1]->ScaleHeight());
    for (const MarkerCircle &m : markers.first)
        m_picFig[0]->Circle(m.x, m.y, m.radius, m.colour);
    for (const MarkerCircle &m : markers.second)
        m_picFig[1]->Circle(m.x, m.y, m.radius, m.colour);
}

void ArtController::drawFourthFigure()
{
    PictureBox *box = m_picFig[3];
    box->Cls();
    box->setFontName(QStringLiteral("ARIAL"));
    box->setFontSize(16);
    box->setPenInvisible(true);
    box->setFillSolid(true);

    const FourthFigure figure = fourthFigure({static_cast<qint16>(m_tPosition), m_codeLetters},
                                             box->ScaleWidth(), box->ScaleHeight());
    for (const Ring &ring : figure.rings) {
        if (!ring.coloured) {
            box->setFillColor(ring.colour);
            box->Circle(figure.centreX, figure.centreY, ring.radius);
            continue;
        }
        for (const PieSector &sector : ring.sectors) {
            box->setFillColor(sector.colour);
            box->Pie(figure.centreX, figure.centreY, ring.radius, sector.startAngle,
                     sector.endAngle);
        }
    }
    box->setFillColor(box->backColor());
    box->Circle(figure.centreX, figure.centreY, figure.centreRadius);

    box->setForeColor(figure.letterColour);
    for (const RingLetter &letter : figure.letters) {
        box->setFontBold(letter.bold);
        box->setFontItalic(letter.italic);
        box->setCurrentX(letter.x);
        box->setCurrentY(letter.y);
        box->Print(QString(letter.letter));
    }
}

void ArtController::Show3rd()
{
    int choice = 0;
    for (int i = 0; i < 4; ++i) {
        if (m_optC1[i]->isChecked())
            choice = i;
    }
    const EvacuationPage page = evacuate(
        m_tables, m_txtCode[2]->text(), static_cast<EvacuationChoice>(choice),
        m_optPair[0]->isChecked() ? 0 : 1, m_chkMedia->isChecked(), m_chkPart6->isChecked());

    // The third figure's markers need the pair; the page itself can wait while hidden.
    m_pairLetter = page.pairLetter;
    if (m_holdHidden) {
        m_hiddenStale = true;
        return;
    }
    m_txtMedia->setVisible(page.mediaVisible);
    m_txtPart6->setVisible(page.part6Visible);
    m_optPair[0]->setText(captionText(page.captions.first));
    m_optPair[1]->setText(captionText(page.captions.second));
    m_chkMedia->setEnabled(page.checksEnabled);
    m_chkPart6->setEnabled(page.checksEnabled);
    setBoxText(m_txtMedia, page.media);
    setBoxText(m_txtPart6, page.part6);
    setBoxText(m_txt3a[0], page.propositions);
    setBoxText(m_txt3a[1], page.questions);
    for (size_t i = 0; i < 2; ++i) {
        setBoxText(m_txtDef[i], page.definitions[i]);
        setBoxText(m_txtRules[i], page.rules[i]);
    }
}

void ArtController::ShowTexts()
{
    m_sortedLetters = sortedLetters(m_codeLetters);
    if (m_lastGTCode.isEmpty()) {
        const QStringList rows = generalTableRows(tableLetters(m_sortedLetters));
        m_txtGT->clear();
        // One edit for all rows: the list is laid out once, not once a row.
        QTextCursor edit(m_txtGT->document());
        edit.beginEditBlock();
        for (const QString &row : rows)
            AddGT(row.mid(0, 1), row.mid(1, 1), row.mid(2, 1), row.mid(3, 1));
        edit.endEditBlock();
    }
    m_lastGTCode.clear();

    const auto panel = textsPanel(m_tables, m_codeLetters, m_letterFigure);
    for (size_t i = 0; i < 3; ++i) {
        m_txtPrinciple[i]->setText(panel[i].principle);
        setBoxText(m_txtDefinition[i], panel[i].definition);
        setBoxText(m_txtQDef[i], panel[i].rule);
        m_txtS[i]->setText(panel[i].subject);
        m_txtVirtue[i]->setText(panel[i].virtue);
        m_txtVice[i]->setText(panel[i].vice);
    }
}

void ArtController::AddGT(const QString &s1, const QString &s2, const QString &s3,
                          const QString &s4)
{
    QTextCursor cursor(m_txtGT->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(s1 + s2 + s3 + s4 + u'\n');
}

void ArtController::txtGT_Click()
{
    const QString line = m_txtGT->textCursor().block().text();
    m_lastGTCode = m_txtCode[1]->text();
    if (!line.trimmed().isEmpty())
        m_txtCode[1]->setText(line);
    int key = kEnter;
    txtCode_KeyPress(1, key);
    // A stored combination has already used and cleared the mark; a row that
    // is no combination must not freeze the list for the next one typed.
    m_lastGTCode.clear();
}

void ArtController::showDefinition(QLabel *label, const QString &text)
{
    label->setText(showAmpersands(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    label->raise();
    label->show();
}

void ArtController::picFig1_MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, double X, double Y)
{
    const int compartment =
        compartmentOfAngle(pressAngle(X, Y, m_picFig[0]->ScaleWidth(), m_picFig[0]->ScaleHeight()));
    showDefinition(m_lblFig1,
                   m_tables.AbsDefinitions[static_cast<size_t>(firstFigureLetter(compartment))]);
}

void ArtController::picFig1_MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, double, double)
{
    m_lblFig1->hide();
}

void ArtController::picFig2_MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, double X, double Y)
{
    const int compartment =
        compartmentOfAngle(pressAngle(X, Y, m_picFig[1]->ScaleWidth(), m_picFig[1]->ScaleHeight()));
    showDefinition(m_lblFig2,
                   m_tables.RelDefinitions[static_cast<size_t>(secondFigureLetter(compartment))]);
}

void ArtController::picFig2_MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, double, double)
{
    m_lblFig2->hide();
}

void ArtController::chkMedia_Click()
{
    if (m_chkMedia->isChecked())
        m_chkPart6->setChecked(false);
    Show3rd();
}

void ArtController::chkPart6_Click()
{
    if (m_chkPart6->isChecked())
        m_chkMedia->setChecked(false);
    Show3rd();
}

} // namespace velmora
