// The golden launch vectors: the options they start from and the files that hold them.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "engine/LaunchOptions.h"

namespace orvella_test {

using Arguments = std::vector<std::string>;

// The options every golden vector starts from: the settings defaults, one play-list
// entry at 0 s, a relative media path.
inline orvella::LaunchOptions BaseOptions() {
    orvella::LaunchOptions o;
    o.programFolder = "/opt/orvella/";
    o.currentFolder = "/home/user/videos";
    o.mediaPath = "clip.mp4";
    o.videoWindow = 1234;
    o.hasEntry = true;
    return o;
}

// tests/data/launch/<name>.txt: one argument per line after "#" comment lines.
inline Arguments Golden(const std::string& name) {
    std::ifstream in(std::string(ORVELLA_SOURCE_DIR) + "/tests/data/launch/" + name + ".txt");
    Arguments lines;
    std::string line;
    while (std::getline(in, line))
        if (line.empty() || line[0] != '#') lines.push_back(line);
    return lines;
}

}  // namespace orvella_test
