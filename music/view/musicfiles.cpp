#include "music/view/musicfiles.h"

#include "core/preferences.h"
#include "music/core/midifile.h"
#include "music/core/midimodule.h"
#include "music/midi/audiorender.h"
#include "toolkit/dialogs.h"
#include "toolkit/messagebox.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QStatusBar>

namespace velmora {

namespace {

const auto kTitle = QStringLiteral("Tarvel's Velmora");
constexpr int kStatusMs = 10000;

QString lengthText(std::chrono::nanoseconds length)
{
    const qint64 seconds = (length.count() + 500'000'000) / 1'000'000'000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

int noteCount(const MidiRecording &recording)
{
    int n = 0;
    for (const auto &m : recording.messages)
        n += (m.packed & 0xF0u) == 0x90u && ((m.packed >> 16) & 0x7Fu) != 0;
    return n;
}

} // namespace

MusicFiles::MusicFiles(QWidget *window, MidiModule &midi, Preferences &prefs, QStatusBar *status,
                       QAction *record, QAction *render, QString fallbackFolder)
    : m_window(window)
    , m_midi(midi)
    , m_prefs(prefs)
    , m_status(status)
    , m_record(record)
    , m_fallbackFolder(std::move(fallbackFolder))
{
    connect(record, &QAction::triggered, this,
            [this](bool checked) { mnuFileRecord_Click(checked); });
    connect(render, &QAction::triggered, this, [this] { mnuFileRenderAudio_Click(); });
}

MusicFiles::~MusicFiles()
{
    finish();
}

void MusicFiles::showStatus(const QString &text)
{
    if (m_status)
        m_status->showMessage(text, kStatusMs);
}

void MusicFiles::setRecordChecked(bool checked)
{
    const QSignalBlocker quiet(m_record);
    m_record->setChecked(checked);
}

void MusicFiles::mnuFileRecord_Click(bool checked)
{
    if (!checked) {
        stopRecording();
        return;
    }
    if (isRecording())
        return;
    QString start = m_prefs.lastRecording();
    if (start.isEmpty())
        start = QDir(QStandardPaths::writableLocation(QStandardPaths::MusicLocation))
                    .filePath(QStringLiteral("Velmora.mid"));
    QString path = askFileName(m_window, {FileDialogRequest::Kind::Save,
                                          QStringLiteral("Record Music"),
                                          start,
                                          {QStringLiteral("MIDI files (*.mid *.midi)")}});
    if (path.isEmpty()) {
        setRecordChecked(false);
        return;
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("mid") && suffix != QLatin1String("midi"))
        path += QStringLiteral(".mid");
    // Better to hear now that the place will not take the file than after the music.
    if (const auto why = checkWritable(path)) {
        setRecordChecked(false);
        messageBox(m_window,
                   QStringLiteral("The music cannot be recorded to %1: %2.")
                       .arg(QDir::toNativeSeparators(path), *why),
                   kTitle);
        return;
    }
    m_target = path;
    m_recorder.start(m_midi);
    setRecordChecked(true);
    showStatus(QStringLiteral("Recording the music to %1").arg(QDir::toNativeSeparators(path)));
}

void MusicFiles::stopRecording()
{
    setRecordChecked(false);
    if (!isRecording())
        return;
    const MidiRecording recording = m_recorder.stop();
    const QByteArray bytes = standardMidiFile(recording);
    const QString target = std::exchange(m_target, QString());
    const auto why = writeFileAtomically(target, bytes);
    if (!why) {
        m_prefs.setLastRecording(target);
        m_prefs.save();
        showStatus(QStringLiteral("Recording saved to %1: %2 notes, %3")
                       .arg(QDir::toNativeSeparators(target))
                       .arg(noteCount(recording))
                       .arg(lengthText(recording.end)));
        return;
    }
    // The place went away while the music played: keep the recording somewhere known.
    const QString kept = QDir(m_fallbackFolder)
                             .filePath(QStringLiteral("Velmora recording %1.mid")
                                           .arg(QDateTime::currentDateTime().toString(
                                               QStringLiteral("yyyy-MM-dd hh-mm-ss"))));
    QDir().mkpath(m_fallbackFolder);
    const auto whyKept = writeFileAtomically(kept, bytes);
    if (!whyKept) {
        m_prefs.setLastRecording(kept);
        m_prefs.save();
        messageBox(m_window,
                   QStringLiteral("The recording could not be written to %1 (%2). It was kept "
                                  "in %3 instead.")
                       .arg(QDir::toNativeSeparators(target), *why, QDir::toNativeSeparators(kept)),
                   kTitle);
    } else {
        messageBox(m_window,
                   QStringLiteral("The recording could not be written to %1 (%2), nor to %3 "
                                  "(%4).")
                       .arg(QDir::toNativeSeparators(target), *why, QDir::toNativeSeparators(kept),
                            *whyKept),
                   kTitle);
    }
}

void MusicFiles::finish()
{
    stopRecording();
}

void MusicFiles::mnuFileRenderAudio_Click()
{
    const QString midi = askFileName(m_window, {FileDialogRequest::Kind::Open,
                                                QStringLiteral("Render MIDI File to Audio"),
                                                m_prefs.lastRecording(),
                                                {QStringLiteral("MIDI files (*.mid *.midi)")}});
    if (midi.isEmpty())
        return;
    const QFileInfo in(midi);
    QString audio = askFileName(
        m_window, {FileDialogRequest::Kind::Save,
                   QStringLiteral("Save the Audio As"),
                   in.dir().filePath(in.completeBaseName() + QStringLiteral(".wav")),
                   {QStringLiteral("WAV audio (*.wav)"), QStringLiteral("FLAC audio (*.flac)"),
                    QStringLiteral("Ogg Vorbis audio (*.ogg)")}});
    if (audio.isEmpty())
        return;
    if (QFileInfo(audio).suffix().isEmpty())
        audio += QStringLiteral(".wav");

    QProgressDialog dialog(QStringLiteral("Rendering %1...").arg(in.fileName()),
                           QStringLiteral("Cancel"), 0, 1000, m_window);
    dialog.setObjectName(QStringLiteral("dlgRenderProgress"));
    dialog.setWindowTitle(QStringLiteral("Render MIDI File to Audio"));
    dialog.setWindowModality(Qt::WindowModal);
    // Shown only for a render that takes longer than a second.
    dialog.setMinimumDuration(1000);
    dialog.setValue(0);
    const RenderResult result = renderMidiToAudio(midi, audio, [&dialog](double done) {
        dialog.setValue(int(done * 1000));
        QCoreApplication::processEvents();
        return !dialog.wasCanceled();
    });
    dialog.reset();
    if (result.cancelled) {
        showStatus(QStringLiteral("Rendering cancelled; no audio file was written."));
    } else if (!result.ok) {
        messageBox(m_window, result.error, kTitle);
    } else {
        const double seconds = double(result.wallTime.count()) / 1e9;
        showStatus(QStringLiteral("Rendered %1: %2 of audio in %3 s")
                       .arg(QDir::toNativeSeparators(audio), lengthText(result.audioLength))
                       .arg(seconds, 0, 'f', 1));
    }
}

} // namespace velmora
