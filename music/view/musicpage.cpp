#include "music/view/musicpage.h"

#include "music/core/cycleplayer.h"
#include "toolkit/controls.h"
#include "toolkit/keypress.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace velmora {

namespace {

const char kTag[] = "Tag";

QString tagOf(const QPushButton *button)
{
    return button->property(kTag).toString();
}

} // namespace

MusicPage::MusicPage(QWidget *root, CyclePlayer &player, QObject *parent)
    : QObject(parent)
    , m_player(player)
    , m_instrument(control<QComboBox>(root, QStringLiteral("cmbInstrument")))
    , m_speed(control<QLineEdit>(root, QStringLiteral("txtSpeed")))
    , m_pitch(control<QLineEdit>(root, QStringLiteral("txtPitch")))
    , m_volume{control<QLineEdit>(root, QStringLiteral("txtVolume(0)")),
               control<QLineEdit>(root, QStringLiteral("txtVolume(1)"))}
    , m_octave(control<QComboBox>(root, QStringLiteral("cmbOct")))
    , m_hold(control<QComboBox>(root, QStringLiteral("cmbChange")))
    , m_year(control<QCheckBox>(root, QStringLiteral("chkCHMod")))
    , m_zodiac(control<QPushButton>(root, QStringLiteral("cmdZodiac")))
    , m_days(control<QPushButton>(root, QStringLiteral("cmdDays")))
    , m_harmonic(control<QPushButton>(root, QStringLiteral("cmdCyclusHarmonicus")))
    , m_timer(control<QTimer>(root, QStringLiteral("Timer1")))
    , m_out(root->findChild<QPlainTextEdit *>(QStringLiteral("txtOut")))
{
    for (QPushButton *b : {m_zodiac, m_days, m_harmonic}) {
        if (!b->property(kTag).isValid())
            b->setProperty(kTag, b->text());
    }
    // The music clock must keep its beat; a coarse timer drifts audibly.
    m_timer->setTimerType(Qt::PreciseTimer);

    connect(m_instrument, &QComboBox::activated, this, [this] { cmbInstrument_Click(); });
    connect(m_zodiac, &QPushButton::clicked, this, [this] { cmdZodiac_Click(); });
    connect(m_days, &QPushButton::clicked, this, [this] { cmdDays_Click(); });
    connect(m_harmonic, &QPushButton::clicked, this, [this] { cmdCyclusHarmonicus_Click(); });
    connect(m_timer, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    onEnterKey(m_speed, [this] { txtSpeed_KeyPress(); });
    onEnterKey(m_pitch, [this] { txtPitch_KeyPress(); });
    onEnterKey(m_volume[0], [this] { txtVolume_KeyPress(0); });
    onEnterKey(m_volume[1], [this] { txtVolume_KeyPress(1); });
}

QPushButton *MusicPage::button(CycleButton which) const
{
    switch (which) {
    case CycleButton::Zodiac:
        return m_zodiac;
    case CycleButton::Days:
        return m_days;
    case CycleButton::Harmonic:
        break;
    }
    return m_harmonic;
}

void MusicPage::syncIn()
{
    // The lists and the check box have no handlers of their own: the player
    // reads them afresh each time it runs.
    m_player.setHoldIndex(m_hold->currentIndex());
    m_player.setOctaveSpanText(m_octave->currentText());
    m_player.setYearChecked(m_year->isChecked());
    m_player.setBoxText(MusicBox::Speed, m_speed->text());
    m_player.setBoxText(MusicBox::Pitch, m_pitch->text());
    m_player.setBoxText(MusicBox::MinVolume, m_volume[0]->text());
    m_player.setBoxText(MusicBox::MaxVolume, m_volume[1]->text());
    m_player.clearRewrites();
}

void MusicPage::syncOut()
{
    const std::pair<MusicBox, QLineEdit *> boxes[] = {{MusicBox::Speed, m_speed},
                                                      {MusicBox::Pitch, m_pitch},
                                                      {MusicBox::MinVolume, m_volume[0]},
                                                      {MusicBox::MaxVolume, m_volume[1]}};
    for (const auto &[box, edit] : boxes) {
        if (m_player.boxRewritten(box))
            edit->setText(m_player.boxText(box));
    }
    // The day chord's name changes once an hour; laying the box out anew four times a beat
    // for the same text would cost more than the rest of the tick.
    if (m_out && m_player.boxRewritten(MusicBox::Out) &&
        m_out->toPlainText() != m_player.boxText(MusicBox::Out))
        m_out->setPlainText(m_player.boxText(MusicBox::Out));
    m_player.clearRewrites();

    for (CycleButton which : {CycleButton::Zodiac, CycleButton::Days, CycleButton::Harmonic}) {
        QPushButton *b = button(which);
        b->setText(m_player.isPlaying(which) ? QStringLiteral("Stop") : tagOf(b));
        b->setEnabled(m_player.isButtonEnabled(which));
    }
    if (m_player.pitchBoxEnabled())
        m_pitch->setEnabled(true);

    if (m_timer->interval() != m_player.timerIntervalMs())
        m_timer->setInterval(m_player.timerIntervalMs());
    if (m_player.timerEnabled() && !m_timer->isActive())
        m_timer->start();
    else if (!m_player.timerEnabled() && m_timer->isActive())
        m_timer->stop();
}

void MusicPage::applyStartupValues()
{
    syncIn();
    m_player.applyStartupValues();
    syncOut();
}

void MusicPage::cmbInstrument_Click()
{
    m_player.setInstrument(m_instrument->currentIndex());
}

void MusicPage::cmdZodiac_Click()
{
    syncIn();
    m_player.clickZodiac();
    syncOut();
}

void MusicPage::cmdDays_Click()
{
    syncIn();
    m_player.clickDays();
    syncOut();
}

void MusicPage::cmdCyclusHarmonicus_Click()
{
    syncIn();
    m_player.clickHarmonic();
    syncOut();
}

void MusicPage::Timer1_Timer()
{
    syncIn();
    m_player.tick();
    syncOut();
}

void MusicPage::txtSpeed_KeyPress()
{
    syncIn();
    m_player.enterSpeed();
    syncOut();
}

void MusicPage::txtPitch_KeyPress()
{
    syncIn();
    m_player.enterPitch();
    syncOut();
}

void MusicPage::txtVolume_KeyPress(int index)
{
    syncIn();
    m_player.enterVolume(index);
    syncOut();
}

} // namespace velmora
