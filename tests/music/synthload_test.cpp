#include "music/midi/fluidlibrary.h"
#include "music/midi/synthoutput.h"
#include "musictestsupport.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace velmora;

struct LibraryCase
{
    const char *name;
    const char *file;
    const char *errorMentions; // empty: the library opens
};

class FluidLibraryOpening : public testing::TestWithParam<LibraryCase>
{};

// The library opens with every function, or not at all: one that lacks a function (here the C
// library) is as unusable as one that is not there.
TEST_P(FluidLibraryOpening, EveryFunctionOrNone)
{
    const LibraryCase &c = GetParam();
    const FluidLibrary library(c.file);
    const bool opens = *c.errorMentions == '\0';
    EXPECT_EQ(library.isLoaded(), opens);
    EXPECT_TRUE(library.errorString().contains(QLatin1String(c.errorMentions)))
        << library.errorString().toStdString();
    EXPECT_EQ(library.errorString().isEmpty(), opens);
    EXPECT_EQ(library.new_fluid_settings != nullptr, opens);
    EXPECT_EQ(library.fluid_event_program_change != nullptr, opens);
}

INSTANTIATE_TEST_SUITE_P(
    Files, FluidLibraryOpening,
    testing::Values(LibraryCase{"TheProgramsOwn", FluidLibrary::kFileName, ""},
                    LibraryCase{"NotInstalled", "libfluidsynth-absent.so.9", "absent"},
                    LibraryCase{"WithoutTheFunctions", "libc.so.6", "new_fluid_settings"}),
    [](const auto &info) { return std::string(info.param.name); });

// Without FluidSynth the synthesiser takes messages and says why it is silent, loading in the
// background (the window's case, open until closed) or at once (file sinks: open() fails).
TEST(FluidLibrary, WithoutItTheSynthesiserIsSilentAndSaysWhy)
{
    const FluidLibrary absent("libfluidsynth-absent.so.9");
    for (const bool background : {true, false}) {
        SynthOutput synth(SynthOutput::Sink::Memory);
        synth.setLibrary(&absent);
        synth.setLoadInBackground(background);
        EXPECT_EQ(synth.open(), background);
        synth.send(packShortMessage(kNoteOn, 60, 100));
        synth.waitUntilReady();
        EXPECT_EQ(synth.render(100), 0.0f);
        EXPECT_TRUE(synth.errorString().contains(QLatin1String("unavailable")))
            << synth.errorString().toStdString();
        // Open in the background until it is closed, so the status line names what to install.
        if (background) {
            EXPECT_TRUE(synth.inaudibleReason().contains(QLatin1String("libfluidsynth3")))
                << synth.inaudibleReason().toStdString();
        }
        synth.close();
    }
}

// A held load waits for its release, then plays what it was sent meanwhile; closed while still
// held, it never loads at all.
TEST(SynthOutput, AHeldLoadBeginsWhenReleasedAndIsDroppedWhenClosedFirst)
{
    VELMORA_SKIP_WITHOUT_SOUNDFONT();
    for (const bool releaseFirst : {true, false}) {
        std::atomic<bool> began{false};
        SynthOutput synth(SynthOutput::Sink::Memory);
        synth.setLoadInBackground(true);
        synth.setBeforeLoad([&] { began = true; });
        synth.holdLoad();
        ASSERT_TRUE(synth.open());
        synth.send(packShortMessage(kNoteOn, 60, 100));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(began) << "loading before the release";
        if (releaseFirst) {
            synth.releaseLoad();
            for (int i = 0; i < 500 && !began; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            EXPECT_TRUE(began) << "the release did not start the load";
            synth.waitUntilReady();
            EXPECT_GT(synth.render(300), 0.01f) << "the note sent while held is silent";
        }
        synth.close();
        EXPECT_EQ(began, releaseFirst);
    }
}
