#include "uilib/ResourceCache.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>


namespace uilib {

namespace {

std::mutex g_folderMutex;
CStdString g_resourceFolder;  // empty: the program folder

bool IsRegularFile(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Skins written on a case-insensitive file system name "river.PNG" for "river.png":
// on a miss, match each path component ignoring ASCII case.
std::string FindIgnoringCase(const std::string& path) {
    if (path.empty() || path[0] != '/') return std::string();
    std::string found;
    size_t pos = 1;
    while (pos <= path.size()) {
        size_t end = path.find('/', pos);
        if (end == std::string::npos) end = path.size();
        std::string part = path.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty()) continue;
        std::string candidate = found + "/" + part;
        struct stat st;
        if (::stat(candidate.c_str(), &st) != 0) {
            DIR* dir = ::opendir(found.empty() ? "/" : found.c_str());
            if (!dir) return std::string();
            std::string match;
            while (dirent* entry = ::readdir(dir)) {
                if (::strcasecmp(entry->d_name, part.c_str()) == 0) {
                    match = entry->d_name;
                    break;
                }
            }
            ::closedir(dir);
            if (match.empty()) return std::string();
            candidate = found + "/" + match;
        }
        found = candidate;
    }
    return IsRegularFile(found) ? found : std::string();
}

}  // namespace

CResourceCache::CResourceCache() { m_defaultFont.family = "Sans"; }

CResourceCache::~CResourceCache() = default;

CResourceCache& CResourceCache::Default() {
    static CResourceCache cache;
    return cache;
}

CStdString CResourceCache::GetResourceFolder() {
    std::lock_guard<std::mutex> lock(g_folderMutex);
    if (!g_resourceFolder.empty()) return g_resourceFolder;
    return GetAppPath();
}

void CResourceCache::SetResourceFolder(const char* path) {
    std::lock_guard<std::mutex> lock(g_folderMutex);
    g_resourceFolder = path ? path : "";
    for (char& c : g_resourceFolder)
        if (c == '\\') c = '/';
    if (!g_resourceFolder.empty() && g_resourceFolder.back() != '/') g_resourceFolder += '/';
}

CStdString CResourceCache::ResolvePath(const char* file) {
    CStdString name = file ? file : "";
    for (char& c : name)
        if (c == '\\') c = '/';
    if (name.empty() || name[0] == '/') return name;
    CStdString folder = GetResourceFolder();
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + name;
}

const ImageData* CResourceCache::GetImage(const char* file, DWORD mask) {
    if (!file || !*file) return nullptr;
    CStdString path = ResolvePath(file);
    ImageKey key(path, mask);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_images.find(key);
        if (it != m_images.end()) return it->second.get();
    }
    // Decode without the lock, so that a prefetch on another thread never makes the
    // painting thread wait for a picture it does not need.
    std::unique_ptr<ImageData> image = CRenderEngine::LoadImage(path.c_str(), mask);
    if (!image && !IsRegularFile(path)) {
        std::string other = FindIgnoringCase(path);
        if (!other.empty()) image = CRenderEngine::LoadImage(other.c_str(), mask);
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    auto inserted = m_images.emplace(std::move(key), std::move(image));
    return inserted.first->second.get();  // the first decode wins if two raced
}

void CResourceCache::RemoveImage(const char* file, DWORD mask) {
    if (!file) return;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_images.erase(ImageKey(ResolvePath(file), mask));
}

void CResourceCache::RemoveAllImages() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_images.clear();
}

size_t CResourceCache::GetImageCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_images.size();
}

void CResourceCache::AddFont(int id, const TFontInfo& font) { m_fonts[id] = font; }

bool CResourceCache::HasFont(int id) const { return m_fonts.count(id) != 0; }

const TFontInfo& CResourceCache::GetFont(int id) const {
    auto it = m_fonts.find(id);
    return it != m_fonts.end() ? it->second : m_defaultFont;
}

void CResourceCache::RemoveAllFonts() { m_fonts.clear(); }

void CResourceCache::SetDefaultFont(const TFontInfo& font) { m_defaultFont = font; }

const TFontInfo& CResourceCache::GetDefaultFontInfo() const { return m_defaultFont; }

}  // namespace uilib
