// The built-in synthesiser's stamped messages: each put on FluidSynth's sequencer for the block
// of the sample clock nearest its stamp, by a map between the music clock and the sample clock
// that the sequencer's own readings keep.
#include "music/midi/fluidlibrary.h"
#include "music/midi/synthoutput.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

// The sample clock stands still for this long of the music clock only when the sound device
// stopped asking for audio.
constexpr std::chrono::milliseconds kStalled{500};

// FluidSynth renders 64 frames at a time and hands the sequencer's events to the synthesiser
// before each block: an event starts at the first block whose millisecond has reached its time.
constexpr qint64 kBlockFrames = 64;

// The sequencer's millisecond at the start of a block, reckoned as the synthesiser does.
qint64 blockMs(qint64 block)
{
    return static_cast<qint64>(1000.0 * double(block * kBlockFrames) /
                               double(SynthOutput::kSampleRate));
}

// The block whose start lies nearest to a time of the sample clock.
qint64 nearestBlock(std::chrono::nanoseconds time)
{
    return std::llround(double(time.count()) * SynthOutput::kSampleRate / 1e9 / kBlockFrames);
}

} // namespace

void SynthOutput::sendAt(quint32 packed, std::chrono::nanoseconds due, const MusicClock &clock)
{
    if (!m_open)
        return;
    if (!isReady() || !m_sequencer) {
        send(packed);
        return;
    }
    // The sequencer's tick is the milliseconds the synthesiser has rendered.
    const unsigned int tick = m_fluid->fluid_sequencer_get_tick(m_sequencer);
    const std::chrono::nanoseconds now = clock();
    if (tick != m_lastTick) {
        m_lastTick = tick;
        m_tickMovedAt = now;
        m_stalled = false;
    } else if (now - m_tickMovedAt > kStalled) {
        if (!m_stalled) {
            // The queue would keep growing and burst out whenever the sound came back: it goes,
            // and the synthesiser is brought to the state it was sent, as a new output would be.
            m_stalled = true;
            m_fluid->fluid_sequencer_remove_events(m_sequencer, -1, m_synthDestination, -1);
            for (const quint32 message : m_sent.releaseMessages())
                dispatch(message);
            for (const quint32 message : m_sent.restoreMessages())
                dispatch(message);
            m_clockMap.reset();
            m_lastStamp.reset();
            m_lastBlock = 0;
            m_keyBlocks = {};
        }
        m_sent.apply(packed);
        dispatch(packed);
        return;
    }
    m_sent.apply(packed);
    if (due != m_lastStamp) {
        // Every reading since the last stamp, as far as the ring still holds them.
        const quint32 steps = m_steps.load(std::memory_order_acquire);
        for (quint32 i = steps - m_stepsObserved > kStepRing ? steps - kStepRing : m_stepsObserved;
             i != steps; ++i) {
            const std::chrono::nanoseconds music(
                m_stepMusic[i % kStepRing].load(std::memory_order_relaxed));
            m_clockMap.observe(
                music, music + std::chrono::nanoseconds(
                                   m_stepLead[i % kStepRing].load(std::memory_order_relaxed)));
        }
        m_stepsObserved = steps;
        m_clockMap.observe(now, std::chrono::milliseconds(tick));
        m_lastBlock = std::max(nearestBlock(m_clockMap.toOutput(due)), m_lastBlock);
        m_lastStamp = due;
    }
    qint64 block = m_lastBlock;
    const int status = static_cast<int>(packed & 0xF0u);
    KeyBlocks &key = m_keyBlocks[packed & 0x0Fu][(packed >> 8) & 0x7Fu];
    // FluidSynth 2.3 plays the events of one millisecond in no promised order, so a release
    // goes a block ahead of its stamp (a key released and struck on one beat sounds); and after
    // a strike or release of its key in the same block, a block after it.
    if (status == kNoteOff)
        key.off = block = std::max(block - 1, key.on + 1);
    else if (status == kNoteOn)
        key.on = block = std::max(block, key.off + 1);
    // The sequencer hands an event to the synthesiser while it prepares the block at the event's
    // time, and the synthesiser applies it from the following block: so each goes a block early.
    // Due already: at once, in the order sent.
    const qint64 at = blockMs(block - 1);
    if (at <= qint64(tick) || !schedule(packed, at))
        dispatch(packed);
}

void SynthOutput::stepReached(unsigned int time, fluid_event_t *event, fluid_sequencer_t *seq,
                              void *data)
{
    Q_UNUSED(time);
    auto *self = static_cast<SynthOutput *>(data);
    if (self->m_fluid->fluid_event_get_type(event) != FLUID_SEQ_TIMER)
        return;
    // The sequencer calls this as it prepares a block: its tick has just moved to the block's
    // millisecond. The music clock is the one the last stamp came with (the system's steady
    // clock, which any thread may read, where the sink renders in real time).
    const unsigned int tick = self->m_fluid->fluid_sequencer_get_tick(seq);
    if (const MusicClock *clock = self->m_stepClock.load(std::memory_order_acquire)) {
        const qint64 music = (*clock)().count();
        const quint32 n = self->m_steps.load(std::memory_order_relaxed);
        self->m_stepMusic[n % kStepRing].store(music, std::memory_order_relaxed);
        self->m_stepLead[n % kStepRing].store(qint64(tick) * 1000000 - music,
                                              std::memory_order_relaxed);
        self->m_steps.store(n + 1, std::memory_order_release);
    }
    // The sequencer takes events from its own callbacks: the next reading a while on.
    requestStep(*self->m_fluid, seq, self->m_stepClient, tick + kStepEveryMs);
}

void SynthOutput::requestStep(const FluidLibrary &fluid, fluid_sequencer_t *seq, short client,
                              unsigned int at)
{
    fluid_event_t *event = fluid.new_fluid_event();
    if (!event)
        return;
    fluid.fluid_event_set_source(event, -1);
    fluid.fluid_event_set_dest(event, client);
    fluid.fluid_event_timer(event, nullptr);
    fluid.fluid_sequencer_send_at(seq, event, at, 1);
    fluid.delete_fluid_event(event);
}

bool SynthOutput::schedule(quint32 packed, qint64 at)
{
    const auto [status, channel, key, value] = unpackShortMessage(packed);
    // The sequencer's events take their data bytes as shorts.
    const auto data1 = static_cast<short>(key);
    const auto data2 = static_cast<short>(value);
    fluid_event_t *event = m_fluid->new_fluid_event();
    if (!event)
        return false;
    m_fluid->fluid_event_set_source(event, -1);
    m_fluid->fluid_event_set_dest(event, m_synthDestination);
    bool known = true;
    switch (status) {
    case kNoteOn:
        m_fluid->fluid_event_noteon(event, channel, data1, data2);
        break;
    case kNoteOff:
        m_fluid->fluid_event_noteoff(event, channel, data1);
        break;
    case kControlChange:
        m_fluid->fluid_event_control_change(event, channel, data1, data2);
        break;
    case kProgramChange:
        m_fluid->fluid_event_program_change(event, channel, data1);
        break;
    default:
        known = false;
        break;
    }
    const bool queued =
        known && m_fluid->fluid_sequencer_send_at(m_sequencer, event, static_cast<unsigned int>(at),
                                                  1) == FLUID_OK;
    m_fluid->delete_fluid_event(event);
    return queued;
}

void SynthOutput::dropScheduled()
{
    if (isReady() && m_sequencer)
        m_fluid->fluid_sequencer_remove_events(m_sequencer, -1, m_synthDestination, -1);
}

} // namespace velmora
