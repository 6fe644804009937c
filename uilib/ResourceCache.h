// Decoded pictures, fonts and default colours shared by the windows of one paint
// manager (or, with no manager, by the whole process).
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "uilib/Base.h"
#include "uilib/PaintManager.h"
#include "uilib/RenderEngine.h"

namespace uilib {

class CResourceCache {
public:
    CResourceCache();
    ~CResourceCache();
    CResourceCache(const CResourceCache&) = delete;
    CResourceCache& operator=(const CResourceCache&) = delete;

    // The cache used when drawing gets no paint manager.
    static CResourceCache& Default();

    // Folder that relative picture names are resolved against (ends with "/").
    // Default: the program folder. CPaintManagerUI::Get/SetResourcePath forward here.
    static CStdString GetResourceFolder();
    static void SetResourceFolder(const char* path);
    // Absolute path for a picture name: either separator, absolute names kept.
    static CStdString ResolvePath(const char* file);

    // A picture by name (relative to the resource folder, or absolute); decoded once
    // per (file, mask). nullptr when it cannot be loaded; the pointer stays valid
    // until RemoveImage/RemoveAllImages or the cache goes away.
    const ImageData* GetImage(const char* file, DWORD mask = 0);
    void RemoveImage(const char* file, DWORD mask = 0);
    void RemoveAllImages();
    size_t GetImageCount() const;

    // Fonts by layout id; -1 or an unknown id gives the default font.
    void AddFont(int id, const TFontInfo& font);
    bool HasFont(int id) const;
    const TFontInfo& GetFont(int id) const;
    void RemoveAllFonts();
    void SetDefaultFont(const TFontInfo& font);
    const TFontInfo& GetDefaultFontInfo() const;

    // Default colours (ARGB)
    DWORD GetDefaultFontColor() const { return m_defaultFontColor; }
    void SetDefaultFontColor(DWORD c) { m_defaultFontColor = c; }
    DWORD GetDefaultDisabledColor() const { return m_defaultDisabledColor; }
    void SetDefaultDisabledColor(DWORD c) { m_defaultDisabledColor = c; }
    DWORD GetDefaultSelectedBkColor() const { return m_defaultSelectedBkColor; }
    void SetDefaultSelectedBkColor(DWORD c) { m_defaultSelectedBkColor = c; }

private:
    using ImageKey = std::pair<std::string, DWORD>;  // resolved path, mask
    mutable std::mutex m_mutex;
    // A failed load is kept as nullptr so a missing skin picture is not looked up
    // on every repaint.
    std::map<ImageKey, std::unique_ptr<ImageData>> m_images;
    std::map<int, TFontInfo> m_fonts;
    TFontInfo m_defaultFont;
    DWORD m_defaultFontColor = 0xFF000000;
    DWORD m_defaultDisabledColor = 0xFFA7A6AA;
    DWORD m_defaultSelectedBkColor = 0xFFBAE4FF;
};

}  // namespace uilib
