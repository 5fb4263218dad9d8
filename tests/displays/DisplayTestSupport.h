// The effect with its editor open off-screen, a host at 120 BPM that
// remembers automation, and probes for views rendered on their own.
#pragma once

#include <utility>
#include <vector>

#include "tests/editor/EditorTestSupport.h"
#include "tests/engine_chain/ChainTestSupport.h"

namespace displays {

using namespace VSTGUI;

inline std::vector<std::pair<VstInt32, float>> automated;

inline VstIntPtr fakeHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    if (opcode == audioMasterAutomate) automated.emplace_back(index, opt);
    return chain::fakeHost(effect, opcode, index, value, ptr, opt);
}

// Untouched pixels stay transparent.
struct Picture {
    guitest::BitmapPtr bitmap;
    CColor at(int x, int y) const { return bitmap->getPixel(x, y); }
    std::vector<int> columnsOf(CColor color, int y, int from, int to) const {
        std::vector<int> found;
        for (int x = from; x < to; ++x)
            if (at(x, y) == color) found.push_back(x);
        return found;
    }
    int rowsOf(CColor color, int x, int from, int to) const {
        int count = 0;
        for (int y = from; y < to; ++y) count += at(x, y) == color;
        return count;
    }
};

inline Picture render(CView& view) { return {guitest::BitmapPtr(renderToBitmap(view))}; }

struct Panel : editortest::EffectWithEditor {
    explicit Panel(bool big150 = false) : EffectWithEditor(big150 ? "Y" : nullptr, nullptr, fakeHost) {
        automated.clear();
        chain::setTransport(false);
        EXPECT_NE(openOffscreen(), nullptr);
    }
    ~Panel() { editor->close(); }
    void set(VstInt32 index, float value) { plugin->setParameter(index, value); }
    void run(std::size_t frames, float level) { chain::render(*plugin, chain::Stereo(frames, level)); }
};

}  // namespace displays
