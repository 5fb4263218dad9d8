// Programs and chunks as a host meets them: through Tidewalker.so's record.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "effect/VstAbi.h"
#include "tests/platform/PlatformTestSupport.h"

namespace {

const char* vendor = "";

VstIntPtr abiHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
    if (opcode == audioMasterGetVendorString) std::strcpy(static_cast<char*>(ptr), vendor);
    return opcode == audioMasterVersion ? 2400 : 0;
}

VstIntPtr call(AEffect* e, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr) {
    return e->dispatcher(e, opcode, index, value, ptr, 0.0f);
}

}  // namespace

TEST(ProgramsAbi, NamesAndChunksThroughTheRecord) {
    IsolatedHome home;
    void* library = dlopen(TIDEWALKER_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto entry = reinterpret_cast<VstPluginMainProc>(dlsym(library, "VSTPluginMain"));
    AEffect* plain = entry(abiHost);
    vendor = "PROPELLER";
    AEffect* from = entry(abiHost);
    AEffect* to = entry(abiHost);

    char text[64] = "untouched";
    EXPECT_EQ(call(plain, effGetProgramNameIndexed, 1, 0, text), 0);
    EXPECT_EQ(call(plain, effGetProgramNameIndexed, 0, 3, text), 1);
    EXPECT_STREQ(text, "Default");
    void* data = nullptr;
    EXPECT_EQ(call(plain, effGetChunk, 0, 0, &data), 0);
    EXPECT_EQ(plain->flags & effFlagsProgramChunks, 0);
    EXPECT_NE(from->flags & effFlagsProgramChunks, 0);

    // A host restoring preset 29 by its values: the effect knows it by its coded name.
    const char* name = "Vocal a Duck";
    for (int i = 0; name[i]; ++i) from->setParameter(from, 160 + i, (static_cast<float>(name[i]) + 0.5f) / 255.99f);
    call(from, effSetProgram);
    from->setParameter(from, 3, 0.123f);
    ASSERT_EQ(call(from, effGetChunk, 1, 0, &data), 2032);
    EXPECT_EQ(call(to, effSetChunk, 1, 2032, data), 1);
    call(to, effGetProgramName, 0, 0, text);
    EXPECT_STREQ(text, "Vocal a Duck");
    for (VstInt32 i = 0; i < to->numParams; ++i) ASSERT_EQ(to->getParameter(to, i), from->getParameter(from, i)) << i;
    EXPECT_EQ(call(plain, effSetChunk, 0, 2032, data), 1);
    EXPECT_NE(plain->getParameter(plain, 3), 0.123f);

    for (AEffect* e : {plain, from, to}) call(e, effClose);
    vendor = "";
    dlclose(library);
}
