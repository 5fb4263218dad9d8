// The unit as a host sees it: opening, parameters, properties, formats and
// the effect's host callback.
#include <cmath>
#include <limits>
#include <thread>

#include "tests/au/AuTestSupport.h"

namespace {

AudioUnitParameterInfo infoOf(AudioUnit unit, AudioUnitParameterID id, OSStatus* status = nullptr) {
    AudioUnitParameterInfo info{};
    const OSStatus result = getProperty(unit, kAudioUnitProperty_ParameterInfo, info, kAudioUnitScope_Global, id);
    if (status) *status = result;
    return info;
}

std::string valueText(AudioUnit unit, AudioUnitParameterID id, const float* value, OSStatus* status = nullptr) {
    AudioUnitParameterStringFromValue request{id, value, nullptr};
    const OSStatus result = getProperty(unit, kAudioUnitProperty_ParameterStringFromValue, request);
    if (status) *status = result;
    if (!request.outString) return "<none>";
    std::string shown = text(request.outString);
    CFRelease(request.outString);
    return shown;
}

VstIntPtr callback(AuHost& host, VstInt32 opcode, VstInt32 index = 0, void* ptr = nullptr, float opt = 0.0f) {
    AEffect record{};
    record.resvd1 = reinterpret_cast<VstIntPtr>(&adapterOf(host));
    return AUPLUGIN::AUPLUGINAudioMasterCallback(&record, opcode, index, 0, ptr, opt);
}

struct Heard {
    UInt32 type;
    AudioUnitParameterID id;
    float value;
    std::thread::id thread;
};

void listen(void* user, void*, const AudioUnitEvent* event, UInt64, AudioUnitParameterValue value) {
    static_cast<std::vector<Heard>*>(user)->push_back(
        {event->mEventType, event->mArgument.mParameter.mParameterID, value, std::this_thread::get_id()});
}

TEST_F(AuTest, BothEntriesOpenAUnitWith500NamedParameters) {
    for (Entry entry : {Entry::Factory, Entry::ComponentManager}) {
        auto host = openUnit(entry);
        ASSERT_TRUE(host);
        UInt32 size = 0;
        ASSERT_EQ(AudioUnitGetPropertyInfo(host->unit(), kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0,
                                           &size, nullptr),
                  noErr);
        EXPECT_EQ(size, 500 * sizeof(AudioUnitParameterID));
        std::vector<AudioUnitParameterID> ids(500);
        ASSERT_EQ(AudioUnitGetProperty(host->unit(), kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0,
                                       ids.data(), &size),
                  noErr);
        EXPECT_EQ(ids[499], 499u);

        const AudioUnitParameterInfo wet = infoOf(host->unit(), Param::WetVolume);
        EXPECT_EQ(text(wet.cfNameString), "Wet Volume");
        EXPECT_STREQ(wet.name, "Wet Volume");
        EXPECT_EQ(wet.flags, kAudioUnitParameterFlag_IsReadable | kAudioUnitParameterFlag_IsWritable |
                                 kAudioUnitParameterFlag_IsGlobalMeta | kAudioUnitParameterFlag_HasCFNameString |
                                 kAudioUnitParameterFlag_ValuesHaveStrings);
        EXPECT_EQ(wet.defaultValue, parameterRow(Param::WetVolume).defaultValue);
        EXPECT_EQ(infoOf(host->unit(), Param::DryVolume).defaultValue, parameterRow(Param::DryVolume).defaultValue);
        EXPECT_EQ(text(infoOf(host->unit(), 200).cfNameString), "");  // a free "~~~" slot

        const AudioUnitParameterInfo generic = infoOf(host->unit(), 600);
        EXPECT_EQ(text(generic.cfNameString), "Generic");
        EXPECT_TRUE(generic.flags & kAudioUnitParameterFlag_CFNameRelease);
        EXPECT_FALSE(generic.flags & kAudioUnitParameterFlag_ValuesHaveStrings);
        CFRelease(generic.cfNameString);
        OSStatus status = noErr;
        AudioUnitParameterInfo info{};
        EXPECT_EQ(getProperty(host->unit(), kAudioUnitProperty_ParameterInfo, info, kAudioUnitScope_Input, 3),
                  kAudioUnitErr_InvalidParameter);
        infoOf(host->unit(), 3, &status);
        EXPECT_EQ(status, noErr);
    }
}

TEST_F(AuTest, ValueStringsFormatTheAskedValueWithoutTouchingTheLiveOne) {
    auto host = openUnit();
    const float live = host->parameter(Param::WetVolume);
    const float probe = 0.8f;
    EXPECT_EQ(valueText(host->unit(), Param::WetVolume, &probe), "0dB  ");
    EXPECT_EQ(host->parameter(Param::WetVolume), live);
    const float off = 0.0f;
    EXPECT_EQ(valueText(host->unit(), Param::Mute, &off), "Off  ");
    OSStatus status = noErr;
    valueText(host->unit(), 500, &probe, &status);
    EXPECT_EQ(status, kAudioUnitErr_InvalidParameter);
    CFArrayRef strings = nullptr;
    EXPECT_EQ(getProperty(host->unit(), kAudioUnitProperty_ParameterValueStrings, strings, kAudioUnitScope_Global, 3),
              kAudioUnitErr_InvalidProperty);
}

TEST_F(AuTest, ParametersStoreWhatTheEffectMadeOfThemAndRefuseUnknownIds) {
    auto host = openUnit();
    EXPECT_EQ(host->setParameter(Param::WetVolume, std::numeric_limits<float>::quiet_NaN()), noErr);
    EXPECT_EQ(host->parameter(Param::WetVolume), 0.0f);
    EXPECT_EQ(host->setParameter(Param::Mute, 0.7f), noErr);
    EXPECT_EQ(host->parameter(Param::Mute), 1.0f);
    EXPECT_EQ(host->setParameter(Param::DryVolume, 3.0f), noErr);
    EXPECT_EQ(host->parameter(Param::DryVolume), 1.0f);
    EXPECT_EQ(host->setParameter(500, 0.5f), kAudioUnitErr_InvalidParameter);
    EXPECT_EQ(host->setParameter(0xFFFFFFFF, 0.5f), kAudioUnitErr_InvalidParameter);
}

TEST_F(AuTest, PropertiesAnswerAndRefuseAsHostsExpect) {
    auto host = openUnit();
    AudioUnit unit = host->unit();
    UInt32 value = 7;
    EXPECT_EQ(getProperty(unit, kAudioUnitProperty_InPlaceProcessing, value), noErr);
    EXPECT_EQ(value, 0u);
    EXPECT_EQ(setProperty(unit, kAudioUnitProperty_InPlaceProcessing, value), kAudioUnitErr_PropertyNotWritable);
    EXPECT_EQ(getProperty(unit, 4242, value), kAudioUnitErr_InvalidProperty);
    void* entry = nullptr;
    EXPECT_EQ(getProperty(unit, kAudioUnitProperty_FastDispatch, entry, kAudioUnitScope_Global, 7),
              kAudioUnitErr_InvalidElement);
    EXPECT_EQ(getProperty(unit, kAudioUnitProperty_FastDispatch, entry, kAudioUnitScope_Input,
                          kMusicDeviceMIDIEventSelect),
              noErr);
    EXPECT_EQ(entry, reinterpret_cast<void*>(AUPLUGINMIDIEvent));
    // Too little room, or none, is refused before anything is written.
    UInt16 tiny = 0;
    UInt32 tinySize = sizeof(tiny);
    EXPECT_EQ(AudioUnitGetProperty(unit, kAudioUnitProperty_BypassEffect, 0, 0, &tiny, &tinySize), kAudio_ParamError);
    EXPECT_EQ(AudioUnitGetProperty(unit, kAudioUnitProperty_BypassEffect, 0, 0, &value, nullptr), kAudio_ParamError);
    EXPECT_EQ(AudioUnitSetProperty(unit, kAudioUnitProperty_BypassEffect, 0, 0, nullptr, 4), kAudio_ParamError);

    // Bypass: short values refused; leaving it while initialised resets.
    EXPECT_EQ(AudioUnitSetProperty(unit, kAudioUnitProperty_BypassEffect, 0, 0, &tiny, sizeof(tiny)),
              kAudioUnitErr_InvalidPropertyValue);
    const UInt32 on = 1, off = 0;
    EXPECT_EQ(setProperty(unit, kAudioUnitProperty_BypassEffect, on), noErr);
    EXPECT_EQ(getProperty(unit, kAudioUnitProperty_BypassEffect, value), noErr);
    EXPECT_EQ(value, 1u);
    EXPECT_EQ(setProperty(unit, kAudioUnitProperty_BypassEffect, off), noErr);

    // Sample rates: a 4-byte value is taken and ignored; nonsense and changes
    // under a running unit are refused.
    const Float32 shortRate = 96000.0f;
    EXPECT_EQ(setProperty(unit, kAudioUnitProperty_SampleRate, shortRate), noErr);
    Float64 rate = 0.0;
    EXPECT_EQ(getProperty(unit, kAudioUnitProperty_SampleRate, rate), noErr);
    EXPECT_EQ(rate, 44100.0);
    for (Float64 bad : {0.0, -48000.0, std::nan(""), HUGE_VAL})
        EXPECT_EQ(setProperty(unit, kAudioUnitProperty_SampleRate, bad), kAudioUnitErr_InvalidPropertyValue) << bad;
    EXPECT_EQ(setProperty(unit, kAudioUnitProperty_SampleRate, 48000.0), noErr);
    ASSERT_EQ(host->initialize(), noErr);
    EXPECT_EQ(setProperty(unit, kAudioUnitProperty_SampleRate, 96000.0), kAudioUnitErr_PropertyNotWritable);
    EXPECT_EQ(host->setFormat(96000.0, 2, 2), kAudioUnitErr_PropertyNotWritable);
    Float64 latency = -1.0;
    EXPECT_EQ(getProperty(unit, kAudioUnitProperty_Latency, latency), noErr);
    EXPECT_EQ(latency, 0.0);
}

TEST_F(AuTest, FormatsAndChannelConfigurations) {
    auto host = openUnit();
    CAStreamBasicDescription format(48000.0, 3);
    EXPECT_EQ(setProperty(host->unit(), kAudioUnitProperty_StreamFormat, static_cast<AudioStreamBasicDescription>(format),
                          kAudioUnitScope_Input),
              kAudioUnitErr_FormatNotSupported);
    format = CAStreamBasicDescription(48000.0, 2);
    format.mFormatFlags &= ~kAudioFormatFlagIsNonInterleaved;
    EXPECT_EQ(setProperty(host->unit(), kAudioUnitProperty_StreamFormat, static_cast<AudioStreamBasicDescription>(format),
                          kAudioUnitScope_Input),
              kAudioUnitErr_FormatNotSupported);
    format = CAStreamBasicDescription(48000.0, 2);
    format.mBitsPerChannel = 16;
    format.mFormatFlags = kAudioFormatFlagIsSignedInteger | kAudioFormatFlagIsNonInterleaved;
    EXPECT_EQ(setProperty(host->unit(), kAudioUnitProperty_StreamFormat, static_cast<AudioStreamBasicDescription>(format),
                          kAudioUnitScope_Output),
              kAudioUnitErr_FormatNotSupported);

    EXPECT_EQ(host->setFormat(44100.0, 1, 1), noErr);
    EXPECT_EQ(host->initialize(), kAudioUnitErr_FormatNotSupported);
    for (UInt32 in : {1u, 2u}) {
        auto fresh = openUnit();
        EXPECT_EQ(fresh->setFormat(44100.0, in, 2), noErr);
        EXPECT_EQ(fresh->initialize(), noErr) << in;
    }
    AUChannelInfo table[3] = {};
    EXPECT_EQ(getProperty(host->unit(), kAudioUnitProperty_SupportedNumChannels, table), noErr);
    EXPECT_EQ(table[0].inChannels, 1);
    EXPECT_EQ(table[1].inChannels, 0);
    EXPECT_EQ(table[2].outChannels, 2);
}

TEST_F(AuTest, HostCallbackAnswersTheEffect) {
    auto host = openUnit();
    char product[64] = {};
    for (auto [bundle, expected] : {std::pair{"com.native-instruments.Kore2", "Kore"},
                                    {"com.native-instruments.Maschine2", "Maschine Host"},
                                    {"com.apple.logic10", "Default"}}) {
        TWSetMainBundle(bundle, "1.0");
        EXPECT_EQ(callback(*host, audioMasterGetProductString, 0, product), 1);
        EXPECT_STREQ(product, expected);
    }
    TWSetMainBundle(nullptr, nullptr);
    EXPECT_EQ(callback(*host, audioMasterGetProductString), 0);
    char cap[] = "sizeWindow";
    char idle[] = "supplyIdle";
    char unknown[] = "fly";
    EXPECT_EQ(callback(*host, audioMasterCanDo, 0, cap), 0);
    EXPECT_EQ(callback(*host, audioMasterCanDo, 0, idle), 1);
    EXPECT_EQ(callback(*host, audioMasterCanDo, 0, unknown), 0);
    EXPECT_EQ(callback(*host, audioMasterVersion), 65536);
    EXPECT_EQ(AUPLUGIN::AUPLUGINAudioMasterCallback(nullptr, audioMasterGetSampleRate, 0, 0, nullptr, 0.0f), 44100);

    // Time: no beat callback leaves 120 without the tempo flag; the transport
    // is read even without musical time; a tempo of 0 gives no time at all.
    host->time().offerBeatAndTempo = false;
    host->time().offerMusicalTime = false;
    host->time().playing = true;
    auto* time = reinterpret_cast<VstTimeInfo*>(callback(*host, audioMasterGetTime));
    ASSERT_NE(time, nullptr);
    EXPECT_EQ(time->tempo, 120.0);
    EXPECT_FALSE(time->flags & kVstTempoValid);
    EXPECT_TRUE(time->flags & kVstTransportPlaying);
    EXPECT_FALSE(time->flags & kVstPpqPosValid);
    host->time().offerBeatAndTempo = host->time().offerMusicalTime = true;
    host->time().tempo = 90.0;
    time = reinterpret_cast<VstTimeInfo*>(callback(*host, audioMasterGetTime));
    EXPECT_EQ(time->tempo, 90.0);
    EXPECT_EQ(time->timeSigNumerator, 4);
    EXPECT_TRUE(time->flags & kVstBarsValid);
    host->time().tempo = 0.0;
    EXPECT_EQ(callback(*host, audioMasterGetTime), 0);
}

TEST_F(AuTest, ChangesInsideTheEffectReachTheListenersFromTheMainThread) {
    auto host = openUnit();
    std::vector<Heard> heard;
    AUEventListenerRef listener = nullptr;
    ASSERT_EQ(AUEventListenerCreate(listen, &heard, nullptr, nullptr, 0.0f, 0.0f, &listener), noErr);
    for (UInt32 type : {kAudioUnitEvent_ParameterValueChange, kAudioUnitEvent_BeginParameterChangeGesture}) {
        AudioUnitEvent interest{};
        interest.mEventType = type;
        interest.mArgument.mParameter = {host->unit(), kAUParameterListener_AnyParameter, kAudioUnitScope_Global, 0};
        AUEventListenerAddEventType(listener, nullptr, &interest);
    }
    // An editor edit: the effect reports it through the host callback.
    EXPECT_EQ(callback(*host, audioMasterBeginEdit, Param::WetVolume), 1);
    EXPECT_EQ(callback(*host, audioMasterAutomate, Param::WetVolume, nullptr, 0.25f), 1);
    EXPECT_EQ(callback(*host, audioMasterAutomate, 600, nullptr, 0.25f), 1);  // ignored
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[1].id, static_cast<AudioUnitParameterID>(Param::WetVolume));
    EXPECT_EQ(heard[1].value, 0.25f);

    // A change the effect made itself while rendering (a scheduled value
    // here) is published by the next main-thread pass, from this thread.
    ASSERT_EQ(host->initialize(), noErr);
    std::thread render([&] {
        AudioUnitParameterEvent event{};
        event.parameter = Param::DryVolume;
        event.eventType = kParameterEvent_Immediate;
        event.eventValues.immediate = {0, 0.125f};
        adapterOf(*host).ScheduleParameter(&event, 1);
    });
    render.join();
    heard.clear();
    adapterOf(*host).PublishParameterChanges();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].value, 0.125f);
    EXPECT_EQ(heard[0].thread, std::this_thread::get_id());
    AUListenerDispose(listener);
}

}  // namespace
