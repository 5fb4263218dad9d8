// libFuzzer target for the state chunk: arbitrary bytes and sizes handed to
// effSetChunk of one effect object, as a host that restores chunks would.
// Whatever arrives, every parameter afterwards reads as a finite 0..1 value.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "plugin/APlugin.h"

namespace {

// Identifies as a host whose chunks the effect accepts, for banks and presets.
VstIntPtr chunkHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterGetVendorString && ptr) std::strcpy(static_cast<char*>(ptr), "Propellerhead Software");
    if (opcode == audioMasterGetProductString && ptr) std::strcpy(static_cast<char*>(ptr), "Reason");
    return 0;
}

AEffect* effect = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Preferences go to a private folder, never the real home.
    std::string folder = (std::filesystem::temp_directory_path() / "tidewalker-fuzz-XXXXXX").string();
    if (!::mkdtemp(folder.data())) std::abort();
    ::setenv("HOME", folder.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (folder + "/data").c_str(), 1);
    effect = createEffectInstance(chunkHost)->getAeffect();
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // First byte: bit 0 preset or bank, bit 1 hand back the effect's own
    // chunk buffer (as hosts do), bit 2 a null pointer. The rest is the chunk.
    const std::uint8_t mode = data[0];
    const auto* body = data + 1;
    const auto bodySize = static_cast<VstInt32>(size - 1);
    const bool isPreset = mode & 1;

    void* chunk = const_cast<std::uint8_t*>(body);
    if (mode & 2) {
        void* own = nullptr;
        const VstIntPtr ownSize = effect->dispatcher(effect, effGetChunk, isPreset, 0, &own, 0.0f);
        if (ownSize <= 0 || !own) std::abort();
        std::memcpy(own, body, std::min<std::size_t>(static_cast<std::size_t>(ownSize), size - 1));
        chunk = own;
    }
    if (mode & 4) chunk = nullptr;
    effect->dispatcher(effect, effSetChunk, isPreset, bodySize, chunk, 0.0f);

    for (VstInt32 i = 0; i < effect->numParams; ++i) {
        const float value = effect->getParameter(effect, i);
        if (!(value >= 0.0f && value <= 1.0f)) std::abort();
    }
    char name[256] = {};
    effect->dispatcher(effect, effGetProgramName, 0, 0, name, 0.0f);
    if (std::strlen(name) >= sizeof(ProgramRecord::name)) std::abort();
    return 0;
}
