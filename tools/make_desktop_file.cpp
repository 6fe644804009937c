// Writes the player's desktop entry: the template with the MIME types of the media
// extensions as this system's shared-mime-info knows them, the same list the player
// claims at run time. Usage: make_desktop_file <template> <output>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/FileTypes.h"
#include "platform/gtk/GioMimeDefaults.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_desktop_file <template> <output>\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (!in) {
        std::cerr << "cannot read " << argv[1] << "\n";
        return 1;
    }
    std::string entry = text.str();
    const std::string marker = "@MIME_TYPES@";
    platform::GioMimeDefaults desktop;
    const size_t at = entry.find(marker);
    if (at != std::string::npos)
        entry.replace(at, marker.size(), orvella::MimeTypeList(orvella::AssociatedMimeTypes(desktop)));
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << entry;
    return out ? 0 : 1;
}
