#include "ratio/screen_shapes.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "ratio/aspect_ratio.h"

namespace {

struct Shape {
    float width;
    float height;
};

// Screen sizes in pixels (where several sizes share one shape, one of
// them): the shapes, not the sizes, are what the table is for.
constexpr Shape kShapes[] = {
    {1920, 1080},                                           // 16:9
    {1366, 768},                                            // laptops, not quite 16:9
    {1360, 768},  {1920, 1200},                             // 16:10, the Steam Deck
    {1024, 768},                                            // 4:3
    {1280, 1024},                                           // 5:4
    {2160, 1440},                                           // 3:2
    {1600, 1024},                                           // 25:16
    {1280, 768},                                            // 5:3
    {1024, 600},                                            // netbooks
    {2048, 1080},                                           // 17:9 (DCI)
    {4096, 2160}, {2160, 1080},                             // 18:9
    {2340, 1080},                                           // 19.5:9
    {2400, 1080},                                           // 20:9
    {2560, 1080},                                           // the 21:9 family
    {3440, 1440}, {3840, 1600}, {5120, 2160}, {2520, 1080}, // 21:9 exactly
    {3840, 1080},                                           // 32:9
    {5120, 1440}, {3840, 1200},                             // 32:10
    {5760, 1080},                                           // three 16:9 screens
    {5760, 1200},                                           // three 16:10 screens
    {3840, 1024},                                           // three 5:4 screens
    {3072, 768},                                            // three 4:3 screens
};

} // namespace

const std::vector<PatchValue>& screenShapeValues() {
    static const std::vector<PatchValue> values = [] {
        std::vector<PatchValue> all;
        for (const Shape& shape : kShapes) {
            // Landscape, and the same screen turned on its side.
            for (const PatchValue value : {patchValueOf(reduceAspectRatio(shape.width, shape.height).ratio),
                                           patchValueOf(reduceAspectRatio(shape.height, shape.width).ratio)}) {
                if (std::find(all.begin(), all.end(), value) == all.end()) {
                    all.push_back(value);
                }
            }
        }
        return all;
    }();
    return values;
}

bool isScreenShape(const PatchValue& value) {
    const std::vector<PatchValue>& values = screenShapeValues();
    return std::find(values.begin(), values.end(), value) != values.end();
}
