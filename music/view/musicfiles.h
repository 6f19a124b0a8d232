#pragma once

#include "music/core/midirecorder.h"

#include <QObject>
#include <QString>

class QAction;
class QStatusBar;
class QWidget;

namespace velmora {

class MidiModule;
class Preferences;

/// The File menu's music commands: "Record Music..." records what the music sends into a
/// Standard MIDI File, "Render MIDI File to Audio..." turns a MIDI file into a WAV, FLAC or Ogg
/// file. What must not interrupt goes to the status bar; what the user must know (a recording
/// that could not be written where asked) comes in a message box.
class MusicFiles : public QObject
{
    Q_OBJECT

public:
    /// record must be checkable. fallbackFolder takes a recording that cannot be written where
    /// the user asked, so that none is ever lost.
    MusicFiles(QWidget *window, MidiModule &midi, Preferences &prefs, QStatusBar *status,
               QAction *record, QAction *render, QString fallbackFolder);
    ~MusicFiles() override;

    /// Checked: asks for a .mid file and records from now on. Unchecked: writes the recording.
    void mnuFileRecord_Click(bool checked);
    void mnuFileRenderAudio_Click();
    /// The window closes: a recording under way is written.
    void finish();

    bool isRecording() const { return m_recorder.isRecording(); }
    QString recordingTarget() const { return m_target; }

private:
    void stopRecording();
    void showStatus(const QString &text);
    void setRecordChecked(bool checked);

    QWidget *m_window;
    MidiModule &m_midi;
    Preferences &m_prefs;
    QStatusBar *m_status;
    QAction *m_record;
    QString m_fallbackFolder;
    MidiRecorder m_recorder;
    QString m_target;
};

} // namespace velmora
