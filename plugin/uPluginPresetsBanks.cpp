// The factory presets. Each one is written as the ways it differs from the
// default sound, in the units its knobs show; the rows are expanded at
// compile time, so FACTORY_PRESETS is constant data in the binary.
#include "plugin/uPluginPresetsBanks.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "plugin/ParameterTable.h"

namespace {

// A throw reached during constant evaluation stops the build, which is how a
// preset with an impossible value is refused.
consteval float unit(double value) {
    if (!(value >= 0.0 && value <= 1.0)) throw "preset value outside 0..1";
    return static_cast<float>(value);
}

// std::log2 is not usable in constant expressions: scale into [1, 2), then
// ln x = 2 atanh((x - 1) / (x + 1)), whose series converges fast there.
consteval double constLog2(double x) {
    if (!(x > 0.0)) throw "log2 of a non-positive value";
    int exponent = 0;
    while (x >= 2.0) { x /= 2.0; ++exponent; }
    while (x < 1.0) { x *= 2.0; --exponent; }
    const double y = (x - 1.0) / (x + 1.0);
    double term = y, sum = 0.0;
    for (int n = 1; n < 80; n += 2) {
        sum += term / n;
        term *= y * y;
    }
    return exponent + 2.0 * sum / 0.693147180559945309417;
}

// Knob positions from what the knobs show.
consteval float dryDb(double db) { return unit(kDryVolumeDb.valueFor(db)); }
consteval float wetDb(double db) { return unit(kWetVolumeDb.valueFor(db)); }
consteval float thresholdDb(double db) { return unit(kThresholdDb.valueFor(db)); }
consteval float rampMs(double ms) { return unit(constLog2(ms + 1.0) / 10.0); }
consteval float offsetMs(double ms) { return unit(constLog2(ms) / REVESE_OFFSET_MAX_TIME_LOG); }
consteval float hz(double frequency) { return unit(constLog2(frequency / 20.0) / 10.0); }
consteval float percent(double amount) { return unit(amount / 100.0); }
consteval float depth(double amount) { return unit((amount + 100.0) / 200.0); }

static_assert(constLog2(3.0) - 1.584962500721156 < 1e-13 && constLog2(3.0) - 1.584962500721156 > -1e-13);
static_assert(hz(20480.0) == 1.0f && rampMs(1023.0) == 1.0f && offsetMs(1.0) == 0.0f);

template <std::size_t N>
consteval int choiceIndex(const char* const (&names)[N], std::string_view name) {
    for (std::size_t i = 0; i < N; ++i)
        if (name == names[i]) return static_cast<int>(i);
    throw "no such choice";
}

// The middle of the values that read as the step, so that a little rounding
// in a host or a file never tips it into the neighbouring step.
consteval float stepCentre(int step, StepShape shape) {
    const double low = std::max(0.0, (step - 0.1) / shape.scale);
    const double high = std::min(1.0, (step + 0.9) / shape.scale);
    return unit((low + high) / 2.0);
}

consteval float rev(std::string_view division) {
    return stepCentre(choiceIndex(_REVERSE_SYNCED_LENGTH_STRING, division), kReverseLengthSteps);
}
consteval float lfo(std::string_view division) {
    return stepCentre(choiceIndex(_LFO_TEMPO_SYNCED_PERIOD_STRING, division), kLfoSpeedSteps);
}
consteval float wave(std::string_view name) {
    return stepCentre(choiceIndex(_LFO_WAVE_STRING, name), kLfoWaveSteps);
}
consteval float phase(std::string_view name) {
    return stepCentre(choiceIndex(_LFO_PHASE_STRING, name), kLfoPhaseSteps);
}

// The bank's own values for two trigger modes (stored presets carry them),
// each refused unless it reads as its mode.
consteval float storedTriggerMode(float value, std::int32_t mode) {
    if (static_cast<std::int32_t>(value * kTriggerModeSteps.scale + 0.1f) != mode) throw "reads as another mode";
    return value;
}
constexpr float TRIGGER_AUDIO = storedTriggerMode(0.033445f, TriggerMode::Audio);
constexpr float TRIGGER_HOST = storedTriggerMode(0.702341f, TriggerMode::Host);

// Names of the families. Shorter than the field, so each ends with a 0 slot.
constexpr std::string_view BANK_DEFAULT = "Factory Default";
constexpr std::string_view BANK_DRUMS = "Factory Drums";
constexpr std::string_view BANK_VOCALS = "Factory Vocals";
constexpr std::string_view BANK_VOICES = "Factory Voices";

// One preset's sound, members in slot order (designated initialisers must
// follow it). The member defaults are the "Default" preset. Tempo sync of
// length, hold and LFO is always on; bypass, mute and the trigger button are
// never stored pressed.
struct Sound {
    float dryVolume = 1.0f;
    float wetVolume = 0.8f;
    float reverseDecay = 0.4004f;
    float reverseAttack = 0.3998f;
    float reverseOffset = 0.0f;
    float reverseLength = 0.55f;
    float triggerThreshold = 0.24f;
    float retriggerHoldTime = 0.55f;
    bool dryMute = false;
    float triggerMode = 0.0f;
    bool filterActive = true;
    float distort = 0.0f;
    float filterFrequency = 1.0f;  // low-pass or comb
    float highPassFrequency = 0.0f;
    float filterQ = 0.0f;  // low-pass Q or comb feedback
    float highPassQ = 0.0f;
    bool lfoActive = true;
    bool lfoTriggered = false;
    float lfoWave = 0.0f;
    float lfoPhase = 1.0f;
    float lfoSpeed = 0.665f;
    float lfoToVolume = 0.5f;
    float lfoToPan = 0.5f;
    float lfoToFilterFrequency = 0.5f;
    float lfoToHighPassFrequency = 0.5f;
    bool combFilter = false;
    float verticalInZoom = 0.25f;
    float verticalOutZoom = 0.25f;
    float reverseZoom = 0.0f;
};

consteval void writeText(FactoryPreset& row, int firstSlot, int maxLength, std::string_view text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(maxLength)) throw "text does not fit";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto code = static_cast<unsigned char>(text[i]);
        if (code == 0) throw "text holds a terminator";
        row[firstSlot + i] = encodePresetChar(code);
    }
}

