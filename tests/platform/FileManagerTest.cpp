// "Show in folder" of the GTK backend against a private session bus: the file manager's
// ShowItems call when one is there, the folder opened when not.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DesktopTestTools.h"
#include "platform/gtk/FileManager.h"

namespace {

constexpr const char* kFileManagerXml = R"xml(<node><interface name="org.freedesktop.FileManager1">
  <method name="ShowItems"><arg name="uris" type="as" direction="in"/><arg name="startup" type="s" direction="in"/></method>
</interface></node>)xml";

class GtkBackendFileManager : public ::testing::Test {
protected:
    void SetUp() override {
        if (!GtkDisplayReady()) GTEST_SKIP() << "no display";
        bus_ = std::make_unique<PrivateSessionBus>();
        REQUIRE_TOOL(bus_->Ok(), "dbus-daemon");
        file_ = folder_.File("a b.mkv");
        folderUri_ = "file://" + folder_.path();
    }
    void TearDown() override {
        manager_.reset();
        bus_.reset();
    }

    bool Show() {
        return platform::gtk::ShowItemInFileManager(file_, [this](const std::string& uri) {
            opened_.push_back(uri);
            return true;
        });
    }

    TempFolder folder_;
    std::string file_, folderUri_;
    std::unique_ptr<PrivateSessionBus> bus_;
    std::unique_ptr<ServedObject> manager_;
    std::vector<std::string> opened_;
};

TEST_F(GtkBackendFileManager, FileManagerIsAskedToShowTheFileItself) {
    manager_ = std::make_unique<ServedObject>(*bus_, "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                                              kFileManagerXml);
    ASSERT_TRUE(manager_->Ok());
    EXPECT_TRUE(Show());
    ASSERT_TRUE(PumpUntil([&] { return !manager_->Calls().empty(); }));
    const auto calls = manager_->Calls();
    EXPECT_EQ(calls[0].method, "ShowItems");
    EXPECT_NE(calls[0].args.find("['" + folderUri_ + "/a%20b.mkv']"), std::string::npos) << calls[0].args;
    PumpUntil([] { return false; }, 200);  // the reply is handled
    EXPECT_TRUE(opened_.empty());
}

TEST_F(GtkBackendFileManager, WithoutAFileManagerTheFolderIsOpened) {
    EXPECT_TRUE(Show());
    ASSERT_TRUE(PumpUntil([&] { return !opened_.empty(); }));
    EXPECT_EQ(opened_, std::vector<std::string>{folderUri_});
}

TEST_F(GtkBackendFileManager, AFailingFileManagerFallsBackToTheFolder) {
    manager_ = std::make_unique<ServedObject>(*bus_, "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                                              kFileManagerXml, nullptr, true);
    ASSERT_TRUE(manager_->Ok());
    EXPECT_TRUE(Show());
    ASSERT_TRUE(PumpUntil([&] { return !opened_.empty(); }));
    EXPECT_EQ(opened_, std::vector<std::string>{folderUri_});
}

}  // namespace
