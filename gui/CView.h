// The base of everything shown in a frame: a rectangle that draws itself and
// may answer the mouse, wheel and keys.
//
// A view's rectangle is in its parent container's coordinates; mouse points
// handed to a view are in the same coordinates.
#pragma once

#include <cstdint>

#include "gui/CBaseObject.h"
#include "gui/CButtonState.h"
#include "gui/CRect.h"
#include "effect/VstAbi.h"

namespace VSTGUI {

class CBitmap;
class CDrawContext;
class CFrame;
class CViewContainer;
class VSTGUIEditorInterface;

class CView : public CBaseObject {
public:
    explicit CView(const CRect& size);
    // A copy has the same rectangle, flags and background, and no parent.
    CView(const CView& other);
    ~CView() override;

    virtual void draw(CDrawContext* context);  // control
    // Draws the view for a repaint of updateRect and marks it clean.
    virtual void drawRect(CDrawContext* context, const CRect& updateRect);  // control

    virtual CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons);  // control
    virtual CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons);  // control
    virtual CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons);  // control
    // The view was taken away in the middle of a click (removed from its parent).
    virtual CMouseEventResult onMouseCancel();  // control
    // distance: +1 per wheel step away from the user.
    virtual bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons);  // control
    // 1 when the key was used, -1 when not.
    virtual std::int32_t onKeyDown(VstKeyCode& key);  // control
    virtual std::int32_t onKeyUp(VstKeyCode& key);  // control

    // Dirty views are repainted by the frame's next idle.
    virtual void setDirty(bool state = true);  // control
    virtual bool isDirty() const;  // control
    // Asks the frame to repaint this view's rectangle now-ish (next idle).
    virtual void invalid();  // control
    // rect in this view's parent coordinates.
    void invalidRect(const CRect& rect);  // control

    const CRect& getViewSize() const { return size; }  // control
    virtual void setViewSize(const CRect& rect, bool invalidate = true);  // control
    CCoord getWidth() const { return size.getWidth(); }  // control
    CCoord getHeight() const { return size.getHeight(); }  // control
    virtual bool hitTest(const CPoint& where, const CButtonState& buttons) const;  // control

    virtual void setVisible(bool state);  // control
    bool isVisible() const { return visible; }  // control
    virtual void setMouseEnabled(bool state) { mouseEnabled = state; }  // control
    bool getMouseEnabled() const { return mouseEnabled; }  // control

    // The picture drawn behind the view; the view keeps its own reference.
    virtual void setBackground(CBitmap* bitmap);  // control
    CBitmap* getBackground() const { return background; }  // control

    // Called by the container that takes the view in or lets it go.
    virtual void attached(CViewContainer* parent);  // control
    virtual void removed(CViewContainer* parent);  // control
    bool isAttached() const { return parentView != nullptr; }  // control
    CViewContainer* getParentView() const { return parentView; }  // control
    CFrame* getFrame() const { return frame; }  // control
    // The editor of the frame this view is in; null while not in a frame.
    VSTGUIEditorInterface* getEditor() const;  // control
    // Converts a point in this view's parent coordinates to frame coordinates.
    CPoint localToFrame(const CPoint& where) const;  // control

    // A new copy of this view, or null for kinds of views that cannot be copied.
    virtual CView* newCopy() const { return nullptr; }  // control

protected:
    CRect size;
    CBitmap* background = nullptr;

private:
    friend class CFrame;
    CViewContainer* parentView = nullptr;
    CFrame* frame = nullptr;
    bool visible = true;
    bool mouseEnabled = true;
    bool dirty = false;
};

}  // namespace VSTGUI
