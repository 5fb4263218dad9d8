// The editor's numbered pictures, embedded in the binary at build time.
// Ids follow the editor's numbering: the 100 % picture id, +1000 for 150 %,
// +2000 for 200 % (10000, 11000, 12000 are the three front-panel backgrounds).
#pragma once

#include <cstddef>
#include <span>

namespace tidewalker::resources {

// any: the PNG bytes of picture `id`, or an empty span when there is no such picture.
std::span<const unsigned char> findPicture(int id) noexcept;

}  // namespace tidewalker::resources
