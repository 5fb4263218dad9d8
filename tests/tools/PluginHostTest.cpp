// The host against a fake effect module: opening order, callback answers,
// time info, event blocks and trigger presses as the effect sees them.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "tests/tools/FakeEffectLog.h"
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

    std::unique_ptr<PluginHost> load(int blockSize = 64) {
        std::string error;
        auto host = PluginHost::load(FAKE_EFFECT_PATH, 48000.0, blockSize, error);
        EXPECT_TRUE(host) << error;
        return host;
    }

    void* module = nullptr;
    FakeLog* log = nullptr;
};

TEST_F(PluginHostTest, AnswersTheEffectWhileItIsBeingBuilt) {
    auto host = load();
    EXPECT_EQ(log->hostVersion, 2400);
    EXPECT_EQ(log->hostVendor, "Tidewalker Project");
    EXPECT_EQ(log->hostProduct, "tidewalker-render");
    EXPECT_EQ(log->canDoTimeInfo, 1);
    EXPECT_EQ(log->canDoUnknown, 0);
    EXPECT_EQ(log->reportedSampleRate, 48000);
    EXPECT_EQ(host->info().effectName, "Fake");
    EXPECT_EQ(fourCharText(host->info().uniqueId), "fAkE");
    EXPECT_EQ(effectFlagNames(effFlagsHasEditor | effFlagsCanReplacing), "HasEditor CanReplacing");
}

TEST_F(PluginHostTest, FollowsTheHostOrderFromOpenToClose) {
    auto host = load(128);
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
    EXPECT_EQ(log->blockSize, 128);
}

TEST_F(PluginHostTest, FindsParametersByReportedNameOrIndex) {
    auto host = load();
    EXPECT_EQ(host->findParameter("Reverse Trigger"), 1);
    EXPECT_EQ(host->findParameter("2"), 2);
    EXPECT_EQ(host->findParameter("3"), std::nullopt);
    EXPECT_EQ(host->findParameter("gain"), std::nullopt);  // names match exactly
    EXPECT_EQ(host->findParameter("-1"), std::nullopt);
    host->setParameter(7, 1.0f);  // out of range: ignored
    host->setParameter(0, 0.25f);
    EXPECT_FLOAT_EQ(host->parameter(0), 0.25f);
}

TEST_F(PluginHostTest, RejectsFilesThatAreNotEffects) {
    std::string error;
    EXPECT_FALSE(PluginHost::load("/nonexistent/Tidewalker.so", 44100.0, 64, error));
    EXPECT_NE(error.find("cannot load"), std::string::npos);
    // A shared object without VSTPluginMain or main.
    EXPECT_FALSE(PluginHost::load("libm.so.6", 44100.0, 64, error));
    EXPECT_NE(error.find("neither VSTPluginMain nor main"), std::string::npos);
}

// A source of a known ramp, so what reaches the effect can be checked.
StereoBuffer ramp(std::size_t frames) {
    StereoBuffer buffer;
    buffer.sampleRate = 1000.0;
    for (std::size_t i = 0; i < frames; ++i) {
        buffer.left.push_back(static_cast<float>(i + 1));
        buffer.right.push_back(-static_cast<float>(i + 1));
    }
    return buffer;
}

