#pragma once

#include <QObject>
#include <QPointer>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QWidget;

namespace velmora {

class CyclePlayer;
enum class CycleButton;

/// The music controls of the planets page bound to the cycle player: the
/// handlers of the instrument list, the three cycle buttons, the music clock
/// and the Enter key of the speed, pitch and volume boxes. Every handler hands
/// the current control values to the player, runs it, and shows the result
/// (captions, enabled buttons, rewritten boxes, the clock).
class MusicPage : public QObject
{
    Q_OBJECT

public:
    /// Finds the controls below root by name and connects them; each cycle
    /// button without a "Tag" property gets its caption as its Tag.
    MusicPage(QWidget *root, CyclePlayer &player, QObject *parent = nullptr);

    /// Start-up: limits, velocity and pitch from the boxes, unlimited.
    void applyStartupValues();

    void cmbInstrument_Click();
    void cmdZodiac_Click();
    void cmdDays_Click();
    void cmdCyclusHarmonicus_Click();
    void Timer1_Timer();
    void txtSpeed_KeyPress();
    void txtPitch_KeyPress();
    void txtVolume_KeyPress(int index);

    QTimer *timer() const { return m_timer; }

private:
    void syncIn();
    void syncOut();
    QPushButton *button(CycleButton which) const;

    CyclePlayer &m_player;
    QComboBox *m_instrument;
    QLineEdit *m_speed;
    QLineEdit *m_pitch;
    QLineEdit *m_volume[2];
    QComboBox *m_octave;
    QComboBox *m_hold;
    QCheckBox *m_year;
    QPushButton *m_zodiac;
    QPushButton *m_days;
    QPushButton *m_harmonic;
    QTimer *m_timer;
    QPointer<QPlainTextEdit> m_out;
};

} // namespace velmora
