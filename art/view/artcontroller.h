#pragma once

#include "art/core/combination.h"
#include "art/core/evacuation.h"

#include <QObject>
#include <QString>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace velmora {

struct ArtTables;
class PictureBox;
class RandomSource;

/// Drives the three pages of the Art: the figures, the evacuation of the third
/// figure and the General Table. It finds its controls below the form's root
/// by name, connects their events to the handlers below and keeps the current
/// combination. Everything is redrawn from that combination by ShowThings.
class ArtController : public QObject
{
    Q_OBJECT

public:
    /// Throws std::logic_error when a control is missing from root.
    ArtController(QWidget *root, const ArtTables &tables, RandomSource &random,
                  QObject *parent = nullptr);
    ~ArtController() override;
    Q_DISABLE_COPY_MOVE(ArtController)

    // --- event handlers --------------------------------------------------------------------
    /// Enter (13) evaluates the box's text and is consumed (KeyAscii becomes 0);
    /// other keys are left alone.
    void txtCode_KeyPress(int Index, int &KeyAscii);
    void cmdRandom_Click(int Index);
    void optC1_Click(int Index);
    void optPair_Click(int Index);
    void picFig1_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, double X, double Y);
    void picFig1_MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, double X, double Y);
    void picFig2_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, double X, double Y);
    void picFig2_MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, double X, double Y);
    void chkMedia_Click();
    void chkPart6_Click();
    /// A click in the General Table list makes the row under the caret the combination
    /// and keeps the list.
    void txtGT_Click();

    // --- procedures ------------------------------------------------------------------------
    /// Repairs and orders Letters in place, stores them and shows them everywhere.
    void CheckLetters(int TPosition, Letters &Letters);
    void ShowThings(int TPosition);
    void Show3rd();
    void ShowTexts();
    void AddGT(const QString &s1, const QString &s2, const QString &s3,
               const QString &s4 = QString());

    /// While held, the evacuation page and the General Table are not written, only the figures;
    /// releasing writes what they would have shown. The window holds them until its first paint.
    void holdHiddenPages() { m_holdHidden = true; }
    void releaseHiddenPages();

    // --- state -----------------------------------------------------------------------------
    const Letters &CodeLetters() const { return m_codeLetters; }
    const Letters &LetterFigure() const { return m_letterFigure; }
    const Letters &SortedLetters() const { return m_sortedLetters; }
    /// Both pairs of the evacuation page, [0],[1] and [2],[3].
    const std::array<qint16, 4> &PairLetter() const { return m_pairLetter; }
    const QString &LastGTCode() const { return m_lastGTCode; }
    int TPosition() const { return m_tPosition; }
    /// True once a combination has been stored.
    bool hasCombination() const { return m_codeLetters[0] != 0; }

private:
    void connectControls();
    void drawMarkers();
    void drawFourthFigure();
    void showDefinition(QLabel *label, const QString &text);

    const ArtTables &m_tables;
    RandomSource &m_random;

    std::array<QLineEdit *, 3> m_txtCode{};
    std::array<QPushButton *, 3> m_cmdRandom{};
    std::array<QRadioButton *, 4> m_optC1{};
    std::array<QRadioButton *, 2> m_optPair{};
    std::array<QPlainTextEdit *, 2> m_txt3a{};
    std::array<QPlainTextEdit *, 2> m_txtDef{};
    std::array<QPlainTextEdit *, 2> m_txtRules{};
    QPlainTextEdit *m_txtMedia = nullptr;
    QPlainTextEdit *m_txtPart6 = nullptr;
    QCheckBox *m_chkMedia = nullptr;
    QCheckBox *m_chkPart6 = nullptr;
    QPlainTextEdit *m_txtGT = nullptr;
    std::array<QLineEdit *, 3> m_txtPrinciple{};
    std::array<QPlainTextEdit *, 3> m_txtDefinition{};
    std::array<QPlainTextEdit *, 3> m_txtQDef{};
    std::array<QLineEdit *, 3> m_txtS{};
    std::array<QLineEdit *, 3> m_txtVirtue{};
    std::array<QLineEdit *, 3> m_txtVice{};
    std::array<PictureBox *, 4> m_picFig{};
    QLabel *m_lblFig1 = nullptr;
    QLabel *m_lblFig2 = nullptr;

    Letters m_codeLetters{};
    Letters m_letterFigure{};
    Letters m_sortedLetters{};
    std::array<qint16, 4> m_pairLetter{};
    QString m_lastGTCode;
    int m_tPosition = 0;
    bool m_holdHidden = false;
    bool m_hiddenStale = false;
};

} // namespace velmora
