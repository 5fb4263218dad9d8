// The editor base and the file selector: what the host's editor calls reach,
// and the dialog the selector would run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "gui/AEffGUIEditor.h"
#include "gui/CFrame.h"
#include "gui/CNewFileSelector.h"
#include "gui/CView.h"

using namespace VSTGUI;

namespace {

struct WheelProbe : CView {
    float turned = 0;
    WheelProbe() : CView(CRect(0, 0, 50, 50)) {}
    bool onWheel(const CPoint&, const float& distance, const CButtonState&) override {
        turned += distance;
        return true;
    }
};

struct TestEditor : AEffGUIEditor, IKeyboardHook {
    WheelProbe* probe = new WheelProbe;
    int keys = 0;

    TestEditor() : AEffGUIEditor(nullptr) {
        rect = {0, 0, 641, 1100};
        frame = new CFrame(CRect(0, 0, 1100, 641), this);
        frame->addView(probe);
        frame->registerKeyboardHook(this);
    }
    std::int32_t onKeyDown(const VstKeyCode& key, CFrame*) override {
        ++keys;
        return key.virt == VKEY_UP ? 1 : -1;
    }
    std::int32_t onKeyUp(const VstKeyCode&, CFrame*) override { return -1; }
};

}  // namespace

TEST(EditorBase, HostCallsReachTheFrame) {
    TestEditor editor;  // its frame is closed by the base destructor
    ERect* rect = nullptr;
    ASSERT_TRUE(editor.getRect(&rect));
    EXPECT_EQ(rect->right, 1100);
    EXPECT_EQ(rect->bottom, 641);
    EXPECT_FALSE(editor.getRect(nullptr));

    VstKeyCode up{0, VKEY_UP, 0}, right{0, VKEY_RIGHT, 0};
    AEffEditor& asHostSeesIt = editor;
    EXPECT_TRUE(asHostSeesIt.onKeyDown(up));
    EXPECT_FALSE(asHostSeesIt.onKeyDown(right));
    EXPECT_EQ(editor.keys, 2);

    // The host's wheel lands where the mouse was last seen.
    EXPECT_FALSE(editor.onWheel(1.f));
    CPoint where(10, 10);
    editor.getFrame()->onMouseMoved(where, 0);
    EXPECT_TRUE(editor.onWheel(1.f));
    EXPECT_EQ(editor.probe->turned, 1.f);

    EXPECT_TRUE(editor.setKnobMode(2));
    EXPECT_EQ(editor.getKnobMode(), 2);
    EXPECT_TRUE(editor.open(reinterpret_cast<void*>(1)));
    EXPECT_TRUE(editor.isOpen());
    editor.close();
    EXPECT_FALSE(editor.isOpen());
}

TEST(FileSelector, AsksZenityWithTitleFolderNameAndFilters) {
    CNewFileSelector* save = CNewFileSelector::create(nullptr, CNewFileSelector::kSelectSaveFile);
    save->setTitle("Save ECS");
    save->setInitialDirectory("/home/u/ECS");
    save->setDefaultSaveName("setup.ecs");
    save->addFileExtension(CFileExtension("ecs", "ecs"));
    const std::vector<std::string> expected{"zenity",
                                            "--file-selection",
                                            "--title=Save ECS",
                                            "--save",
                                            "--confirm-overwrite",
                                            "--filename=/home/u/ECS/setup.ecs",
                                            "--file-filter=ecs | *.ecs",
                                            "--file-filter=All files | *"};
    EXPECT_EQ(save->dialogArguments(), expected);
    save->forget();
}

TEST(FileSelector, WithoutADialogItAnswersAsCancelled) {
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display ? display : "";
    unsetenv("DISPLAY");  // zenity, if installed, cannot show anything
    CNewFileSelector* selector = CNewFileSelector::create();
    EXPECT_FALSE(selector->runModal());
    EXPECT_EQ(selector->getNumSelectedFiles(), 0u);
    EXPECT_EQ(selector->getSelectedFile(0), nullptr);
    selector->forget();
    if (display) setenv("DISPLAY", saved.c_str(), 1);
}
