// The play list at full size: a list in virtual mode with N rows (default 100,000) in a
// 236×400 window of the headless platform, drawn off screen. Prints the time to set the
// source and lay out, a full paint, a wheel step then paint (median of 200), and the End
// key then paint; then, for comparison, filling an ordinary list with label rows at two
// sizes (twice the rows should take about twice the time).
//
//   build/bench_list [rows]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/fake/FakeBackend.h"
#include "uilib/PaintManager.h"
#include "uilib/WindowWnd.h"
#include "uilib/controls/List.h"
#include "uilib/controls/ListLabelElement.h"

using namespace uilib;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kWidth = 236, kHeight = 400;
constexpr double kFrameMs = 16.0;

double MsSince(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Names shaped like a play list's: a number, a folder and a file name of varied length.
class BenchRows : public IListRowSource {
public:
    explicit BenchRows(size_t n) : count_(n) {}
    size_t GetRowCount() const override { return count_; }
    std::string GetRowText(size_t row) const override {
        static const char* const kWords[] = {"River", "Evening", "Concert", "Lecture", "Holiday",
                                             "Garden", "Interview", "Ocean"};
        std::string text = std::to_string(row + 1) + ". ";
        for (size_t i = 0; i < 2 + row % 5; ++i) text += std::string(kWords[(row + i) % 8]) + " ";
        return text + "(" + std::to_string(1990 + row % 35) + ").mkv";
    }
    std::string GetRowTooltip(size_t row) const override {
        return "/home/user/Videos/" + GetRowText(row);
    }

private:
    size_t count_;
};

class Host : public CWindowWnd {
public:
    explicit Host(CControlUI* root) : root_(root) {}
    ~Host() override {
        if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    }
    HWND Open() {
        Create(nullptr, "bench", WS_OVERLAPPED, 0, 0, 0, kWidth, kHeight);
        ShowWindow(true, true);
        return m_hWnd;
    }
    CPaintManagerUI pm;

protected:
    const char* GetWindowClassName() const override { return "BenchListHost"; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_CREATE) {
            pm.Init(m_hWnd);
            pm.AttachDialog(root_);
            return 0;
        }
        if (msg == WM_NCDESTROY) m_hWnd = nullptr;
        LRESULT result = 0;
        if (pm.MessageHandler(msg, wParam, lParam, result)) return result;
        return CWindowWnd::HandleMessage(msg, wParam, lParam);
    }

private:
    CControlUI* root_;
};

// The play list's looks: alternate rows, selected and hot colours, row height from the font.
void StyleList(CListUI* list) {
    list->SetAttribute("itembkcolor", "#FF1E2228");
    list->SetAttribute("itemaltbk", "true");
    list->SetAttribute("itemtextcolor", "#FFD8DCE0");
    list->SetAttribute("itemselectedbkcolor", "#FF2F6FB0");
    list->SetAttribute("itemselectedtextcolor", "#FFFFFFFF");
    list->SetAttribute("itemhotbkcolor", "#FF2A3038");
}

void Report(const char* what, double ms, bool frame) {
    if (frame)
        std::printf("  %-40s %9.3f ms   (target: under %.0f ms: %s)\n", what, ms, kFrameMs,
                    ms < kFrameMs ? "met" : "MISSED");
    else
        std::printf("  %-40s %9.3f ms\n", what, ms);
}

// Adds n label rows with their text to an ordinary list, as a layout would.
double FillOrdinaryList(platform::FakeBackend& fake, int n) {
    auto* list = new CListUI;
    StyleList(list);
    Host host(list);
    host.Open();
    auto start = Clock::now();
    for (int i = 0; i < n; ++i) {
        auto* row = new CListLabelElementUI;
        row->SetText(("row " + std::to_string(i)).c_str());
        list->Add(row);
    }
    host.pm.UpdateLayout();
    fake.Render(host.GetHWND());
    return MsSince(start);
}

}  // namespace

int main(int argc, char** argv) {
    const size_t rows = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
    platform::InstallBackend(std::make_unique<platform::FakeBackend>());
    auto& fake = static_cast<platform::FakeBackend&>(platform::GetBackend());

    BenchRows source(rows);
    {
        // Fonts and the text engine warm up on a list of their own.
        BenchRows few(50);
        auto* warm = new CListUI;
        StyleList(warm);
        warm->SetRowSource(&few);
        Host host(warm);
        fake.Render(host.Open());
    }

    auto* list = new CListUI;
    StyleList(list);
    Host host(list);
    auto start = Clock::now();
    list->SetRowSource(&source);
    list->RowsChanged();
    HWND hwnd = host.Open();
    host.pm.UpdateLayout();
    const double firstLayout = MsSince(start);

    std::printf("virtual list: %zu rows, %dx%d window, row height %d\n", rows, kWidth, kHeight,
                list->GetItemHeight());
    Report("source + RowsChanged + first layout", firstLayout, false);

    start = Clock::now();
    fake.Render(hwnd);
    Report("first full paint", MsSince(start), true);
    std::vector<double> paints;
    for (int i = 0; i < 20; ++i) {
        host.pm.Invalidate();
        start = Clock::now();
        fake.Render(hwnd);
        paints.push_back(MsSince(start));
    }
    Report("full paint (median of 20)", Median(paints), true);

    std::vector<double> steps;
    const int x = kWidth / 2, y = kHeight / 2;
    for (int i = 0; i < 200; ++i) {
        start = Clock::now();
        fake.Wheel(hwnd, x, y, -WHEEL_DELTA);
        fake.Render(hwnd);
        steps.push_back(MsSince(start));
    }
    Report("wheel step + paint (median of 200)", Median(steps), true);
    std::printf("  %-40s %9.3f ms\n", "  slowest of the 200", *std::max_element(steps.begin(), steps.end()));

    // The keys go to the list once a click has given it the focus.
    fake.LeftDown(hwnd, x, 10);
    fake.LeftUp(hwnd, x, 10);
    fake.Render(hwnd);
    std::vector<double> ends;
    for (int i = 0; i < 20; ++i) {
        fake.KeyPress(VK_HOME, platform::FakeBackend::kNone, hwnd);
        fake.Render(hwnd);
        start = Clock::now();
        fake.KeyPress(VK_END, platform::FakeBackend::kNone, hwnd);
        fake.Render(hwnd);
        ends.push_back(MsSince(start));
    }
    Report("End key + paint (median of 20)", Median(ends), true);
    std::printf("  selected row after End: %d of %d\n", list->GetCurSel(), list->GetCount());

    std::printf("ordinary list of label rows (for comparison):\n");
    const double small = FillOrdinaryList(fake, 25000);
    const double large = FillOrdinaryList(fake, 50000);
    Report("add 25,000 rows + layout + paint", small, false);
    Report("add 50,000 rows + layout + paint", large, false);
    std::printf("  %-40s %9.2f   (linear: about 2)\n", "ratio", small > 0 ? large / small : 0.0);
    return 0;
}
