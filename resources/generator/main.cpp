// Draws every picture of the editor at 100 %, 150 % and 200 % and writes
// them as bmpNNNNN.png into the folder given on the command line.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>

#include "resources/PictureIds.h"
#include "resources/generator/Catalogue.h"

namespace {

using tidewalker::art::PictureArt;
namespace res = tidewalker::resources;

struct Size {
    double scale;
    int idStep;
};
constexpr Size SIZES[] = {{1.0, 0}, {1.5, res::PICTURE_ID_STEP_150}, {2.0, res::PICTURE_ID_STEP_200}};

void useCrispText(cairo_t* cr) {
    // Same glyph shapes and advances at every size, so captions keep their
    // place when the panel is scaled.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

bool writePicture(const PictureArt& art, const Size& size, const std::string& folder) {
    const int width = int(std::trunc(art.width * size.scale));
    const int height = int(std::trunc(art.height * art.states * size.scale));
    const double stateHeight = art.height * size.scale;
    if (art.states > 1 && stateHeight * art.states != height) {
        std::fprintf(stderr, "picture %d: %d states do not split %d pixels evenly\n", art.id, art.states, height);
        return false;
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    useCrispText(cr);
    for (int state = 0; state < art.states; ++state) {
        cairo_save(cr);
        cairo_scale(cr, size.scale, size.scale);
        cairo_translate(cr, 0, art.height * state);
        cairo_rectangle(cr, 0, 0, art.width, art.height);
        cairo_clip(cr);
        art.paint(cr, state);
        cairo_restore(cr);
    }
    const bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    char name[32];
    std::snprintf(name, sizeof name, "/bmp%05d.png", art.id + size.idStep);
    const std::string path = folder + name;
    const bool written = drawn && cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    if (!written) std::fprintf(stderr, "picture %d: cannot draw or write %s\n", art.id, path.c_str());
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const auto& catalogue = tidewalker::art::pictureCatalogue();

    // The catalogue must draw exactly the editor's picture set.
    std::set<int> drawn, wanted(std::begin(res::PICTURE_IDS), std::end(res::PICTURE_IDS));
    for (const PictureArt& art : catalogue) drawn.insert(art.id);
    if (drawn != wanted || drawn.size() != catalogue.size()) {
        std::fprintf(stderr, "the picture catalogue does not match the editor's picture ids\n");
        return 1;
    }

    bool ok = true;
    for (const PictureArt& art : catalogue)
        for (const Size& size : SIZES) ok = writePicture(art, size, argv[1]) && ok;
    return ok ? 0 : 1;
}
