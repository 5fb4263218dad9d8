// The editor base and the file selector: what the host's editor calls reach,
// and the dialog the selector would run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "GuiTestSupport.h"
#include "gui/AEffGUIEditor.h"
#include "gui/CNewFileSelector.h"
#include "gui/CView.h"

using namespace VSTGUI;
using namespace guitest;

namespace {

struct TestEditor : AEffGUIEditor {
    MouseProbe* probe = new MouseProbe(CRect(0, 0, 50, 50));
    KeyHook hook;

    TestEditor() : AEffGUIEditor(nullptr) {
        rect = {0, 0, 641, 1100};
        frame = new CFrame(CRect(0, 0, 1100, 641), this);
        frame->addView(probe);
        frame->registerKeyboardHook(&hook);
    }
};

}  // namespace

TEST(EditorBase, HostCallsReachTheFrame) {
    TestEditor editor;  // its frame is closed by the base destructor
    ERect* rect = nullptr;
    ASSERT_TRUE(editor.getRect(&rect));
    EXPECT_EQ(rect->right, 1100);
    EXPECT_EQ(rect->bottom, 641);
    EXPECT_FALSE(editor.getRect(nullptr));

    // The hook's answer becomes the host's: taken or not.
    VstKeyCode up{0, VKEY_UP, 0};
    AEffEditor& asHostSeesIt = editor;
    editor.hook.answer = 1;
    EXPECT_TRUE(asHostSeesIt.onKeyDown(up));
    editor.hook.answer = -1;
    EXPECT_FALSE(asHostSeesIt.onKeyDown(up));
    EXPECT_EQ(editor.hook.downs, 2);

    // The host's wheel lands where the mouse was last seen.
    EXPECT_FALSE(editor.onWheel(1.f));
    CPoint where(10, 10);
    editor.getFrame()->onMouseMoved(where, 0);
    EXPECT_TRUE(editor.onWheel(1.f));
    EXPECT_EQ(editor.probe->wheel, 1.f);

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
    EXPECT_EQ(save->dialogArguments(),
              (std::vector<std::string>{"zenity", "--file-selection", "--title=Save ECS", "--save",
                                        "--confirm-overwrite", "--filename=/home/u/ECS/setup.ecs",
                                        "--file-filter=ecs | *.ecs", "--file-filter=All files | *"}));
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
