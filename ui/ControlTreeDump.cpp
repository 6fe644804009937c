#include "ui/ControlTreeDump.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "uilib/Control.h"
#include "uilib/controls/Label.h"
#include "uilib/controls/List.h"
#include "uilib/controls/ListHeader.h"
#include "uilib/controls/Option.h"

namespace orvella {

namespace {
uilib::CControlUI* CollectNamed(uilib::CControlUI* control, void* data) {
    auto* found = static_cast<std::vector<uilib::CControlUI*>*>(data);
    if (!control->GetName().empty()) found->push_back(control);
    return nullptr;  // keep visiting
}

uilib::CControlUI* CollectShown(uilib::CControlUI* control, void* data) {
    static_cast<std::vector<uilib::CControlUI*>*>(data)->push_back(control);
    return nullptr;
}

uilib::CControlUI* FirstText(uilib::CControlUI* control, void*) {
    return control->GetInterface("Label") && !control->GetText().empty() ? control : nullptr;
}

std::string OneLine(std::string text) {
    for (char& ch : text) {
        if (ch == '\n' || ch == '\r') ch = ' ';
    }
    return text;
}
}  // namespace

std::optional<TextCut> FindTextCut(uilib::CControlUI* control) {
    // Labels, buttons and check boxes show a text of ours; an edit field's text is the
    // user's, and the other controls draw none.
    if (control->GetInterface("Edit") || control->GetInterface("Progress")) return std::nullopt;
    auto* label = static_cast<uilib::CLabelUI*>(control->GetInterface("Label"));
    if (!label || label->GetText().empty()) return std::nullopt;
    const RECT& pos = control->GetPos();
    const RECT pad = label->GetTextPadding();
    const SIZE room{pos.right - pos.left - pad.left - pad.right,
                    pos.bottom - pos.top - pad.top - pad.bottom};
    if (room.cx <= 0 && room.cy <= 0) return std::nullopt;  // not laid out
    const UINT style = label->GetTextStyle();
    const bool wraps = (style & uilib::DT_WORDBREAK) && !(style & uilib::DT_SINGLELINE);
    const SIZE need = uilib::CRenderEngine::GetTextSize(control->GetManager(), label->GetText().c_str(),
                                                        label->GetFont(), style,
                                                        wraps ? room.cx : 0);
    if (wraps ? need.cy <= room.cy : need.cx <= room.cx) return std::nullopt;
    return TextCut{need, room};
}

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
        const std::string text = OneLine(c->GetText().c_str());
        out << c->GetName() << " " << c->GetClass() << " " << r.left << " " << r.top << " "
            << r.right << " " << r.bottom << " " << (c->IsVisible() ? 1 : 0) << " " << text << "\n";
    }
    // States on lines of their own, so that the lines above keep their fields: a marked
    // (selected) row of a list or menu, a control that cannot be used.
    for (uilib::CControlUI* c : named) {
        auto* item = static_cast<uilib::IListItemUI*>(c->GetInterface("ListItem"));
        auto* option = static_cast<uilib::COptionUI*>(c->GetInterface("Option"));
        if ((item && item->IsSelected()) || (option && option->IsSelected()))
            out << "marked " << c->GetName() << "\n";
        if (!c->IsEnabled()) out << "disabled " << c->GetName() << "\n";
        // The pictures a window shows (the title bar's background).
        if (!c->GetBkImage().empty()) out << "image " << c->GetName() << " " << c->GetBkImage() << "\n";
    }
    // A named row or panel without a text of its own shows its first label's (a menu
    // row's words).
    for (uilib::CControlUI* c : named) {
        if (!c->GetText().empty() || !c->GetInterface("Container")) continue;
        if (uilib::CControlUI* label = c->FindControl(FirstText, nullptr, uilib::UIFIND_ALL))
            out << "shows " << c->GetName() << " " << OneLine(label->GetText().c_str()) << "\n";
    }
    // Rows whose texts come from their list's callback, one line each: "cells <list>
    // <row> <first> | <second> | ...".
    for (uilib::CControlUI* c : named) {
        auto* list = static_cast<uilib::CListUI*>(c->GetInterface("List"));
        uilib::IListCallbackUI* callback = list ? list->GetTextCallback() : nullptr;
        if (!callback) continue;
        // The header's columns, laid out or not (a list on a hidden page has no extents).
        const int columns = std::max(1, list->GetHeader() ? list->GetHeader()->GetCount() : 0);
        for (int row = 0; row < list->GetCount(); ++row) {
            out << "cells " << c->GetName() << " " << row;
            for (int k = 0; k < columns; ++k)
                out << (k ? " | " : " ") << OneLine(callback->GetItemText(list->GetItemAt(row), row, k).c_str());
            out << "\n";
        }
    }
    // Texts that do not fit the room their control gives them, named or not.
    std::vector<uilib::CControlUI*> shown;
    pm->GetRoot()->FindControl(CollectShown, &shown, uilib::UIFIND_VISIBLE);
    for (uilib::CControlUI* c : shown) {
        const std::string name = c->GetName().empty() ? c->GetClass() : c->GetName().c_str();
        if (const std::optional<TextCut> cut = FindTextCut(c)) {
            out << "cut " << name << " " << cut->need.cx << "x" << cut->need.cy << " "
                << cut->room.cx << "x" << cut->room.cy << " " << OneLine(c->GetText().c_str()) << "\n";
        }
        // Characters no installed font can draw show as boxes.
        auto* label = static_cast<uilib::CLabelUI*>(c->GetInterface("Label"));
        if (label && !label->GetText().empty() &&
            uilib::CRenderEngine::CountUnknownGlyphs(c->GetManager(), label->GetText().c_str(), label->GetFont()) > 0)
            out << "boxes " << name << " " << OneLine(c->GetText().c_str()) << "\n";
    }
    // The scheme colour that tints the window.
    char scheme[16];
    std::snprintf(scheme, sizeof scheme, "%08X", static_cast<unsigned>(pm->GetMainBKColor()));
    out << "scheme " << scheme << "\n";
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
