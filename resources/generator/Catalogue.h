// Which painter draws which picture, at what size and with how many states
// or frames stacked vertically.
#pragma once

#include <cairo.h>

#include <functional>
#include <vector>

namespace tidewalker::art {

struct PictureArt {
    int id;          // 100 % id
    double width;    // 100 % size of one state or frame
    double height;
    int states;      // 1 plain, 2 two states, or the knob strip's frame count
    std::function<void(cairo_t*, int state)> paint;
};

const std::vector<PictureArt>& pictureCatalogue();

}  // namespace tidewalker::art
