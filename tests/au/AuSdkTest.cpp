// The platform stand-in's own promises the adapter relies on.
#include <atomic>

#include "tests/au/AuTestSupport.h"

namespace {

std::atomic<int> failuresLeft{0};

// A unit whose construction fails while failuresLeft is positive.
class FragileUnit : public AUBase {
public:
    explicit FragileUnit(AudioComponentInstance instance) : AUBase(instance, 1, 1) {
        if (failuresLeft.fetch_sub(1) > 0) throw CAXException("construct", kAudioUnitErr_FailedInitialization);
    }
    static OSStatus ComponentEntryDispatch(ComponentParameters* parameters, FragileUnit* unit) {
        return AUBase::ComponentEntryDispatch(parameters, unit);
    }
};

ComponentResult fragileEntry(ComponentParameters* parameters, void* storage) {
    return ComponentEntryPoint<FragileUnit>::Dispatch(parameters, static_cast<FragileUnit*>(static_cast<void*>(storage)));
}

TEST(AuSdk, AFailedConstructionReportsItsErrorAndLeavesTheOpenLockFree) {
    const AudioComponentDescription description{0x61756678, 0x66726167, 0x54455354, 0, 0};
    AudioComponent component =
        AudioComponentRegister(&description, nullptr, 1, APFactory<AUBaseLookup, FragileUnit>::Factory);
    for (int round = 0; round < 2; ++round) {
        AudioComponentInstance unit = nullptr;
        failuresLeft = 1;
        EXPECT_EQ(AudioComponentInstanceNew(component, &unit), kAudioUnitErr_FailedInitialization);
        EXPECT_EQ(unit, nullptr);
        failuresLeft = 1;
        EXPECT_EQ(TWOpenComponentInstance(fragileEntry, &description, &unit), kAudioUnitErr_FailedInitialization);
        // Both ways open the next unit: nothing was left locked.
        ASSERT_EQ(AudioComponentInstanceNew(component, &unit), noErr);
        AudioComponentInstanceDispose(unit);
        ASSERT_EQ(TWOpenComponentInstance(fragileEntry, &description, &unit), noErr);
        AudioComponentInstanceDispose(unit);
    }
}

TEST(AuSdk, CollectionsOwnWhatTheyHoldAndNumbersSayWhenTheyDoNotFit) {
    CFStringRef key = CFStringCreateWithCString(nullptr, "k", kCFStringEncodingUTF8);
    const double half = 2.5;
    CFNumberRef value = CFNumberCreate(nullptr, kCFNumberFloat64Type, &half);
    CFMutableDictionaryRef dictionary =
        CFDictionaryCreateMutable(nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    CFDictionarySetValue(dictionary, key, value);
    EXPECT_EQ(CFGetRetainCount(value), 2);
    CFStringRef sameKey = CFStringCreateWithCString(nullptr, "k", kCFStringEncodingUTF8);
    EXPECT_EQ(CFDictionaryGetValue(dictionary, sameKey), value);
    SInt32 whole = 0;
    EXPECT_FALSE(CFNumberGetValue(value, kCFNumberSInt32Type, &whole));
    EXPECT_EQ(whole, 2);
    CFRelease(dictionary);
    EXPECT_EQ(CFGetRetainCount(value), 1);
    char small[2];
    EXPECT_FALSE(CFStringGetCString(key, small, 1, kCFStringEncodingUTF8));
    for (CFTypeRef object : {CFTypeRef(key), CFTypeRef(sameKey), CFTypeRef(value)}) CFRelease(object);
}

}  // namespace
