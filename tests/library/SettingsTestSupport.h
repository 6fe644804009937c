// Helpers for the settings and XML tests: a temporary folder per test, file bytes, and
// UTF-8 ↔ UTF-16 conversion for hand-made files in either encoding.
#pragma once

#include <glib.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace orvella_test {

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvella-test.XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (::mkdtemp(buffer.data())) path_ = buffer.data();
        EXPECT_FALSE(path_.empty()) << "no temporary folder";
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    // Names in the folder, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string path_;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Valid UTF-8 only (the tests' own texts).
inline std::u32string CodePoints(const std::string& utf8) {
    std::u32string out;
    for (size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        int length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t cp = length == 1 ? c : length == 2 ? c & 0x1F : length == 3 ? c & 0x0F : c & 0x07;
        for (int k = 1; k < length; ++k) cp = cp << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out.push_back(cp);
        i += static_cast<size_t>(length);
    }
    return out;
}

inline std::string Utf16(const std::string& utf8, bool bigEndian = false, bool bom = true) {
    std::string out;
    auto unit = [&](unsigned u) {
        char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        if (bigEndian) { out.push_back(hi); out.push_back(lo); }
        else { out.push_back(lo); out.push_back(hi); }
    };
    if (bom) unit(0xFEFF);
    for (char32_t cp : CodePoints(utf8)) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            unit(0xD800 + (cp >> 10));
            unit(0xDC00 + (cp & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return out;
}

// UTF-16 LE (after an optional byte-order mark) to UTF-8, for readable failure output.
inline std::string Utf8FromUtf16(const std::string& bytes) {
    size_t i = bytes.size() >= 2 && bytes.compare(0, 2, "\xFF\xFE") == 0 ? 2 : 0;
    std::string out;
    auto put = [&](char32_t cp) {
        if (cp < 0x80) out.push_back(static_cast<char>(cp));
        else if (cp < 0x800) { out.push_back(static_cast<char>(0xC0 | cp >> 6)); out.push_back(static_cast<char>(0x80 | (cp & 0x3F))); }
        else if (cp < 0x10000) { out.push_back(static_cast<char>(0xE0 | cp >> 12)); out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F))); out.push_back(static_cast<char>(0x80 | (cp & 0x3F))); }
        else { out.push_back(static_cast<char>(0xF0 | cp >> 18)); out.push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F))); out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F))); out.push_back(static_cast<char>(0x80 | (cp & 0x3F))); }
    };
    for (; i + 1 < bytes.size(); i += 2) {
        char32_t u = static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (u >= 0xD800 && u < 0xDC00 && i + 3 < bytes.size()) {
            char32_t low = static_cast<unsigned char>(bytes[i + 2]) | static_cast<unsigned char>(bytes[i + 3]) << 8;
            u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        }
        put(u);
    }
    return out;
}

// Whether xmllint (libxml2-utils) finds the file well-formed XML 1.0. Without xmllint the
// tests' own re-reading of the file is all that checks it, unless every tool is required.
inline bool XmlLintAccepts(const std::string& path) {
    const gchar* argv[] = {"xmllint", "--noout", path.c_str(), nullptr};
    gint status = 0;
    const char* required = std::getenv("ORVELLA_REQUIRE_ALL");
    gchar* found = g_find_program_in_path("xmllint");
    const bool present = found != nullptr;
    g_free(found);
    if (!present && required && std::string(required) == "1") return false;
    return !g_spawn_sync(nullptr, const_cast<gchar**>(argv), nullptr, static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDOUT_TO_DEV_NULL),
                         nullptr, nullptr, nullptr, nullptr, &status, nullptr) || g_spawn_check_wait_status(status, nullptr);
}

inline std::string DataFile(const std::string& name) {
    return std::string(ORVELLA_SOURCE_DIR) + "/tests/data/" + name;
}

}  // namespace orvella_test
