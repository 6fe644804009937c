#include "ui/ControlTreeDump.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "uilib/Control.h"
#include "uilib/controls/List.h"

namespace orvella {

namespace {
uilib::CControlUI* CollectNamed(uilib::CControlUI* control, void* data) {
    auto* found = static_cast<std::vector<uilib::CControlUI*>*>(data);
    if (!control->GetName().empty()) found->push_back(control);
    return nullptr;  // keep visiting
}
}  // namespace

std::string DescribeControlTree(uilib::CPaintManagerUI* pm, const RECT& windowRect) {
    std::ostringstream out;
    out << "window " << windowRect.left << " " << windowRect.top << " " << windowRect.right
        << " " << windowRect.bottom << "\n";
    if (!pm || !pm->GetRoot()) return out.str();
    std::vector<uilib::CControlUI*> named;
    pm->GetRoot()->FindControl(CollectNamed, &named, uilib::UIFIND_ALL);
    for (uilib::CControlUI* c : named) {
        const RECT& r = c->GetPos();
        // The text last, on one line: the fields before it keep their places.
        std::string text = c->GetText().c_str();
        for (char& ch : text) {
            if (ch == '\n' || ch == '\r') ch = ' ';
        }
        out << c->GetName() << " " << c->GetClass() << " " << r.left << " " << r.top << " "
            << r.right << " " << r.bottom << " " << (c->IsVisible() ? 1 : 0) << " " << text << "\n";
    }
    // States on lines of their own, so that the lines above keep their fields: a marked
    // (selected) row of a list or menu, a control that cannot be used.
    for (uilib::CControlUI* c : named) {
        auto* item = static_cast<uilib::IListItemUI*>(c->GetInterface("ListItem"));
        if (item && item->IsSelected()) out << "marked " << c->GetName() << "\n";
        if (!c->IsEnabled()) out << "disabled " << c->GetName() << "\n";
    }
    // Which layout file the tree was built from: a rebuilt window names its new one.
    if (!pm->GetLayoutFile().empty()) out << "layout " << pm->GetLayoutFile().c_str() << "\n";
    return out.str();
}

void WriteControlTreeIfAsked(uilib::CPaintManagerUI* pm, HWND hwnd, const std::string& suffix) {
    const char* wanted = std::getenv("ORVELLA_CONTROL_TREE_FILE");
    if (!wanted || !*wanted) return;
    const std::string path = wanted + suffix;
    RECT rect;
    GetWindowRect(hwnd, &rect);
    std::string text = DescribeControlTree(pm, rect);
    std::string temp = path + ".part";
    FILE* f = std::fopen(temp.c_str(), "w");
    if (!f) return;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = std::fclose(f) == 0 && ok;
    if (ok) std::rename(temp.c_str(), path.c_str());  // readers never see half a file
}

}  // namespace orvella
