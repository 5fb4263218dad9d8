// Programs and chunks as a host meets them: through the loaded module's
// record and dispatcher only.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "effect/VstAbi.h"
#include "tests/platform/PlatformTestSupport.h"

namespace {

const char* hostVendor = "";

VstIntPtr abiHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterGetVendorString && ptr) std::strcpy(static_cast<char*>(ptr), hostVendor);
    if (opcode == audioMasterGetProductString && ptr) std::strcpy(static_cast<char*>(ptr), "Abi Test");
    return 0;
}

class ProgramsAbi : public ::testing::Test {
protected:
    IsolatedHome home;
    void* library = dlopen(TIDEWALKER_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    std::vector<AEffect*> effects;

    void SetUp() override { ASSERT_NE(library, nullptr) << dlerror(); }
    void TearDown() override {
        for (AEffect* e : effects) e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f);
        dlclose(library);
        hostVendor = "";
    }
    AEffect* open(const char* vendor) {
        hostVendor = vendor;
        auto entry = reinterpret_cast<VstPluginMainProc>(dlsym(library, "VSTPluginMain"));
        AEffect* e = entry ? entry(abiHost) : nullptr;
        if (e) effects.push_back(e);
        return e;
    }
    static VstIntPtr dispatch(AEffect* e, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                              void* ptr = nullptr) {
        return e->dispatcher(e, opcode, index, value, ptr, 0.0f);
    }
    static std::string programName(AEffect* e) {
        char text[256] = {};
        dispatch(e, effGetProgramName, 0, 0, text);
        return text;
    }
    // What a host does with a preset it knows only by its values.
    static void loadValues(AEffect* e, const float* values) {
        for (VstInt32 i = 0; i < e->numParams; ++i) e->setParameter(e, i, values[i]);
        dispatch(e, effSetProgram, 0, 0);
    }
};

}  // namespace

TEST_F(ProgramsAbi, ProgramNamesAndIndexedNames) {
    AEffect* e = open("");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(programName(e), "Default");
    char text[64] = "untouched";
    EXPECT_EQ(dispatch(e, effGetProgramNameIndexed, 1, 0, text), 0);
    EXPECT_STREQ(text, "untouched");
    EXPECT_EQ(dispatch(e, effGetProgramNameIndexed, 0, 3, text), 1);
    EXPECT_STREQ(text, "Default");
    EXPECT_EQ(dispatch(e, effGetProgram), 0);
}

TEST_F(ProgramsAbi, UnknownHostsGetNoChunkAndCannotSetOne) {
    AEffect* e = open("Some Vendor");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->flags & effFlagsProgramChunks, 0);
    void* data = nullptr;
    EXPECT_EQ(dispatch(e, effGetChunk, 0, 0, &data), 0);
    EXPECT_EQ(data, nullptr);
    std::vector<float> chunk(508, 1.0f);
    EXPECT_EQ(dispatch(e, effSetChunk, 0, 2032, chunk.data()), 1);
    EXPECT_NE(e->getParameter(e, 4), 1.0f);
}

TEST_F(ProgramsAbi, AChunkMovesTheProgramToAnotherInstance) {
    AEffect* from = open("PROPELLER");
    AEffect* to = open("PROPELLER");
    ASSERT_TRUE(from && to);
    EXPECT_NE(from->flags & effFlagsProgramChunks, 0);

    // The defaults renamed, by their codes, to preset 29; then one edit.
    void* data = nullptr;
    ASSERT_EQ(dispatch(from, effGetChunk, 1, 0, &data), 2032);
    std::vector<float> fromChunk(static_cast<const float*>(data), static_cast<const float*>(data) + 508);
    const char* coded = "Vocal a Duck";
    for (std::size_t i = 0; i < std::strlen(coded); ++i)
        fromChunk[160 + i] = (static_cast<float>(coded[i]) + 0.5f) / 255.99f;
    loadValues(from, fromChunk.data());
    from->setParameter(from, 3, 0.123f);
    EXPECT_EQ(programName(from), "Vocal a Duck");

    ASSERT_EQ(dispatch(from, effGetChunk, 0, 0, &data), 2032);
    EXPECT_EQ(dispatch(to, effSetChunk, 0, 2032, data), 1);
    EXPECT_EQ(programName(to), "Vocal a Duck");
    for (VstInt32 i = 0; i < to->numParams; ++i)
        ASSERT_EQ(to->getParameter(to, i), from->getParameter(from, i)) << i;
}
