#include "library/Backgrounds.h"

namespace orvella {

namespace {
// The title bar's picture keeps its own width against the right end of its area, cut on
// the left where the area is narrower.
const BackgroundPicture kBackgrounds[kBackgroundCount] = {
    {"river", "file='skin/river.PNG' align='right'"},
    {"ocean", "file='skin/ocean.PNG' align='right'"},
    {"petal", "file='skin/petal.PNG' align='right'"},
    {"dragon", "file='skin/dragon.PNG' align='right'"},
    {"totem", "file='skin/totem.PNG' align='right'"},
    {"petal1", "file='skin_classic/petal1.PNG' align='right'"},
    {"petal2", "file='skin_classic/petal2.PNG' align='right'"},
    {"guitar", "file='skin_classic/guitar.PNG' align='right'"},
    {"gear", "file='skin_classic/gear.PNG' align='right'"},
};
}  // namespace

const BackgroundPicture* BackgroundAt(int index) {
    if (index < 0 || index >= kBackgroundCount) return nullptr;
    return &kBackgrounds[index];
}

const BackgroundPicture* BackgroundNamed(const std::string& name) {
    for (const BackgroundPicture& picture : kBackgrounds) {
        if (name == picture.name) return &picture;
    }
    return nullptr;
}

}  // namespace orvella
