#include <cstring>

#include "platform/TextHelpers.h"
#include "plugin/APlugin.h"
#include "plugin/EditorGestureLink.h"
#include "plugin/VendorRequests.h"

namespace {

// Room for whatever a host writes; the ABI promises 64 bytes, some hosts write more.
constexpr std::size_t kHostTextBytes = 256;

// The host's mouse-wheel message: index and value as big-endian codes.
constexpr VstInt32 kWheelIndex = fourCharCode("stCA");
constexpr VstInt32 kWheelValue = fourCharCode("Whee");

bool startsWith(const char* text, const char* prefix) noexcept {
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

}  // namespace

void APlugin::identifyHost() {
    char product[kHostTextBytes] = {};
    char vendor[kHostTextBytes] = {};
    getHostProductString(product);
    getHostVendorString(vendor);
    product[kHostTextBytes - 1] = '\0';
    vendor[kHostTextBytes - 1] = '\0';
    upperCase(product);
    upperCase(vendor);

    hostIsKore = startsWith(product, "KORE");
    hostIsMaschine = std::strcmp(product, "MASCHINE HOST") == 0;
    hostIsLumenhall = std::strcmp(product, "LUMENHALL") == 0;
    hostIsVendorProp = startsWith(vendor, "PROP");
    programsAreChunks(hostIsKore || hostIsMaschine || hostIsLumenhall || hostIsVendorProp);
}

bool APlugin::beginEdit(VstInt32 index) {
    if (auto* link = dynamic_cast<EditorGestureLink*>(editor)) link->setEditTag(index);
    return AudioEffectX::beginEdit(index);
}

bool APlugin::endEdit(VstInt32 index) {
    if (auto* link = dynamic_cast<EditorGestureLink*>(editor)) link->setEditTag(-1);
    return AudioEffectX::endEdit(index);
}

VstIntPtr APlugin::vendorSpecific(VstInt32 index, VstIntPtr value, void*, float opt) {
    if (index == kRandomSeedRequest) {
        chain.setRandomSeed(static_cast<std::uint32_t>(value));
        return 1;
    }
    if (index != kWheelIndex || value != kWheelValue || !editor) return 0;
    return editor->onWheel(opt) ? 1 : 0;
}
