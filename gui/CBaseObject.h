// Shared ownership for views, bitmaps and menus: whoever keeps a pointer
// calls remember(), and forget() when done; the last forget() deletes.
#pragma once

#include <cstdint>

namespace VSTGUI {

class CBaseObject {
public:
    CBaseObject() = default;
    // A copy is a new object with its own single reference.
    CBaseObject(const CBaseObject&) : references(1) {}
    CBaseObject& operator=(const CBaseObject&) = delete;
    virtual ~CBaseObject() = default;

    void remember() { ++references; }  // control
    void forget() {  // control
        if (--references == 0) delete this;
    }
    std::int32_t getNbReference() const { return references; }  // control

private:
    std::int32_t references = 1;
};

}  // namespace VSTGUI