TEST_F(PluginHostTest, RenderDeliversTransportTriggersAndMidiPerBlock) {
    std::string error;
    auto host = PluginHost::load(FAKE_EFFECT_PATH, 1000.0, 100, error);
    ASSERT_TRUE(host) << error;
    host->open();
    host->resume();
    host->setParameter(0, 0.5f);

    Options options;
    options.playAtSeconds = 0.25;  // block 2
    options.stopAtSeconds = 0.55;  // block 5
    options.triggerSeconds = {0.31};
    options.controllers = {{0.123, 2, 7, 100}, {0.15, 1, 1, 5}, {0.4, 16, 64, 127}};
    const Timeline timeline(options, 1000.0, 100);
    MemorySource source(ramp(650));
    const std::string path = ::testing::TempDir() + "tidewalker-host-render.wav";
    auto writer = AtomicWavWriter::create(path, 1000.0, "", error);
    ASSERT_TRUE(writer) << error;

    RenderRequest request;
    request.tailFrames = 100;
    request.tempo = 90.0;
    request.triggerParameter = 1;
    const RenderResult result = renderBlocks(*host, source, *writer, timeline, request);
    ASSERT_EQ(result.error, "");
    EXPECT_EQ(result.framesWritten, 750);
    ASSERT_TRUE(writer->commit(error)) << error;
    std::remove(path.c_str());

    ASSERT_EQ(log->blocks.size(), 8u);
    for (std::size_t b = 0; b < log->blocks.size(); ++b) {
        const FakeBlock& block = log->blocks[b];
        SCOPED_TRACE(b);
        EXPECT_EQ(block.frames, b == 7 ? 50 : 100);
        ASSERT_TRUE(block.hadTime);
        const bool playing = b >= 2 && b < 5;
        EXPECT_EQ((block.time.flags & kVstTransportPlaying) != 0, playing);
        EXPECT_EQ((block.time.flags & kVstTransportChanged) != 0, b == 2 || b == 5);
        EXPECT_NE(block.time.flags & kVstTempoValid, 0);
        EXPECT_NE(block.time.flags & kVstPpqPosValid, 0);
        EXPECT_DOUBLE_EQ(block.time.tempo, 90.0);
        EXPECT_DOUBLE_EQ(block.time.sampleRate, 1000.0);
        // The transport position moves only while playing.
        const double played = b < 2 ? 0 : b < 5 ? (b - 2) * 100.0 : 300.0;
        EXPECT_DOUBLE_EQ(block.time.samplePos, played);
        EXPECT_DOUBLE_EQ(block.time.ppqPos, played / 1000.0 * 90.0 / 60.0);
        EXPECT_EQ(block.triggered, b == 3);
        // Input runs on after the tail starts at frame 650: silence there.
        EXPECT_FLOAT_EQ(block.firstInputLeft, b < 7 ? static_cast<float>(b * 100 + 1) : 0.0f);
        EXPECT_FLOAT_EQ(block.firstInputRight, b < 7 ? -static_cast<float>(b * 100 + 1) : 0.0f);
    }
    ASSERT_EQ(log->blocks[1].events.size(), 2u);
    EXPECT_EQ(log->blocks[1].events[0].deltaFrames, 23);
    EXPECT_EQ(static_cast<unsigned char>(log->blocks[1].events[0].midiData[0]), 0xB1);
    EXPECT_EQ(log->blocks[1].events[0].midiData[1], 7);
    EXPECT_EQ(log->blocks[1].events[0].midiData[2], 100);
    EXPECT_EQ(log->blocks[1].events[0].byteSize, static_cast<VstInt32>(sizeof(VstMidiEvent)));
    EXPECT_EQ(log->blocks[1].events[1].deltaFrames, 50);
    ASSERT_EQ(log->blocks[4].events.size(), 1u);
    EXPECT_EQ(static_cast<unsigned char>(log->blocks[4].events[0].midiData[0]), 0xBF);
    EXPECT_EQ(log->blocks[4].events[0].deltaFrames, 0);
    EXPECT_TRUE(log->blocks[0].events.empty());
    // An event block goes out before every block, also an empty one.
    EXPECT_EQ(std::count(log->lifecycle.begin(), log->lifecycle.end(), std::make_pair(VstInt32{effProcessEvents}, VstIntPtr{0})), 8);
}

// A source whose header overstates its length and that reads in dribbles,
// as a stream or a damaged file may.
class DribblingSource final : public AudioSource {
public:
    double sampleRate() const override { return 1000.0; }
    std::int64_t frames() const override { return 100000; }
    std::size_t read(float* left, float* right, std::size_t count) override {
        const std::size_t n = std::min<std::size_t>({count, 7, 330 - given});
        std::fill_n(left, n, 1.0f);
        std::fill_n(right, n, 1.0f);
        given += n;
        return n;
    }

private:
    std::size_t given = 0;
};

TEST_F(PluginHostTest, RenderLengthIsWhatTheSourceGaveAndTheTail) {
    std::string error;
    auto host = PluginHost::load(FAKE_EFFECT_PATH, 1000.0, 64, error);
    ASSERT_TRUE(host) << error;
    host->open();
    host->resume();
    const std::string path = ::testing::TempDir() + "tidewalker-host-dribble.wav";
    auto writer = AtomicWavWriter::create(path, 1000.0, "", error);
    ASSERT_TRUE(writer) << error;
    DribblingSource source;
    RenderRequest request;
    request.tailFrames = 40;
    const RenderResult result = renderBlocks(*host, source, *writer, Timeline(Options{}, 1000.0, 64), request);
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.framesWritten, 370);
    ASSERT_EQ(log->blocks.size(), 6u);  // five full blocks, then 50
    EXPECT_EQ(log->blocks[4].frames, 64);
    EXPECT_EQ(log->blocks[5].frames, 50);
    EXPECT_FLOAT_EQ(log->blocks[5].firstInputLeft, 1.0f);
}

}  // namespace
}  // namespace render
