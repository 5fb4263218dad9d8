// What the effect tells its editor about a gesture it passes to the host:
// which parameter is being edited, −1 when the gesture ends. The editor
// implements it; the effect knows no more of the editor than this.
#pragma once

#include "effect/VstAbi.h"

class EditorGestureLink {
public:
    virtual void setEditTag(VstInt32 tag) = 0;  // control

protected:
    ~EditorGestureLink() = default;
};
