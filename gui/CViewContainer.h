// A view that holds other views, draws them in order (last on top) and hands
// mouse events to the topmost one under the pointer.
#pragma once

#include <vector>

#include "gui/CColor.h"
#include "gui/CView.h"

namespace VSTGUI {

class CViewContainer : public CView {
public:
    explicit CViewContainer(const CRect& size);
    CViewContainer(const CViewContainer&) = delete;
    CViewContainer& operator=(const CViewContainer&) = delete;
    ~CViewContainer() override;

    // Takes over the caller's reference. False (and nothing taken) for null
    // or a view that already has a parent.
    virtual bool addView(CView* view);  // control
    // withForget drops the container's reference, which deletes a view no one
    // else remembers. False when view is not a child.
    virtual bool removeView(CView* view, bool withForget = true);  // control
    virtual void removeAll(bool withForget = true);  // control
    bool isChild(const CView* view) const;  // control
    std::int32_t getNbViews() const { return static_cast<std::int32_t>(children.size()); }  // control
    CView* getView(std::int32_t index) const;  // control

    // Filled behind the children when there is no background picture.
    void setBackgroundColor(const CColor& color);  // control
    const CColor& getBackgroundColor() const { return backgroundColor; }  // control

    void draw(CDrawContext* context) override;  // control
    void drawRect(CDrawContext* context, const CRect& updateRect) override;  // control
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;  // control
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;  // control
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;  // control
    CMouseEventResult onMouseCancel() override;  // control
    bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) override;  // control

    void attached(CViewContainer* parent) override;  // control
    void removed(CViewContainer* parent) override;  // control

    // Turns the dirty flags of all views inside into repaint requests.
    void invalidateDirtyViews();  // control

private:
    void drawChildren(CDrawContext* context, const CRect& updateRect);
    void letGo(CView* view, bool withForget);
    // Offers an event to the views under `local`, topmost first, until `offer`
    // says it was taken. Walks a copy: a handler may add or remove views.
    template <typename Offer>
    bool offerToViewsUnder(const CPoint& local, const CButtonState& buttons, Offer offer);

    std::vector<CView*> children;
    CView* mouseDownView = nullptr;
    CColor backgroundColor = kTransparentCColor;
};

}  // namespace VSTGUI
