#include <gtest/gtest.h>

#include "tests/tools/Support.h"
#include "tools/render/AudioFile.h"

namespace render {
namespace {

using namespace testing;

TEST(SoundFileSource, FeedsMonoToBothSidesAndRefusesMoreThanTwoChannels) {
    TempFolder folder;
    writeTestFile(folder.file("mono.wav"), 1, 22050, {0.5f, -0.25f, 0.125f});
    std::string error;
    auto mono = SoundFileSource::open(folder.file("mono.wav"), error);
    ASSERT_TRUE(mono) << error;
    EXPECT_EQ(mono->frames(), 3);
    float left[4] = {}, right[4] = {};
    EXPECT_EQ(mono->read(left, right, 4), 3u);
    EXPECT_EQ(std::pair(left[1], right[1]), std::pair(-0.25f, -0.25f));
    EXPECT_EQ(mono->read(left, right, 4), 0u);

    writeTestFile(folder.file("three.wav"), 3, 44100, std::vector<float>(30, 0.1f));
    EXPECT_FALSE(SoundFileSource::open(folder.file("three.wav"), error));
    EXPECT_NE(error.find("3 channels"), std::string::npos) << error;
}

TEST(AtomicWavWriter, ReplacesTheTargetOnlyOnCommit) {
    TempFolder folder;
    const std::string target = folder.file("out.wav");
    writeTestFile(target, 2, 44100, {0.1f, 0.1f});
    std::string error;
    auto writer = AtomicWavWriter::create(target, 48000.0, "", error);
    ASSERT_TRUE(writer) << error;
    const float left[3] = {0.5f, 1.5f, -2.0f};  // float WAV keeps values past full scale
    const float right[3] = {-0.5f, 0.0f, 0.25f};
    ASSERT_TRUE(writer->write(left, right, 3, error)) << error;
    EXPECT_EQ(readTestFile(target).info.frames, 1);
    ASSERT_EQ(folder.entries().size(), 2u);
    EXPECT_EQ(folder.entries()[0].front(), '.');  // the hidden temporary beside the old result
    ASSERT_TRUE(writer->commit(error)) << error;
    writer.reset();
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"out.wav"});
    EXPECT_EQ(readTestFile(target).interleaved, (std::vector<float>{0.5f, -0.5f, 1.5f, 0.0f, -2.0f, 0.25f}));
}

TEST(AtomicWavWriter, RefusesToReplaceTheInputOrWriteWhereItCannot) {
    TempFolder folder;
    const std::string input = folder.file("in.wav");
    writeTestFile(input, 2, 44100, {0.1f, 0.2f});
    ASSERT_EQ(::symlink(input.c_str(), folder.file("link.wav").c_str()), 0);
    const std::pair<std::string, std::string> refusals[] = {
        {input, "refusing to overwrite"}, {folder.file("link.wav"), "refusing to overwrite"},
        {folder.path + "/./in.wav", "refusing to overwrite"}, {folder.path, "is a folder"},
        {folder.file("no/such/dir/out.wav"), "cannot write"}};
    std::string error;
    for (const auto& [target, message] : refusals) {
        EXPECT_FALSE(AtomicWavWriter::create(target, 44100.0, input, error)) << target;
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
    EXPECT_FALSE(AtomicWavWriter::create(folder.file("odd.wav"), 44100.5, input, error));
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"in.wav", "link.wav"}));
    EXPECT_EQ(readTestFile(input).interleaved.size(), 2u);
}

}  // namespace
}  // namespace render
