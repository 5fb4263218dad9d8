// An effect object built under a host that names itself as the test wants,
// with the program state a test needs to see.
#pragma once

#include <cstring>
#include <string>

#include "plugin/APlugin.h"
#include "tests/platform/PlatformTestSupport.h"

// What the host callback reports; set before the effect is built.
struct HostIdentity {
    std::string product;
    std::string vendor;
};

inline HostIdentity& reportedHost() {
    static HostIdentity identity;
    return identity;
}

inline VstIntPtr identityHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
    if (opcode == audioMasterVersion) return 2400;
    const std::string* text = opcode == audioMasterGetProductString  ? &reportedHost().product
                              : opcode == audioMasterGetVendorString ? &reportedHost().vendor
                                                                     : nullptr;
    if (!text || !ptr) return 0;
    std::strcpy(static_cast<char*>(ptr), text->c_str());
    return 1;
}

class ProgramsPlugin : public APlugin {
public:
    explicit ProgramsPlugin(const HostIdentity& host = {}) : APlugin((reportedHost() = host, identityHost)) {}
    using APlugin::editedValues;
    using APlugin::factoryIndex;
    using APlugin::hostIsKore;
    using APlugin::hostIsLumenhall;
    using APlugin::hostIsMaschine;
    using APlugin::hostIsVendorProp;
    using APlugin::lockedOffsetValue;
    using APlugin::origValues;
    using APlugin::programChanged;
    using APlugin::programs;

    std::string programName() {
        char text[kVstMaxProgNameLen] = {};
        getProgramName(text);
        return text;
    }
    bool chunksDeclared() { return (getAeffect()->flags & effFlagsProgramChunks) != 0; }
};
