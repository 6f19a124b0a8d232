#include "music/midi/midioutputs.h"

#include "music/midi/alsaoutput.h"
#include "music/midi/recordingoutput.h"
#include "music/midi/synthoutput.h"

namespace velmora {

QStringList midiOutputNames()
{
    return {QStringLiteral("synth"), QStringLiteral("alsa")};
}

QString midiOutputLabel(const QString &name)
{
    if (name == QLatin1String("alsa"))
        return QStringLiteral("ALSA sequencer port");
    if (name == QLatin1String("record"))
        return QStringLiteral("Recorder");
    return QStringLiteral("Built-in synthesiser");
}

std::unique_ptr<MidiOutput> createMidiOutput(const QString &name)
{
    if (name == QLatin1String("alsa"))
        return std::make_unique<AlsaOutput>();
    if (name == QLatin1String("record"))
        return std::make_unique<RecordingOutput>();
    return std::make_unique<SynthOutput>();
}

QString openMidiOutput(MidiModule &midi, const QString &name)
{
    if (midi.replaceOutput(createMidiOutput(name)))
        return midi.output()->kind();
    midi.replaceOutput(createMidiOutput(QStringLiteral("synth")));
    return midi.output()->kind();
}

} // namespace velmora
