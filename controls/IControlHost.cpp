#include "controls/IControlHost.h"

#include "gui/CView.h"
#include "gui/VSTGUIEditorInterface.h"

IControlHost* IControlHost::of(const VSTGUI::CView* view) {
    return view ? dynamic_cast<IControlHost*>(view->getEditor()) : nullptr;
}