consteval float reverseBars(float value) {
    const int step = std::min(static_cast<int>(value * kReverseLengthSteps.scale + 0.1f),
                              kReverseLengthSteps.count - 1);
    return REVERSE_SYNCED_LENGTH_ARRAY[step];
}

consteval FactoryPreset preset(std::string_view name, std::string_view bank, const Sound& s) {
    // The engine would drag the hold up to the length anyway; as a division the
    // hold must also last at least as long, or takes would cut each other off.
    if (s.retriggerHoldTime < s.reverseLength ||
        reverseBars(s.retriggerHoldTime) < reverseBars(s.reverseLength))
        throw "retrigger hold shorter than the take";

    FactoryPreset row{};
    row[Param::DryVolume] = s.dryVolume;
    row[Param::WetVolume] = s.wetVolume;
    row[Param::ReverseDecay] = s.reverseDecay;
    row[Param::ReverseAttack] = s.reverseAttack;
    row[Param::ReverseOffset] = s.reverseOffset;
    row[Param::ReverseTempoSync] = 1.0f;
    row[Param::ReverseLength] = s.reverseLength;
    row[Param::ReverseTriggerThreshold] = s.triggerThreshold;
    row[Param::ReverseRetriggerHoldTime] = s.retriggerHoldTime;
    row[Param::DryMute] = s.dryMute ? 1.0f : 0.0f;
    row[Param::ReverseTriggerMode] = s.triggerMode;
    row[Param::FilterActive] = s.filterActive ? 1.0f : 0.0f;
    row[Param::Distort] = s.distort;
    row[Param::FilterFrequency] = s.filterFrequency;
    row[Param::HighPassFilterFrequency] = s.highPassFrequency;
    row[Param::FilterQ] = s.filterQ;
    row[Param::HighPassFilterQ] = s.highPassQ;
    row[Param::LfoActive] = s.lfoActive ? 1.0f : 0.0f;
    row[Param::LfoMode] = s.lfoTriggered ? 1.0f : 0.0f;
    row[Param::LfoWave] = s.lfoWave;
    row[Param::LfoPhase] = s.lfoPhase;
    row[Param::LfoSpeed] = s.lfoSpeed;
    row[Param::LfoTempoSync] = 1.0f;
    row[Param::LfoToVolume] = s.lfoToVolume;
    row[Param::LfoToPan] = s.lfoToPan;
    row[Param::LfoToFilterFrequency] = s.lfoToFilterFrequency;
    row[Param::LfoToHighPassFrequency] = s.lfoToHighPassFrequency;
    row[Param::FilterMode] = s.combFilter ? 1.0f : 0.0f;
    row[Param::ReverseVerticalInZoom] = s.verticalInZoom;
    row[Param::ReverseVerticalOutZoom] = s.verticalOutZoom;
    row[Param::ReverseZoom] = s.reverseZoom;
    writeText(row, PRESET_NAME_SLOT, PRESET_NAME_LENGTH, name);
    writeText(row, PRESET_BANK_NAME_SLOT, PRESET_BANK_NAME_LENGTH, bank);
    return row;
}

consteval bool everyCodeReadsBack() {
    for (int code = 1; code < 256; ++code)
        if (decodePresetChar(encodePresetChar(static_cast<unsigned char>(code))) != code) return false;
    return decodePresetChar(0.0f) == 0;
}
static_assert(everyCodeReadsBack());

}  // namespace

