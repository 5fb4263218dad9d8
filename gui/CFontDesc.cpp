#include "gui/CFontDesc.h"

namespace VSTGUI {

namespace {
// fontconfig resolves the family; DejaVu Sans is what the install script brings.
constexpr const char* kFamily = "DejaVu Sans";
const CFontDesc veryBig{kFamily, 18};
const CFontDesc big{kFamily, 14};
const CFontDesc normal{kFamily, 12};
const CFontDesc small{kFamily, 11};
const CFontDesc smaller{kFamily, 10};
const CFontDesc verySmall{kFamily, 9};
}  // namespace

const CFontRef kNormalFontVeryBig = &veryBig;
const CFontRef kNormalFontBig = &big;
const CFontRef kNormalFont = &normal;
const CFontRef kNormalFontSmall = &small;
const CFontRef kNormalFontSmaller = &smaller;
const CFontRef kNormalFontVerySmall = &verySmall;

}  // namespace VSTGUI
