// The host against a fake effect module: opening order, callback answers,
// time info, event blocks and trigger presses as the effect sees them, and
// the timeline that schedules them.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "tests/tools/FakeEffectLog.h"
#include "tests/tools/Support.h"
#include "tools/render/PluginHost.h"
#include "tools/render/Render.h"

namespace render {
namespace {

class PluginHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Held open here so the log outlives the host's own dlclose.
        module = ::dlopen(FAKE_EFFECT_PATH, RTLD_NOW);
        ASSERT_NE(module, nullptr) << ::dlerror();
        log = reinterpret_cast<FakeLogProc>(::dlsym(module, "fakeEffectLog"))();
    }
    void TearDown() override { ::dlclose(module); }

    std::unique_ptr<PluginHost> load(double sampleRate, int blockSize) {
        std::string error;
        auto host = PluginHost::load(FAKE_EFFECT_PATH, sampleRate, blockSize, error);
        EXPECT_TRUE(host) << error;
        return host;
    }

    void* module = nullptr;
    FakeLog* log = nullptr;
};

TEST_F(PluginHostTest, AnswersTheEffectFindsItsParametersAndKeepsTheHostOrder) {
    auto host = load(48000.0, 128);
    // version | vendor | product | can do sendVstTimeInfo | can do sizeWindow | sample rate
    EXPECT_EQ(log->hostAnswers, "2400|Tidewalker Project|tidewalker-render|1|0|48000");
    EXPECT_EQ(host->info().effectName, "Fake");
    EXPECT_EQ(fourCharText(host->info().uniqueId), "fAkE");
    EXPECT_EQ(effectFlagNames(effFlagsHasEditor | effFlagsCanReplacing), "HasEditor CanReplacing");
    EXPECT_EQ(host->findParameter("Reverse Trigger"), 1);
    EXPECT_EQ(host->findParameter("2"), 2);
    for (const char* unknown : {"3", "gain", "-1"}) EXPECT_EQ(host->findParameter(unknown), std::nullopt) << unknown;

    host->open();
    host->resume();
    host->reserveEvents(0);
    host->setTime(TransportState{}, 120.0);
    host->sendEvents({}, 0);
    float in[4] = {}, out[4] = {};
    host->process(in, in, out, out, 4);
    host.reset();
    const std::vector<std::pair<VstInt32, VstIntPtr>> expected = {
        {effOpen, 0}, {effSetSampleRate, 0}, {effSetBlockSize, 128}, {effMainsChanged, 1},
        {effProcessEvents, 0}, {effMainsChanged, 0}, {effClose, 0}};
    EXPECT_EQ(log->lifecycle, expected);
    EXPECT_FLOAT_EQ(log->sampleRate, 48000.0f);
}

// A ramp (frame i carries i + 1 left, its negative right) whose header
// overstates its length and that reads in dribbles, as a stream or a damaged
// file may.
class DribblingRamp final : public AudioSource {
public:
    double sampleRate() const override { return 1000.0; }
    std::int64_t frames() const override { return 100000; }
    std::size_t read(float* left, float* right, std::size_t count) override {
        const std::size_t n = std::min<std::size_t>({count, 7, 650 - given});
        for (std::size_t i = 0; i < n; ++i) right[i] = -(left[i] = static_cast<float>(++given));
        return n;
    }

private:
    std::size_t given = 0;
};

TEST_F(PluginHostTest, RenderDeliversSourceTransportTriggersAndMidiPerBlock) {
    DribblingRamp source;
    Options options;
    options.playAtSeconds = 0.25;  // block 2
    options.stopAtSeconds = 0.55;  // block 5
    options.triggerSeconds = {0.31};
    // Out of time order, two at one moment; the last frame of block 0 belongs to it.
    options.controllers = {{0.4, 16, 64, 127}, {0.123, 2, 7, 100}, {0.123, 1, 1, 5}, {0.099, 3, 2, 1}};
    const RenderRequest request{
        .tailFrames = 100, .expectedFrames = 0, .tempo = 90.0, .triggerParameter = 1, .progress = {}, .cancelled = {}};
    auto host = load(1000.0, 100);
    host->open();
    host->resume();
    testing::TempFolder folder;
    std::string error;
    auto writer = AtomicWavWriter::create(folder.file("out.wav"), 1000.0, "", error);
    const RenderResult result = renderBlocks(*host, source, *writer, Timeline(options, 1000.0, 100), request);
    // What the source gave, then the tail.
    EXPECT_EQ(std::pair(result.error, result.framesWritten), std::pair(std::string(), std::int64_t{750}));

    const std::vector<FakeMidi> midi[8] = {{{99, 0xB2, 2, 1}}, {{23, 0xB1, 7, 100}, {23, 0xB0, 1, 5}}, {}, {},
                                       {{0, 0xBF, 64, 127}}};
    constexpr int kTransportFlags = kVstTransportPlaying | kVstTransportChanged | kVstTempoValid | kVstPpqPosValid;
    ASSERT_EQ(log->blocks.size(), 8u);
    for (std::size_t b = 0; b < log->blocks.size(); ++b) {
        const FakeBlock& block = log->blocks[b];
        SCOPED_TRACE(b);
        EXPECT_EQ(block.frames, b == 7 ? 50 : 100);
        ASSERT_TRUE(block.time);
        const int transport =
            (b >= 2 && b < 5 ? kVstTransportPlaying : 0) | (b == 2 || b == 5 ? kVstTransportChanged : 0);
        EXPECT_EQ(block.time->flags & kTransportFlags, transport | kVstTempoValid | kVstPpqPosValid);
        EXPECT_EQ(std::tie(block.time->tempo, block.time->sampleRate), std::tuple(90.0, 1000.0));
        // The transport position moves only while playing.
        const double played = b < 2 ? 0 : b < 5 ? (b - 2) * 100.0 : 300.0;
        EXPECT_DOUBLE_EQ(block.time->samplePos, played);
        EXPECT_DOUBLE_EQ(block.time->ppqPos, played / 1000.0 * 90.0 / 60.0);
        EXPECT_EQ(block.triggered, b == 3);
        // The source ends inside block 6; the tail after it is silence.
        const float first = b < 7 ? static_cast<float>(b * 100 + 1) : 0.0f;
        EXPECT_EQ(block.firstInput, std::pair(first, -first));
        EXPECT_EQ(block.events, midi[b]);
    }
    // An event block goes out before every block, also an empty one.
    EXPECT_EQ(std::ranges::count(log->lifecycle, std::pair<VstInt32, VstIntPtr>(effProcessEvents, 0)), 8);
}

TEST(Timeline, TransportChangeCountsInTheBlockItTakesEffectOnly) {
    const Timeline fromStart(Options{}, 1000.0, 100);
    EXPECT_TRUE(fromStart.transportAt(0).playing && fromStart.transportAt(0).changed);
    EXPECT_FALSE(fromStart.transportAt(1).changed);
    EXPECT_EQ(fromStart.transportAt(3).position, 300);

    // Start and stop in the same block of 100 frames: the transport never plays.
    Options options;
    options.playAtSeconds = 0.21;
    options.stopAtSeconds = 0.29;
    const Timeline blip(options, 1000.0, 100);
    for (std::int64_t block = 0; block < 5; ++block) {
        const TransportState state = blip.transportAt(block);
        EXPECT_FALSE(state.playing || state.changed || state.position != 0) << block;
    }
}

}  // namespace
}  // namespace render
