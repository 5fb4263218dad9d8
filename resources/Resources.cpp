#include "resources/Resources.h"

#include <algorithm>

#include "resources/EmbeddedPictures.h"

namespace tidewalker::resources {

std::span<const unsigned char> findPicture(int id) noexcept {
    const EmbeddedPicture* begin = EMBEDDED_PICTURES;
    const EmbeddedPicture* end = EMBEDDED_PICTURES + EMBEDDED_PICTURE_COUNT;
    const EmbeddedPicture* found =
        std::lower_bound(begin, end, id, [](const EmbeddedPicture& p, int wanted) { return p.id < wanted; });
    if (found == end || found->id != id) return {};
    return {reinterpret_cast<const unsigned char*>(found->bytes), found->size};
}

}  // namespace tidewalker::resources
