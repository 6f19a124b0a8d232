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

std::unique_ptr<MidiOutput> createMidiOutput(const QString &name, bool holdLoad)
{
    if (name == QLatin1String("alsa"))
        return std::make_unique<AlsaOutput>();
    if (name == QLatin1String("record"))
        return std::make_unique<RecordingOutput>();
    auto synth = std::make_unique<SynthOutput>();
    if (holdLoad)
        synth->holdLoad();
    return synth;
}

QString openMidiOutput(MidiModule &midi, const QString &name, bool holdLoad)
{
    if (midi.replaceOutput(createMidiOutput(name, holdLoad)))
        return midi.output()->kind();
    midi.replaceOutput(createMidiOutput(QStringLiteral("synth"), holdLoad));
    return midi.output()->kind();
}

void releaseMidiOutputLoad(MidiModule &midi)
{
    if (const auto *synth = dynamic_cast<const SynthOutput *>(midi.output()))
        synth->releaseLoad();
}

} // namespace velmora
