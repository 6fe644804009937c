// The title bar's background pictures: the index the skin window sends with
// "changeshading", the picture text of the control "shading", and the name remembered as
// the setting "background".
#pragma once

#include <string>

namespace orvella {

struct BackgroundPicture {
    const char* name;   // "river"
    const char* image;  // "file='skin/river.PNG' align='right'"
};

constexpr int kBackgroundCount = 9;

// The picture of an index 0-8; null for any other index.
const BackgroundPicture* BackgroundAt(int index);
// The picture of a remembered name; null for a name that is none of them.
const BackgroundPicture* BackgroundNamed(const std::string& name);

}  // namespace orvella