// Drum presets follow the host's transport; vocal and voice presets start a
// take when the singer does. Wet levels sit lower where the dry signal stays
// in, and lower still where drive or resonance adds gain.
constexpr std::array<FactoryPreset, FACTORY_PRESET_COUNT> FACTORY_PRESETS = {{
    // The plain starting point: one-bar reverses triggered by the input.
    preset("Default", BANK_DEFAULT, {}),

    // One-bar reverses through a resonant comb, its pitch and the pan riding the LFO.
    preset("Drums & Perc 01", BANK_DRUMS,
           {.wetVolume = 0.585f, .reverseDecay = 0.0f, .reverseAttack = 0.0f,
            .triggerThreshold = 0.0f, .triggerMode = TRIGGER_HOST, .filterFrequency = 0.565f,
            .highPassFrequency = 0.395f, .filterQ = 0.535f, .lfoSpeed = 0.565f,
            .lfoToPan = 0.665f, .lfoToFilterFrequency = 0.74f, .combFilter = true}),

    // Every beat played backwards one beat late, dry muted: the groove turned inside out.
    preset("Drums & Perc 02", BANK_DRUMS,
           {.reverseDecay = rampMs(2), .reverseAttack = rampMs(5), .reverseLength = rev("1/4"),
            .retriggerHoldTime = rev("1/4"), .dryMute = true, .triggerMode = TRIGGER_HOST,
            .lfoSpeed = lfo("2/1"), .lfoToPan = depth(25)}),

    // Off-beat stutter: each downbeat eighth comes back reversed on the off-beat.
    preset("Drums & Perc 03", BANK_DRUMS,
           {.wetVolume = wetDb(-2), .reverseDecay = rampMs(1), .reverseAttack = rampMs(3),
            .reverseLength = rev("1/8"), .retriggerHoldTime = rev("1/4"),
            .triggerMode = TRIGGER_HOST, .highPassFrequency = hz(180), .lfoWave = wave("Triangle"),
            .lfoSpeed = lfo("1/1"), .lfoToPan = depth(60)}),

    // Half-bar swell into each downbeat, a low-pass opening as it builds.
    preset("Drums & Perc 04", BANK_DRUMS,
           {.wetVolume = wetDb(-3), .reverseDecay = rampMs(3), .reverseAttack = rampMs(180),
            .reverseLength = rev("1/2"), .retriggerHoldTime = rev("1/1"),
            .triggerMode = TRIGGER_HOST, .filterFrequency = hz(700), .filterQ = percent(25),
            .lfoTriggered = true, .lfoWave = wave("Saw Up"), .lfoPhase = phase("0 Deg"),
            .lfoSpeed = lfo("1/1"), .lfoToFilterFrequency = depth(45)}),

    // Eighth-triplet chunks reversed back to back and thrown around the stereo field.
    preset("Drums & Perc 05", BANK_DRUMS,
           {.reverseDecay = rampMs(1), .reverseAttack = rampMs(2), .reverseLength = rev("1/8T"),
            .retriggerHoldTime = rev("1/8T"), .dryMute = true, .triggerMode = TRIGGER_HOST,
            .lfoWave = wave("S&H"), .lfoSpeed = lfo("1/8T"), .lfoToPan = depth(80)}),

    // Dotted-eighth cycle: a three-against-four reverse figure through a resonant band.
    preset("Drums & Perc 06", BANK_DRUMS,
           {.wetVolume = wetDb(-1), .reverseDecay = rampMs(2), .reverseAttack = rampMs(6),
            .reverseLength = rev("1/8*"), .retriggerHoldTime = rev("1/4*"),
            .triggerMode = TRIGGER_HOST, .filterFrequency = hz(3500), .highPassFrequency = hz(300),
            .filterQ = percent(70), .lfoTriggered = true, .lfoWave = wave("Triangle"),
            .lfoPhase = phase("0 Deg"), .lfoSpeed = lfo("1/4*"), .lfoToFilterFrequency = depth(25)}),

    // Sixteenth glitches on every eighth, bouncing hard left and right.
    preset("Drums & Perc 07", BANK_DRUMS,
           {.wetVolume = wetDb(-3), .reverseDecay = rampMs(1), .reverseAttack = 0.0f,
            .reverseLength = rev("1/16"), .retriggerHoldTime = rev("1/8"),
            .triggerMode = TRIGGER_HOST, .lfoWave = wave("Square"), .lfoPhase = phase("0 Deg"),
            .lfoSpeed = lfo("1/4"), .lfoToPan = depth(100)}),

    // Whole bars reversed end to end, dry muted: the loop played backwards, swaying gently.
    preset("Drums & Perc 08", BANK_DRUMS,
           {.reverseDecay = rampMs(8), .reverseAttack = rampMs(10), .reverseLength = rev("1/1"),
            .retriggerHoldTime = rev("1/1"), .dryMute = true, .triggerMode = TRIGGER_HOST,
            .lfoSpeed = lfo("4/1"), .lfoToPan = depth(30)}),

    // Reverse backbeat: beats one and three return reversed, peaking just ahead of two and four.
    preset("Drums & Perc 09", BANK_DRUMS,
           {.wetVolume = wetDb(-2), .reverseDecay = rampMs(2), .reverseAttack = rampMs(4),
            .reverseOffset = offsetMs(25), .reverseLength = rev("1/4"),
            .retriggerHoldTime = rev("1/2"), .triggerMode = TRIGGER_HOST,
            .filterFrequency = hz(6000), .highPassFrequency = hz(120), .lfoActive = false}),

    // Two-bar riser: a bar reversed into the next downbeat, thin at first, full as it lands.
    preset("Drums & Perc 10", BANK_DRUMS,
           {.wetVolume = wetDb(-7), .reverseDecay = rampMs(3), .reverseAttack = rampMs(500),
            .reverseLength = rev("1/1"), .retriggerHoldTime = rev("2/1"),
            .triggerMode = TRIGGER_HOST, .highPassFrequency = hz(900), .lfoTriggered = true,
            .lfoWave = wave("Saw Dn"), .lfoPhase = phase("0 Deg"), .lfoSpeed = lfo("2/1"),
            .lfoToHighPassFrequency = depth(55)}),

    // Quarter-triplet reverses in a lilting half-note-triplet pulse, drifting across the field.
    preset("Drums & Perc 11", BANK_DRUMS,
           {.wetVolume = wetDb(-4), .reverseDecay = rampMs(2), .reverseAttack = rampMs(8),
            .reverseLength = rev("1/4T"), .retriggerHoldTime = rev("1/2T"),
            .triggerMode = TRIGGER_HOST, .lfoTriggered = true, .lfoWave = wave("Triangle"),
            .lfoPhase = phase("0 Deg"), .lfoSpeed = lfo("1/2T"), .lfoToPan = depth(70)}),

    // Lo-fi: the reversed beat driven and band-limited like an old sampler, dry muted.
    preset("Drums & Perc 12", BANK_DRUMS,
           {.wetVolume = wetDb(2), .reverseDecay = rampMs(2), .reverseAttack = rampMs(3),
            .reverseLength = rev("1/4"), .retriggerHoldTime = rev("1/4"), .dryMute = true,
            .triggerMode = TRIGGER_HOST, .distort = percent(45), .filterFrequency = hz(2800),
            .highPassFrequency = hz(220), .filterQ = percent(15), .lfoActive = false}),

    // Dotted-sixteenth skitter through a low-pass that steps to a new colour at random.
    preset("Drums & Perc 13", BANK_DRUMS,
           {.wetVolume = wetDb(-4), .reverseDecay = rampMs(1), .reverseAttack = rampMs(2),
            .reverseLength = rev("1/16*"), .retriggerHoldTime = rev("1/8*"),
            .triggerMode = TRIGGER_HOST, .filterFrequency = hz(4000), .filterQ = percent(60),
            .lfoWave = wave("S&H"), .lfoSpeed = lfo("1/16*"), .lfoToFilterFrequency = depth(30)}),

    // Sub layer: half-bar reverses of only the kick and toms, under the dry groove.
    preset("Drums & Perc 14", BANK_DRUMS,
           {.wetVolume = wetDb(-3), .reverseDecay = rampMs(4), .reverseAttack = rampMs(20),
            .reverseLength = rev("1/2"), .retriggerHoldTime = rev("1/2"),
            .triggerMode = TRIGGER_HOST, .filterFrequency = hz(250), .filterQ = percent(40),
            .lfoActive = false}),

    // Air: eighth reverses of the hats and cymbals only, circling the speakers once a bar.
    preset("Drums & Perc 15", BANK_DRUMS,
           {.wetVolume = wetDb(0), .reverseDecay = rampMs(1), .reverseAttack = rampMs(2),
            .reverseLength = rev("1/8"), .retriggerHoldTime = rev("1/8"),
            .triggerMode = TRIGGER_HOST, .highPassFrequency = hz(3000), .lfoPhase = phase("0 Deg"),
            .lfoSpeed = lfo("1/1"), .lfoToPan = depth(100)}),

    // Suck-back: eighths reversed and pumped up from silence each time, dry muted.
    preset("Drums & Perc 16", BANK_DRUMS,
           {.reverseDecay = rampMs(1), .reverseAttack = 0.0f, .reverseLength = rev("1/8"),
            .retriggerHoldTime = rev("1/8"), .dryMute = true, .triggerMode = TRIGGER_HOST,
            .lfoTriggered = true, .lfoWave = wave("Saw Up"), .lfoPhase = phase("0 Deg"),
            .lfoSpeed = lfo("1/8"), .lfoToVolume = depth(100)}),

    // Half-bars reversed back to back through a slowly sweeping resonant low-pass, dry muted.
    preset("Drums & Perc 17", BANK_DRUMS,
           {.wetVolume = wetDb(-2), .reverseDecay = rampMs(4), .reverseAttack = rampMs(10),
            .reverseLength = rev("1/2"), .retriggerHoldTime = rev("1/2"), .dryMute = true,
            .triggerMode = TRIGGER_HOST, .filterFrequency = hz(1800), .filterQ = percent(85),
            .lfoPhase = phase("0 Deg"), .lfoSpeed = lfo("2/1"), .lfoToFilterFrequency = depth(30)}),

    // Two thirds of each bar reversed across the bar line: a triplet-feel lurch.
    preset("Drums & Perc 18", BANK_DRUMS,
           {.wetVolume = wetDb(-4), .reverseDecay = rampMs(3), .reverseAttack = rampMs(40),
            .reverseLength = rev("1/1T"), .retriggerHoldTime = rev("1/1"),
            .triggerMode = TRIGGER_HOST, .lfoTriggered = true, .lfoWave = wave("Triangle"),
            .lfoPhase = phase("0 Deg"), .lfoSpeed = lfo("1/1"), .lfoToPan = depth(50)}),

    // A reversed bar once every four: a recurring backwards fill.
    preset("Drums & Perc 19", BANK_DRUMS,
           {.wetVolume = wetDb(-2), .reverseDecay = rampMs(5), .reverseAttack = rampMs(60),
            .reverseLength = rev("1/1"), .retriggerHoldTime = rev("4/1"),
            .triggerMode = TRIGGER_HOST, .filterFrequency = hz(9000), .highPassFrequency = hz(100),
            .lfoActive = false}),

    // Sixteenths reversed back to back, dry muted: a granular, shuffling backwards texture.
    preset("Drums & Perc 20", BANK_DRUMS,
           {.reverseDecay = rampMs(1), .reverseAttack = rampMs(1), .reverseLength = rev("1/16"),
            .retriggerHoldTime = rev("1/16"), .dryMute = true, .triggerMode = TRIGGER_HOST,
            .highPassFrequency = hz(60), .lfoWave = wave("Square"), .lfoPhase = phase("0 Deg"),
            .lfoSpeed = lfo("1/4"), .lfoToHighPassFrequency = depth(25)}),

    // Dotted-quarter reverses pulled ahead of the beat by the offset, through a wah-like low-pass.
    preset("Drums & Perc 21", BANK_DRUMS,
           {.wetVolume = wetDb(-4), .reverseDecay = rampMs(3), .reverseAttack = rampMs(15),
            .reverseOffset = offsetMs(60), .reverseLength = rev("1/4*"),
            .retriggerHoldTime = rev("1/2*"), .triggerMode = TRIGGER_HOST,
            .filterFrequency = hz(1500), .filterQ = percent(80), .lfoTriggered = true,
            .lfoPhase = phase("0 Deg"), .lfoSpeed = lfo("1/2*"), .lfoToFilterFrequency = depth(25)}),

    // Dotted ping-pong: eighth reverses on a dotted-eighth grid, alternating sides.
    preset("Drums & Perc 22", BANK_DRUMS,
           {.wetVolume = wetDb(-2), .reverseDecay = rampMs(1), .reverseAttack = rampMs(3),
            .reverseLength = rev("1/8"), .retriggerHoldTime = rev("1/8*"),
            .triggerMode = TRIGGER_HOST, .highPassFrequency = hz(150), .lfoWave = wave("Square"),
            .lfoPhase = phase("0 Deg"), .lfoSpeed = lfo("1/4*"), .lfoToPan = depth(90)}),

    // Three-quarter-bar reverses in a dark, resonant haze behind the dry beat.
    preset("Drums & Perc 23", BANK_DRUMS,
           {.wetVolume = wetDb(-5), .reverseDecay = rampMs(10), .reverseAttack = rampMs(120),
            .reverseLength = rev("1/2*"), .retriggerHoldTime = rev("1/1"),
            .triggerMode = TRIGGER_HOST, .filterFrequency = hz(1100), .highPassFrequency = hz(90),
            .filterQ = percent(85), .lfoSpeed = lfo("4/1"), .lfoToPan = depth(35),
            .lfoToFilterFrequency = depth(15)}),

    // One reversed beat per bar, warmed with a little drive, its filter opening as it plays.
    preset("Drums & Perc 24", BANK_DRUMS,
           {.wetVolume = wetDb(-4), .reverseDecay = rampMs(2), .reverseAttack = rampMs(8),
            .reverseLength = rev("1/4"), .retriggerHoldTime = rev("1/1"),
            .triggerMode = TRIGGER_HOST, .distort = percent(15), .filterFrequency = hz(2200),
            .filterQ = percent(30), .lfoTriggered = true, .lfoWave = wave("Triangle"),
            .lfoPhase = phase("0 Deg"), .lfoSpeed = lfo("1/1"), .lfoToPan = depth(40),
            .lfoToFilterFrequency = depth(30)}),

    // Metallic: reversed beats ringing through a comb tuned near A, the dry beat kept under.
    preset("Drums & Perc Metal 01", BANK_DRUMS,
           {.wetVolume = wetDb(-12), .reverseDecay = rampMs(2), .reverseAttack = rampMs(5),
            .reverseLength = rev("1/4"), .retriggerHoldTime = rev("1/4"),
            .triggerMode = TRIGGER_HOST, .distort = percent(10), .filterFrequency = hz(440),
            .highPassFrequency = hz(150), .filterQ = percent(70), .lfoSpeed = lfo("2/1"),
            .lfoToFilterFrequency = depth(20), .combFilter = true}),

    // Clanging: driven eighth reverses through a high comb that jumps pitch at random.
    preset("Drums & Perc Metal 02", BANK_DRUMS,
           {.dryVolume = dryDb(-3), .wetVolume = wetDb(-17), .reverseDecay = rampMs(1),
            .reverseAttack = rampMs(3), .reverseLength = rev("1/8"),
            .retriggerHoldTime = rev("1/4"), .triggerMode = TRIGGER_HOST, .distort = percent(35),
            .filterFrequency = hz(1200), .highPassFrequency = hz(300), .filterQ = percent(85),
            .lfoWave = wave("S&H"), .lfoSpeed = lfo("1/8"), .lfoToFilterFrequency = depth(40),
            .combFilter = true}),

    // Nasty: crushed sixteenth reverses howling through a low comb, dry muted.
    preset("Drums & Perc Nasty", BANK_DRUMS,
           {.wetVolume = wetDb(-15), .reverseDecay = 0.0f, .reverseAttack = 0.0f,
            .reverseLength = rev("1/16"), .retriggerHoldTime = rev("1/8"), .dryMute = true,
            .triggerMode = TRIGGER_HOST, .distort = percent(85), .filterFrequency = hz(110),
            .highPassFrequency = hz(60), .filterQ = percent(65), .lfoWave = wave("S&H"),
            .lfoSpeed = lfo("1/16"), .lfoToPan = depth(50), .lfoToFilterFrequency = depth(60),
            .combFilter = true}),

    // A clean one-bar reverse of each phrase under the dry vocal: no filter, no LFO.
    preset("Vocal 1bar clean", BANK_VOCALS,
           {.wetVolume = wetDb(-5), .reverseDecay = rampMs(30), .reverseAttack = rampMs(60),
            .reverseLength = rev("1/1"), .triggerThreshold = thresholdDb(-24),
            .retriggerHoldTime = rev("1/1"), .filterActive = false, .lfoActive = false}),

    // Half-bar vocal reverses ducked on every beat and swelling back, like a side-chain pump.
    preset("Vocal a Duck", BANK_VOCALS,
           {.wetVolume = wetDb(-4), .reverseDecay = rampMs(20), .reverseAttack = rampMs(40),
            .reverseLength = rev("1/2"), .triggerThreshold = thresholdDb(-26),
            .retriggerHoldTime = rev("1/2"), .triggerMode = TRIGGER_AUDIO,
            .highPassFrequency = hz(120), .lfoTriggered = true, .lfoWave = wave("Saw Up"),
            .lfoPhase = phase("0 Deg"), .lfoSpeed = lfo("1/4"), .lfoToVolume = depth(90)}),

    // Half-bar reverses through a high-pass sweeping from the chest to the breath and back.
    preset("Vocal HP Move", BANK_VOCALS,
           {.wetVolume = wetDb(-2), .reverseDecay = rampMs(25), .reverseAttack = rampMs(80),
            .reverseLength = rev("1/2"), .triggerThreshold = thresholdDb(-24),
            .retriggerHoldTime = rev("1/1"), .highPassFrequency = hz(400),
            .lfoPhase = phase("0 Deg"), .lfoSpeed = lfo("2/1"), .lfoToHighPassFrequency = depth(35)}),

    // Broken: short driven shards of the voice, random drop-outs and a lurching filter.
    preset("Vocal Kaput", BANK_VOCALS,
           {.dryVolume = dryDb(-6), .wetVolume = wetDb(-10), .reverseDecay = 0.0f,
            .reverseAttack = rampMs(1), .reverseLength = rev("1/8"),
            .triggerThreshold = thresholdDb(-28), .retriggerHoldTime = rev("1/4"),
            .distort = percent(70), .filterFrequency = hz(1800), .highPassFrequency = hz(350),
            .filterQ = percent(60), .lfoWave = wave("S&H"), .lfoSpeed = lfo("1/16"),
            .lfoToVolume = depth(70), .lfoToFilterFrequency = depth(35)}),

    // One-bar reverses swung fully from speaker to speaker every half bar.
    preset("Vocal PanTuber", BANK_VOCALS,
           {.wetVolume = wetDb(-5), .reverseDecay = rampMs(20), .reverseAttack = rampMs(50),
            .reverseLength = rev("1/1"), .triggerThreshold = thresholdDb(-24),
            .retriggerHoldTime = rev("1/1"), .lfoPhase = phase("0 Deg"), .lfoSpeed = lfo("1/2"),
            .lfoToPan = depth(100)}),

    // Granular: sixteenth shards of the voice reversed back to back and scattered, dry muted.
    preset("Vocal Weird 01", BANK_VOCALS,
           {.reverseDecay = rampMs(2), .reverseAttack = rampMs(2), .reverseLength = rev("1/16"),
            .triggerThreshold = thresholdDb(-30), .retriggerHoldTime = rev("1/16"),
            .dryMute = true, .triggerMode = TRIGGER_AUDIO, .filterFrequency = hz(7000),
            .highPassFrequency = hz(250), .lfoWave = wave("S&H"), .lfoSpeed = lfo("1/16"),
            .lfoToPan = depth(40)}),

    // Stutter gate: quarter-triplet reverses chopped into sixteenth slices.
    preset("Vocal Weird 02", BANK_VOCALS,
           {.wetVolume = wetDb(-5), .reverseDecay = rampMs(3), .reverseAttack = rampMs(3),
            .reverseLength = rev("1/4T"), .triggerThreshold = thresholdDb(-26),
            .retriggerHoldTime = rev("1/4T"), .triggerMode = TRIGGER_AUDIO,
            .lfoWave = wave("Square"), .lfoPhase = phase("0 Deg"), .lfoSpeed = lfo("1/8"),
            .lfoToVolume = depth(100)}),

    // Talking wah: half-bar reverses through a resonant low-pass swept every beat.
    preset("Vocal Weird 03", BANK_VOCALS,
           {.dryVolume = dryDb(-4), .wetVolume = wetDb(-10), .reverseDecay = rampMs(20),
            .reverseAttack = rampMs(30),
            .reverseLength = rev("1/2"), .triggerThreshold = thresholdDb(-26),
            .retriggerHoldTime = rev("1/2"), .triggerMode = TRIGGER_AUDIO,
            .filterFrequency = hz(900), .filterQ = percent(90), .lfoWave = wave("Triangle"),
            .lfoSpeed = lfo("1/4"), .lfoToFilterFrequency = depth(25)}),

    // Smear: dotted reverses cut short by a long offset, a high-pass jumping at random.
    preset("Vocal Weird 04", BANK_VOCALS,
           {.wetVolume = wetDb(-7), .reverseDecay = rampMs(40), .reverseAttack = rampMs(15),
            .reverseOffset = offsetMs(180), .reverseLength = rev("1/4*"),
            .triggerThreshold = thresholdDb(-26), .retriggerHoldTime = rev("1/2*"),
            .triggerMode = TRIGGER_AUDIO, .highPassFrequency = hz(300), .lfoWave = wave("S&H"),
            .lfoSpeed = lfo("1/8*"), .lfoToHighPassFrequency = depth(30)}),

    // Ghost: two-bar reverses with very slow swells drifting across the field, dry muted.
    preset("Vocal Weird 05", BANK_VOCALS,
           {.wetVolume = wetDb(2), .reverseDecay = rampMs(250), .reverseAttack = rampMs(1000),
            .reverseLength = rev("2/1"),
            .triggerThreshold = thresholdDb(-30), .retriggerHoldTime = rev("2/1"),
            .dryMute = true, .triggerMode = TRIGGER_AUDIO, .filterFrequency = hz(6000),
            .lfoSpeed = lfo("4/1"), .lfoToPan = depth(60)}),

    // Telephone: driven, band-limited reverses, a voice on a bad line.
    preset("Vocal Weird 06", BANK_VOCALS,
           {.wetVolume = wetDb(-10), .reverseDecay = rampMs(5), .reverseAttack = rampMs(10),
            .reverseLength = rev("1/4"), .triggerThreshold = thresholdDb(-26),
            .retriggerHoldTime = rev("1/2"), .triggerMode = TRIGGER_AUDIO, .distort = percent(45),
            .filterFrequency = hz(3000), .highPassFrequency = hz(700), .filterQ = percent(50),
            .lfoActive = false}),

    // Flanging: reverses through a high comb that sweeps up over each half bar.
    preset("Vocal Weird 07", BANK_VOCALS,
           {.dryVolume = dryDb(-4), .wetVolume = wetDb(-15), .reverseDecay = rampMs(20),
            .reverseAttack = rampMs(30),
            .reverseLength = rev("1/2"), .triggerThreshold = thresholdDb(-26),
            .retriggerHoldTime = rev("1/2"), .triggerMode = TRIGGER_AUDIO,
            .filterFrequency = hz(3000), .highPassFrequency = hz(150), .filterQ = percent(55),
            .lfoTriggered = true, .lfoWave = wave("Saw Up"), .lfoPhase = phase("0 Deg"),
            .lfoSpeed = lfo("1/2"), .lfoToFilterFrequency = depth(60), .combFilter = true}),

    // Falling triplets: eighth-triplet reverses fading and sliding right to left, dry muted.
    preset("Vocal weird 08", BANK_VOCALS,
           {.wetVolume = wetDb(5), .reverseDecay = rampMs(2), .reverseAttack = rampMs(1),
            .reverseLength = rev("1/8T"),
            .triggerThreshold = thresholdDb(-28), .retriggerHoldTime = rev("1/4T"),
            .dryMute = true, .triggerMode = TRIGGER_AUDIO, .lfoTriggered = true,
            .lfoWave = wave("Saw Dn"), .lfoPhase = phase("0 Deg"), .lfoSpeed = lfo("1/4T"),
            .lfoToVolume = depth(80), .lfoToPan = depth(60)}),

    // Random band: a narrow slice of the voice hopping to a new pitch every eighth, dry muted.
    preset("Vocal Weird 09", BANK_VOCALS,
           {.wetVolume = wetDb(0), .reverseDecay = rampMs(3), .reverseAttack = rampMs(3),
            .reverseLength = rev("1/8"), .triggerThreshold = thresholdDb(-28),
            .retriggerHoldTime = rev("1/8"), .dryMute = true, .triggerMode = TRIGGER_AUDIO,
            .filterFrequency = hz(1200), .highPassFrequency = hz(600), .filterQ = percent(80),
            .lfoWave = wave("S&H"), .lfoSpeed = lfo("1/8"), .lfoToFilterFrequency = depth(30),
            .lfoToHighPassFrequency = depth(30)}),

    // Undertow: dotted-bar reverses cut short by a long offset, dark and resonant, pulsing side to side.
    preset("Vocal Weird 10", BANK_VOCALS,
           {.wetVolume = wetDb(-8), .reverseDecay = rampMs(60), .reverseAttack = rampMs(200),
            .reverseOffset = offsetMs(400), .reverseLength = rev("1/1*"),
            .triggerThreshold = thresholdDb(-26), .retriggerHoldTime = rev("2/1"),
            .triggerMode = TRIGGER_AUDIO, .filterFrequency = hz(1000), .filterQ = percent(75),
            .lfoWave = wave("Square"), .lfoPhase = phase("0 Deg"), .lfoSpeed = lfo("1/8"),
            .lfoToPan = depth(70)}),

    // Spoken-word duck: quarter reverses pumped down every eighth, clear of the low end.
    preset("Voice a Duck", BANK_VOICES,
           {.wetVolume = wetDb(-5), .reverseDecay = rampMs(10), .reverseAttack = rampMs(15),
            .reverseLength = rev("1/4"),
            .triggerThreshold = thresholdDb(-24), .retriggerHoldTime = rev("1/4"),
            .triggerMode = TRIGGER_AUDIO, .filterFrequency = hz(8000), .highPassFrequency = hz(200),
            .lfoTriggered = true, .lfoWave = wave("Saw Up"), .lfoPhase = phase("0 Deg"),
            .lfoSpeed = lfo("1/8"), .lfoToVolume = depth(100)}),

    // Robot: the reversed voice buzzing through a comb tuned to 150 Hz, dry muted.
    preset("Voice a Robot", BANK_VOICES,
           {.wetVolume = wetDb(-14), .reverseDecay = rampMs(5), .reverseAttack = rampMs(5),
            .reverseLength = rev("1/4"), .triggerThreshold = thresholdDb(-28),
            .retriggerHoldTime = rev("1/4"), .dryMute = true, .triggerMode = TRIGGER_AUDIO,
            .distort = percent(10), .filterFrequency = hz(150), .highPassFrequency = hz(100),
            .filterQ = percent(80), .lfoActive = false, .combFilter = true}),

    // Mad: fully driven sixteenth reverses, a screaming filter and pan leaping at random.
    preset("Voice Mad", BANK_VOICES,
           {.wetVolume = wetDb(-13), .reverseDecay = 0.0f, .reverseAttack = 0.0f,
            .reverseLength = rev("1/16"), .triggerThreshold = thresholdDb(-32),
            .retriggerHoldTime = rev("1/16"), .dryMute = true, .triggerMode = TRIGGER_AUDIO,
            .distort = percent(100), .filterFrequency = hz(1500), .highPassFrequency = hz(200),
            .filterQ = percent(95), .lfoWave = wave("S&H"), .lfoSpeed = lfo("1/16"),
            .lfoToPan = depth(100), .lfoToFilterFrequency = depth(70)}),
}};

