// The effect object under a host that names itself as a test wants.
#pragma once

#include <cstring>
#include <string>

#include "plugin/APlugin.h"
#include "tests/platform/PlatformTestSupport.h"

inline std::string reportedProduct, reportedVendor;

inline VstIntPtr namedHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
    if (opcode == audioMasterGetProductString) std::strcpy(static_cast<char*>(ptr), reportedProduct.c_str());
    if (opcode == audioMasterGetVendorString) std::strcpy(static_cast<char*>(ptr), reportedVendor.c_str());
    return opcode == audioMasterVersion ? 2400 : 0;
}

class ProgramsPlugin : public APlugin {
public:
    ProgramsPlugin(const std::string& product = "", const std::string& vendor = "")
        : APlugin((reportedProduct = product, reportedVendor = vendor, namedHost)) {}
    using APlugin::factoryIndex;
    using APlugin::lockedOffsetValue;
    using APlugin::origValues;
    using APlugin::programs;

    std::string programName() {
        char text[kVstMaxProgNameLen] = {};
        getProgramName(text);
        return text;
    }
    // Every slot as getParameter reads it.
    std::vector<float> values() {
        std::vector<float> v;
        for (VstInt32 i = 0; i < kNumParameters; ++i) v.push_back(getParameter(i));
        return v;
    }
};
