// The state a host stores with its project, and the preset list.
#include <cstring>

#include "tests/au/AuTestSupport.h"

namespace {

CFPropertyListRef saved(AuHost& host) {
    CFPropertyListRef state = nullptr;
    EXPECT_EQ(getProperty(host.unit(), kAudioUnitProperty_ClassInfo, state), noErr);
    return state;
}

const void* entry(CFPropertyListRef state, const char* key) {
    CFStringRef name = CFStringCreateWithCString(nullptr, key, kCFStringEncodingUTF8);
    const void* value = CFDictionaryGetValue(static_cast<CFDictionaryRef>(state), name);
    CFRelease(name);
    return value;
}

void replace(CFPropertyListRef state, const char* key, CFTypeRef value) {
    CFStringRef name = CFStringCreateWithCString(nullptr, key, kCFStringEncodingUTF8);
    CFDictionarySetValue(static_cast<CFMutableDictionaryRef>(const_cast<void*>(state)), name, value);
    CFRelease(name);
    CFRelease(value);
}

CFNumberRef number(SInt32 value) { return CFNumberCreate(nullptr, kCFNumberSInt32Type, &value); }

std::vector<float> values(AuHost& host) {
    std::vector<float> all;
    for (UInt32 i = 0; i < kNumParameters; ++i) all.push_back(host.parameter(i));
    return all;
}

TEST_F(AuTest, CompleteDataKeepsNameAndBigEndianValues) {
    auto host = openUnit();
    host->setParameter(Param::WetVolume, 0.75f);
    CFPropertyListRef state = saved(*host);
    auto data = static_cast<CFDataRef>(entry(state, "mCompleteData"));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(entry(state, "mChunkData"), nullptr);
    ASSERT_EQ(CFDataGetLength(data), 2028);
    const UInt8* bytes = CFDataGetBytePtr(data);
    const UInt8* wet = bytes + 28 + 4 * Param::WetVolume;
    EXPECT_EQ((wet[0] << 24) | (wet[1] << 16) | (wet[2] << 8) | wet[3], 0x3F400000);  // 0.75f, most significant first
    SInt32 preset = -1;
    EXPECT_TRUE(CFNumberGetValue(static_cast<CFNumberRef>(entry(state, "mCurPreset")), kCFNumberSInt32Type, &preset));
    EXPECT_EQ(preset, 0);

    // A name longer than the field keeps its first 27 characters.
    std::vector<UInt8> renamed(bytes, bytes + 2028);
    std::memcpy(renamed.data(), "Thirty characters of a name!!", 28);
    replace(state, "mCompleteData", CFDataCreate(nullptr, renamed.data(), 2028));
    auto target = openUnit();
    ASSERT_EQ(setProperty(target->unit(), kAudioUnitProperty_ClassInfo, state), noErr);
    CFRelease(state);
    state = saved(*target);
    const UInt8* again = CFDataGetBytePtr(static_cast<CFDataRef>(entry(state, "mCompleteData")));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(again)), "Thirty characters of a name");
    EXPECT_EQ(again[27], 0);
    EXPECT_EQ(target->parameter(Param::WetVolume), 0.75f);
    CFRelease(state);
}

TEST_F(AuTest, StateMovesEveryValueToANewInstance) {
    auto source = openUnit(Entry::Factory);
    for (UInt32 i = 0; i < 36; ++i) source->setParameter(i, 0.03f * static_cast<float>(i));
    source->setParameter(300, 0.625f);
    CFPropertyListRef state = saved(*source);

    auto target = openUnit();
    EXPECT_NE(values(*target), values(*source));
    EXPECT_EQ(setProperty(target->unit(), kAudioUnitProperty_ClassInfo, state), noErr);
    const std::vector<float> restored = values(*target), original = values(*source);
    // A program never arrives with the trigger pressed; everything else does.
    for (UInt32 i = 0; i < kNumParameters; ++i) {
        if (i == Param::ReverseTrigger) continue;
        EXPECT_EQ(restored[i], original[i]) << i;
    }
    CFRelease(state);
}

TEST_F(AuTest, ForeignOrBrokenStatesAreRefusedAndChangeNothing) {
    auto source = openUnit();
    source->setParameter(Param::WetVolume, 0.1f);
    auto target = openUnit();
    const std::vector<float> before = values(*target);

    const std::pair<const char*, SInt32> wrong[] = {
        {"subtype", 0x41424344}, {"manufacturer", 0x41424344}, {"type", 0x61756678}, {"version", 1}, {"mCurPreset", 1},
        {"mCurPreset", -1}};
    for (auto [key, value] : wrong) {
        CFPropertyListRef state = saved(*source);
        replace(state, key, number(value));
        EXPECT_EQ(setProperty(target->unit(), kAudioUnitProperty_ClassInfo, state), kAudioUnitErr_InvalidPropertyValue)
            << key;
        EXPECT_EQ(values(*target), before) << key;
        CFRelease(state);
    }
    CFPropertyListRef state = saved(*source);
    replace(state, "mChunkData", CFDataCreate(nullptr, nullptr, 0));
    EXPECT_EQ(setProperty(target->unit(), kAudioUnitProperty_ClassInfo, state), kAudioUnitErr_InvalidPropertyValue);
    CFRelease(state);
    const CFPropertyListRef none = nullptr;
    EXPECT_EQ(setProperty(target->unit(), kAudioUnitProperty_ClassInfo, none), kAudioUnitErr_InvalidPropertyValue);
    EXPECT_EQ(values(*target), before);

    // Complete data one byte short: reported, the programs stay as they were.
    state = saved(*source);
    std::vector<UInt8> shortData(2027, 0);
    replace(state, "mCompleteData", CFDataCreate(nullptr, shortData.data(), 2027));
    ::testing::internal::CaptureStderr();
    setProperty(target->unit(), kAudioUnitProperty_ClassInfo, state);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Fatal error, preset Size wrong!\n");
    EXPECT_EQ(target->parameter(Param::WetVolume), before[Param::WetVolume]);
    CFRelease(state);
}

TEST_F(AuTest, OneFactoryPresetNamedAfterTheProgram) {
    auto host = openUnit();
    ASSERT_EQ(host->initialize(), noErr);
    CFArrayRef presets = nullptr;
    ASSERT_EQ(getProperty(host->unit(), kAudioUnitProperty_FactoryPresets, presets), noErr);
    ASSERT_EQ(CFArrayGetCount(presets), 1);
    const auto* first = static_cast<const AUPreset*>(CFArrayGetValueAtIndex(presets, 0));
    EXPECT_EQ(first->presetNumber, 0);
    EXPECT_EQ(text(first->presetName), "Default");
    CFRelease(presets);
    const AUPreset missing{5, nullptr};
    EXPECT_EQ(setProperty(host->unit(), kAudioUnitProperty_PresentPreset, missing), kAudioUnitErr_InvalidPropertyValue);
    const AUPreset zero{0, nullptr};
    EXPECT_EQ(setProperty(host->unit(), kAudioUnitProperty_PresentPreset, zero), noErr);
    AUPreset present{};
    EXPECT_EQ(getProperty(host->unit(), kAudioUnitProperty_PresentPreset, present), noErr);
    EXPECT_EQ(text(present.presetName), "Default");
    CFRelease(present.presetName);
}

}  // namespace
