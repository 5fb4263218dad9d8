// What a frame and its views need from the editor that owns them.
#pragma once

#include <cstdint>

namespace VSTGUI {

class CFrame;

class VSTGUIEditorInterface {
public:
    virtual ~VSTGUIEditorInterface() = default;

    // Lets the host breathe during long modal work; nothing to do by default.
    virtual void doIdleStuff() {}  // control
    virtual std::int32_t getKnobMode() const { return 0; }  // control
    // A control with this tag starts / ends a gesture; true when passed on to the host.
    virtual bool beginEdit(std::int32_t /*index*/) { return false; }  // control
    virtual bool endEdit(std::int32_t /*index*/) { return false; }  // control
    virtual CFrame* getFrame() const { return frame; }  // control

protected:
    CFrame* frame = nullptr;
};

}  // namespace VSTGUI
