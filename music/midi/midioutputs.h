#pragma once

#include "music/core/midimodule.h"

#include <QStringList>

#include <memory>

namespace velmora {

/// Names of the outputs a user can choose, the default first: "synth" (the
/// built-in synthesiser) and "alsa" (a sequencer port). "record" exists for
/// tests and is not offered.
QStringList midiOutputNames();

/// The menu text of an output name.
QString midiOutputLabel(const QString &name);

/// A new, unopened output for a name; an unknown name gives the default. holdLoad: the built-in
/// synthesiser loads only once releaseMidiOutputLoad() is called (or something waits for it).
std::unique_ptr<MidiOutput> createMidiOutput(const QString &name, bool holdLoad = false);

/// Opens the named output in midi; when it cannot open, the built-in
/// synthesiser takes its place. Returns the name of the output in use.
QString openMidiOutput(MidiModule &midi, const QString &name, bool holdLoad = false);

/// Lets a held load of midi's output begin: what it was sent meanwhile sounds once it is ready.
void releaseMidiOutputLoad(MidiModule &midi);

} // namespace velmora
