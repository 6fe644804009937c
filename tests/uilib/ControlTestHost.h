// A window on the fake platform that hosts one control tree and records the
// notifications its controls send, for tests that drive controls with real input.
//
//   ControlHost host;
//   auto* slider = new CSliderUI;
//   host.Open(slider, 110, 20);
//   fake().LeftDown(host.hwnd(), 10, 10);
//   EXPECT_EQ(host.notes.Types(), (std::vector<std::string>{"valuechanged"}));
#pragma once

#include <string>
#include <vector>

#include "tests/TestPlatform.h"
#include "uilib/Control.h"
#include "uilib/PaintManager.h"
#include "uilib/WindowWnd.h"

struct RecordedNote {
    std::string type;
    uilib::CControlUI* sender = nullptr;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class NotifyRecorder : public uilib::INotifyUI {
public:
    void NotifyFromWindow(uilib::TNotifyUI&) override {}
    void Notify(uilib::TNotifyUI& msg) override {
        // Framework housekeeping is not what these tests look at.
        if (msg.sType == "windowinit" || msg.sType == "timer") return;
        if (!keepFocusNotes && (msg.sType == "setfocus" || msg.sType == "killfocus")) return;
        notes.push_back({msg.sType, msg.pSender, msg.wParam, msg.lParam});
    }
    std::vector<std::string> Types() const {
        std::vector<std::string> out;
        for (const auto& n : notes) out.push_back(n.type);
        return out;
    }
    int Count(const std::string& type) const {
        int n = 0;
        for (const auto& note : notes) n += note.type == type;
        return n;
    }
    // The last note of a type; a default note when there is none.
    RecordedNote Last(const std::string& type) const {
        for (auto it = notes.rbegin(); it != notes.rend(); ++it)
            if (it->type == type) return *it;
        return RecordedNote{};
    }
    void Clear() { notes.clear(); }

    std::vector<RecordedNote> notes;
    bool keepFocusNotes = false;  // "setfocus"/"killfocus" are left out unless asked for
};

class ControlHost : public uilib::CWindowWnd {
public:
    ~ControlHost() override {
        if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    }

    // Creates a visible window of client size cx×cy showing root, and lays it out.
    HWND Open(uilib::CControlUI* root, int cx, int cy) {
        root_ = root;
        Create(nullptr, "host", WS_OVERLAPPED, 0, 0, 0, cx, cy);
        ShowWindow(true, true);
        pm.UpdateLayout();
        return m_hWnd;
    }
    HWND hwnd() const { return m_hWnd; }

    uilib::CPaintManagerUI pm;
    NotifyRecorder notes;

protected:
    const char* GetWindowClassName() const override { return "ControlHost"; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_CREATE) {
            pm.Init(m_hWnd);
            pm.AttachDialog(root_);
            pm.AddNotifier(&notes);
            return 0;
        }
        if (msg == WM_NCDESTROY) m_hWnd = nullptr;
        LRESULT result = 0;
        if (pm.MessageHandler(msg, wParam, lParam, result)) return result;
        return uilib::CWindowWnd::HandleMessage(msg, wParam, lParam);
    }

private:
    uilib::CControlUI* root_ = nullptr;
};
