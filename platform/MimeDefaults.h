// The desktop's file types and their default applications (freedesktop: shared-mime-info
// and mimeapps.list). The GTK backend answers through GIO; tests use their own.
#pragma once

#include <string>

namespace platform {

class MimeDefaults {
public:
    virtual ~MimeDefaults() = default;

    // The MIME type of a file named "x<ext>" (".mp4" gives "video/mp4"); `certain` is false
    // when the name alone cannot tell. Empty when nothing is known.
    virtual std::string TypeOfExtension(const std::string& ext, bool* certain) = 0;
    // The desktop id ("vlc.desktop") of the type's default application; empty for none.
    virtual std::string DefaultFor(const std::string& type) = 0;
    // Makes the application with that desktop id the type's default for this user.
    virtual bool SetDefault(const std::string& type, const std::string& desktopId) = 0;
    // Drops what this user chose for the type.
    virtual bool ResetDefault(const std::string& type) = 0;
    // The file the desktop finds for a desktop id; empty when none.
    virtual std::string EntryFile(const std::string& desktopId) = 0;
};

}  // namespace platform
