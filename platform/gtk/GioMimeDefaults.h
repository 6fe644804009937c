// MimeDefaults through GIO: shared-mime-info for the types, mimeapps.list for defaults.
#pragma once

#include "platform/MimeDefaults.h"

namespace platform {

class GioMimeDefaults : public MimeDefaults {
public:
    std::string TypeOfExtension(const std::string& ext, bool* certain) override;
    std::string DefaultFor(const std::string& type) override;
    bool SetDefault(const std::string& type, const std::string& desktopId) override;
    bool ResetDefault(const std::string& type) override;
    std::string EntryFile(const std::string& desktopId) override;
};

}  // namespace platform