namespace {

consteval bool sameBankName(const FactoryPreset& a, const FactoryPreset& b) {
    for (int i = 0; i < PRESET_BANK_NAME_LENGTH; ++i)
        if (decodePresetChar(a[PRESET_BANK_NAME_SLOT + i]) != decodePresetChar(b[PRESET_BANK_NAME_SLOT + i]))
            return false;
    return true;
}

// A bank name that comes back after another family would make two banks of
// one name; refused at build time along with a wrong FACTORY_BANK_COUNT.
consteval std::array<FactoryBank, FACTORY_BANK_COUNT> bankRuns() {
    std::array<FactoryBank, FACTORY_BANK_COUNT> banks{};
    int bank = 0;
    banks[0] = {0, 1};
    for (int n = 1; n < FACTORY_PRESET_COUNT; ++n) {
        if (sameBankName(FACTORY_PRESETS[n], FACTORY_PRESETS[n - 1])) {
            ++banks[bank].count;
            continue;
        }
        for (int earlier = 0; earlier < n; ++earlier)
            if (sameBankName(FACTORY_PRESETS[n], FACTORY_PRESETS[earlier])) throw "a bank split in two";
        if (++bank >= FACTORY_BANK_COUNT) throw "more banks than FACTORY_BANK_COUNT";
        banks[bank] = {n, 1};
    }
    if (bank != FACTORY_BANK_COUNT - 1) throw "fewer banks than FACTORY_BANK_COUNT";
    return banks;
}

}  // namespace

constexpr std::array<FactoryBank, FACTORY_BANK_COUNT> FACTORY_BANKS = bankRuns();
