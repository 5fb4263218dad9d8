// The table that the build generates from the drawn pictures, sorted by id.
#pragma once

#include <cstddef>

namespace tidewalker::resources {

struct EmbeddedPicture {
    int id;
    const char* bytes;  // PNG file contents
    std::size_t size;
};

extern const EmbeddedPicture EMBEDDED_PICTURES[];
extern const std::size_t EMBEDDED_PICTURE_COUNT;

}  // namespace tidewalker::resources
