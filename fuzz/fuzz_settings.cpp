// The settings file: any bytes as the file, and any values as the window writes them.
#include "core/settingsfile.h"
#include "fuzz/fuzzcheck.h"

#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

using namespace velmora;

namespace {

void checkText(const std::optional<QString> &text)
{
    if (!text)
        return;
    FUZZ_CHECK(text->size() <= kMaxSettingsText);
    for (QChar c : *text)
        FUZZ_CHECK(c.unicode() >= 0x20 && c.unicode() != 0x7F && c.unicode() <= 0xFF);
}

void checkIndex(const std::optional<int> &index, int count)
{
    if (index)
        FUZZ_CHECK(*index >= 0 && *index < count);
}

// What a box may hold and still come back unchanged: printable single-byte text that fits.
bool storableAsIs(const QString &text)
{
    if (text.size() > kMaxSettingsText)
        return false;
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.unicode() > 0xFF)
            return false;
    return true;
}

// The file keeps a text with its field separators turned into spaces, or not at all.
void checkKept(const QString &written, const std::optional<QString> &read)
{
    QString expected = written;
    expected.replace(u'\t', u' ').replace(u'\r', u' ').replace(u'\n', u' ');
    if (storableAsIs(expected))
        FUZZ_CHECK(read == expected);
    else if (read) // only characters a single byte cannot hold were replaced, one for one
        FUZZ_CHECK(read->size() == expected.size());
}

SettingsSnapshot completed(const SettingsValues &v)
{
    SettingsSnapshot s;
    s.combination = v.combination.value_or(QString());
    s.speed = v.speed.value_or(QString());
    s.changeIndex = v.changeIndex.value_or(0);
    s.octaveIndex = v.octaveIndex.value_or(0);
    s.jumpUnit = v.jumpUnit.value_or(0);
    s.instrument = v.instrument.value_or(0);
    s.minVolume = v.minVolume.value_or(QString());
    s.maxVolume = v.maxVolume.value_or(QString());
    s.pitch = v.pitch.value_or(QString());
    s.latitude = v.latitude.value_or(QString());
    s.longitude = v.longitude.value_or(QString());
    s.timeZone = v.timeZone.value_or(QString());
    s.yearMode = v.yearMode.value_or(false);
    return s;
}

QString fuzzText(FuzzedDataProvider &fdp)
{
    return QString::fromUtf8(fdp.ConsumeRandomLengthString(300));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The bytes as a file found on disk.
    const SettingsValues read =
        parseSettings(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    checkText(read.combination);
    checkText(read.speed);
    checkText(read.minVolume);
    checkText(read.maxVolume);
    checkText(read.pitch);
    checkText(read.latitude);
    checkText(read.longitude);
    checkText(read.timeZone);
    checkIndex(read.changeIndex, kChangeCount);
    checkIndex(read.octaveIndex, kOctaveCount);
    checkIndex(read.jumpUnit, kJumpUnitCount);
    checkIndex(read.instrument, kInstrumentCount);
    if (read.combination)
        FUZZ_CHECK(!read.combination->trimmed().isEmpty());

    // Whatever was read, once written again, reads back complete and unchanged.
    const SettingsSnapshot snapshot = completed(read);
    const SettingsValues again = parseSettings(formatSettings(snapshot));
    SettingsValues expected = read;
    expected.speed = snapshot.speed;
    expected.changeIndex = snapshot.changeIndex;
    expected.octaveIndex = snapshot.octaveIndex;
    expected.jumpUnit = snapshot.jumpUnit;
    expected.instrument = snapshot.instrument;
    expected.minVolume = snapshot.minVolume;
    expected.maxVolume = snapshot.maxVolume;
    expected.pitch = snapshot.pitch;
    expected.latitude = snapshot.latitude;
    expected.longitude = snapshot.longitude;
    expected.timeZone = snapshot.timeZone;
    expected.yearMode = snapshot.yearMode;
    FUZZ_CHECK(again == expected);

    // The same bytes as values the window writes: no text, however odd, moves another field.
    FuzzedDataProvider fdp(data, size);
    SettingsSnapshot s;
    s.changeIndex = fdp.ConsumeIntegralInRange(0, kChangeCount - 1);
    s.octaveIndex = fdp.ConsumeIntegralInRange(0, kOctaveCount - 1);
    s.jumpUnit = fdp.ConsumeIntegralInRange(0, kJumpUnitCount - 1);
    s.instrument = fdp.ConsumeIntegralInRange(0, kInstrumentCount - 1);
    s.yearMode = fdp.ConsumeBool();
    s.combination = fuzzText(fdp);
    s.speed = fuzzText(fdp);
    s.minVolume = fuzzText(fdp);
    s.maxVolume = fuzzText(fdp);
    s.pitch = fuzzText(fdp);
    s.latitude = fuzzText(fdp);
    s.longitude = fuzzText(fdp);
    s.timeZone = fuzzText(fdp);
    const SettingsValues r = parseSettings(formatSettings(s));
    FUZZ_CHECK(r.changeIndex == s.changeIndex);
    FUZZ_CHECK(r.octaveIndex == s.octaveIndex);
    FUZZ_CHECK(r.jumpUnit == s.jumpUnit);
    FUZZ_CHECK(r.instrument == s.instrument);
    FUZZ_CHECK(r.yearMode == s.yearMode);
    checkKept(s.speed, r.speed);
    checkKept(s.minVolume, r.minVolume);
    checkKept(s.maxVolume, r.maxVolume);
    checkKept(s.pitch, r.pitch);
    checkKept(s.latitude, r.latitude);
    checkKept(s.longitude, r.longitude);
    checkKept(s.timeZone, r.timeZone);
    QString combination = s.combination;
    combination.replace(u'\t', u' ').replace(u'\r', u' ').replace(u'\n', u' ');
    if (storableAsIs(combination) && !combination.trimmed().isEmpty())
        FUZZ_CHECK(r.combination == combination);
    return 0;
}
