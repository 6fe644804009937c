#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/FileAssociations.h"
#include "app/FileTypes.h"
#include "library/AtomicFile.h"

namespace orvella {
namespace {

// The desktop as these rules see it: a few extensions, defaults kept in memory.
struct FakeDesktop : platform::MimeDefaults {
    std::map<std::string, std::pair<std::string, bool>> types{
        {".mp4", {"video/mp4", true}},  {".m4v", {"video/mp4", true}},
        {".ts", {"video/mp2t", false}}, {".dat", {"application/octet-stream", true}},
        {".mp3", {"audio/mpeg", true}}};
    std::map<std::string, std::string> defaults;
    std::map<std::string, std::string> implicit;  // what the desktop finds without a line
    std::string systemEntry, userEntry;
    int changes = 0;

    std::string TypeOfExtension(const std::string& ext, bool* certain) override {
        auto it = types.find(ext);
        *certain = it != types.end() && it->second.second;
        return it == types.end() ? std::string() : it->second.first;
    }
    std::string DefaultFor(const std::string& type) override {
        auto it = defaults.find(type);
        return it != defaults.end() ? it->second : implicit[type];
    }
    bool SetDefault(const std::string& type, const std::string& id) override {
        ++changes;
        defaults[type] = id;
        return true;
    }
    bool ResetDefault(const std::string& type) override {
        ++changes;
        defaults.erase(type);
        return true;
    }
    std::string EntryFile(const std::string&) override {
        if (!systemEntry.empty()) return systemEntry;
        struct stat st;
        return stat(userEntry.c_str(), &st) == 0 ? userEntry : std::string();
    }
};

TEST(FileAssociations, ClaimsOnlyTheTypesTheDesktopIsSureOfOnce) {
    FakeDesktop desktop;
    EXPECT_EQ(AssociatedMimeTypes(desktop), (std::vector<std::string>{"video/mp4", "audio/mpeg"}));
}

TEST(FileAssociations, SwitchKeepsAndGivesBackThePreviousHandlers) {
    const std::string kBoth = "video/mp4\tother.desktop\naudio/mpeg\t\n";
    struct Case {
        const char* name;
        bool systemEntry;
        std::vector<std::string> steps;  // "on", "off", or "user=<id>" for video/mp4
        std::string mp4, mpeg;           // the defaults after the steps
        std::string saved;               // the backup file ("-": none)
        int lastStepChanges;
    } cases[] = {
        {"register twice", true, {"on", "on"}, kDesktopId, kDesktopId, kBoth, 0},
        {"off gives back", false, {"on", "off"}, "other.desktop", "", "-", 3},
        {"user choice kept", false, {"on", "user=third.desktop", "off"}, "third.desktop", "", "-", 1},
        {"off then on", false, {"on", "off", "user=third.desktop", "on"}, kDesktopId, kDesktopId,
         "video/mp4\tthird.desktop\naudio/mpeg\t\n", 2},
        {"off alone", false, {"off"}, "other.desktop", "", "-", 0},
        // A handler the desktop found without a line gets no line written for it.
        {"implicit", false, {"on", "off"}, "other.desktop", "found.desktop", "-", 3},
    };
    for (const Case& c : cases) {
        char tmpl[] = "/tmp/orvella-assoc-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        const std::string temp = tmpl;
        const std::string templ = temp + "/template.desktop";
        ASSERT_TRUE(WriteFileAtomically(templ, "[Desktop Entry]\nExec=orvella %F\nIcon=orvella\n"));
        const AssociationPlaces places{temp + "/associations", temp + "/apps/orvella.desktop", templ,
                                       "/opt/My Player/orvella"};
        FakeDesktop desktop;
        desktop.defaults["video/mp4"] = "other.desktop";
        desktop.implicit["audio/mpeg"] = c.name == std::string("implicit") ? "found.desktop" : "";
        desktop.userEntry = places.userEntry;
        if (c.systemEntry) desktop.systemEntry = "/usr/share/applications/orvella.desktop";
        for (const std::string& step : c.steps) {
            desktop.changes = 0;
            if (step.rfind("user=", 0) == 0)
                desktop.defaults["video/mp4"] = step.substr(5);
            else
                ApplyAssociation(step == "on", desktop, places);
        }
        EXPECT_EQ(desktop.DefaultFor("video/mp4"), c.mp4) << c.name;
        EXPECT_EQ(desktop.DefaultFor("audio/mpeg"), c.mpeg) << c.name;
        std::string saved = "-";
        ReadWholeFile(places.savedHandlers, &saved);
        EXPECT_EQ(saved, c.saved) << c.name;
        EXPECT_EQ(desktop.changes, c.lastStepChanges) << c.name;
        if (c.name == std::string("implicit")) {
            EXPECT_EQ(desktop.defaults.count("audio/mpeg"), 0u);
        }
        std::string entry;
        const bool copied = ReadWholeFile(places.userEntry, &entry);
        EXPECT_EQ(copied, !c.systemEntry && c.steps[0] == "on") << c.name;
        if (copied) {
            EXPECT_EQ(entry, "[Desktop Entry]\nExec=\"/opt/My Player/orvella\" %F\nIcon=orvella\n");
        }
        std::filesystem::remove_all(temp);
    }
}

TEST(FileAssociations, ExecArgumentIsEscapedForTheDesktopEntry) {
    const struct {
        const char* program;
        const char* exec;
    } cases[] = {
        {"/usr/bin/orvella", "/usr/bin/orvella"},
        {"/opt/My Player/orvella", "\"/opt/My Player/orvella\""},
        {"/opt/say \"hi\"/orvella", "\"/opt/say \\\\\"hi\\\\\"/orvella\""},
        {"/opt/it's/orvella", "\"/opt/it's/orvella\""},
        {"/opt/$HOME/orvella", "\"/opt/\\\\$HOME/orvella\""},
        {"/opt/100%/orvella", "/opt/100%%/orvella"},
        {"/opt/a b%/orvella", "\"/opt/a b%%/orvella\""},
        {"/opt/back\\slash/orvella", "\"/opt/back\\\\\\\\slash/orvella\""},
        {"/opt/two\nlines/orvella", "\"/opt/two\\nlines/orvella\""},
    };
    for (const auto& c : cases) EXPECT_EQ(ExecArgument(c.program), c.exec) << c.program;
}

}  // namespace
}  // namespace orvella
