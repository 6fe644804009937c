// Stands in for the main window in tests of the windows it opens: it owns them and records
// the window notifications they send it.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/PlayerMenuStates.h"
#include "tests/SourceSkins.h"
#include "tests/TestPlatform.h"
#include "ui/SkinWindow.h"
#include "ui/FullScreenTopBarWnd.h"
#include "ui/MenuWnd.h"
#include "uilib/PaintManager.h"
#include "uilib/WindowWnd.h"

namespace orvella {

struct Heard {
    std::string type;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Heard& o) const {
        return type == o.type && wParam == o.wParam && lParam == o.lParam;
    }
};
inline std::ostream& operator<<(std::ostream& os, const Heard& h) {
    return os << h.type << "(" << h.wParam << ", " << h.lParam << ")";
}

// Stands in for the main window: owns the windows, records what they tell it.
class MainStandIn : public uilib::CWindowWnd, public uilib::INotifyUI, public IMenuCommandRunner {
public:
    const char* GetWindowClassName() const override { return "UIMainFrame"; }
    void NotifyFromWindow(uilib::TNotifyUI& msg) override {
        heard.push_back({msg.sType, msg.wParam, msg.lParam});
    }
    void Notify(uilib::TNotifyUI&) override {}
    void RunMenuCommand(const std::string& name) override { commands.push_back(name); }
    MenuOwner MenuOwnerForTopBar() override {
        MenuOwner owner;
        owner.hwnd = m_hWnd;
        owner.paintManager = &pm;
        MenuState state;
        state.tables.audioTracks = {{128, "en"}, {129, "fr"}};
        state.tables.currentAudio = 128;
        owner.states = std::make_shared<PlayerMenuStates>(state);
        return owner;
    }

    uilib::CPaintManagerUI pm;
    std::vector<Heard> heard;
    std::vector<std::string> commands;
};

// Windows of the skin window pattern, opened over the stand-in as the main window opens
// them.
class SkinWindowTest : public FakePlatformTest {
protected:
    void SetUp() override {
        orvella_test::UseSourceSkins();
        main_.Create(nullptr, "Orvella", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 200, 100, 800, 500);
        main_.pm.SetColor(0xFF345678);
        SetOpenPopupMenu(nullptr);
    }
    void TearDown() override {
        SetOpenPopupMenu(nullptr);
        uilib::SetAppPathForTesting("");
    }

    SkinWindowOwner Owner(int skin = 1) {
        SkinWindowOwner owner;
        owner.hwnd = main_.GetHWND();
        owner.notifier = &main_;
        owner.paintManager = &main_.pm;
        owner.language = "eng";
        owner.skinIndex = skin;
        return owner;
    }

    MainStandIn main_;
};

}  // namespace orvella
