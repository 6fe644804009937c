// Orvella: start the platform, create the main window, run the message loop, end.
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "app/PlayerWnd.h"
#include "app/StartupRules.h"
#include "engine/EngineNames.h"
#include "platform/gtk/GlRendererProbe.h"
#include "platform/gtk/GtkBackend.h"
#include "uilib/DialogBuilder.h"
#include "uilib/PaintManager.h"
#include "uilib/RenderEngine.h"

int main(int argc, char** argv) {
    // The video output probe re-executes us to read the GL renderer, before anything starts.
    platform::gtk::ServeGlProbeIfAsked(argc, argv);
    std::vector<std::string> asked(argv + 1, argv + argc);
    if (const orvella::CommandLineAsk ask = orvella::ReadCommandLine(&asked); ask != orvella::CommandLineAsk::Run) {
        std::fputs(orvella::CommandLineAnswer(ask).c_str(), stdout);
        return 0;
    }
    uilib::CRenderEngine::PrepareFontsInBackground();
    if (!InitGtkPlatform(&argc, &argv)) {
        std::fprintf(stderr, "orvella: cannot open the display (is DISPLAY set?)\n");
        return 1;
    }
    platform::InstallBackend(CreateGtkBackend());
    uilib::CPaintManagerUI::SetResourceInstance(nullptr);
    uilib::RegisterBuiltinControls();

    // The file aliases a player that crashed left behind.
    orvella::AliasFolder::RemoveStale(orvella::AliasFolder::DefaultParent());

    // After the toolkit took its own options (such as --display).
    std::vector<std::string> args(argv + 1, argv + argc);
    orvella::ReadCommandLine(&args);
    auto* window = new (std::nothrow) orvella::CPlayerWnd(std::move(args));
    if (!window) return 0;
    HWND hwnd = window->Create(nullptr, orvella::kProgramTitle, WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0,
                               0, 0, 100, 100);
    if (!hwnd) {
        std::fprintf(stderr, "orvella: cannot create the main window\n");
        return 1;
    }
    orvella::SetMainWindowHandle(hwnd);
    platform::GetBackend().SetMainWindow(hwnd);
    window->CenterWindow();
    ::ShowWindow(hwnd, SW_SHOW);

    uilib::CPaintManagerUI::MessageLoop();

    // After the system close the window is still there, released: let it go now.
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    platform::InstallBackend(nullptr);
    return 0;
}
