#include "uilib/WindowAttributes.h"

#include <string>
#include <unordered_map>

#include "uilib/AttributeValue.h"
#include "uilib/PaintManager.h"

namespace uilib {

namespace {

using Setter = void (*)(CPaintManagerUI*, const char*);
// Built on first use: a layout may be read while other statics are still being made.
const std::unordered_map<std::string, Setter>& WindowAttributes() {
    static const std::unordered_map<std::string, Setter> table = {
        {"size",
         [](CPaintManagerUI* m, const char* v) {
             SIZE s = attr::ParseSize(v);
             m->SetInitSize(s.cx, s.cy);
         }},
        {"mininfo",
         [](CPaintManagerUI* m, const char* v) {
             SIZE s = attr::ParseSize(v);
             m->SetMinInfo(s.cx, s.cy);
         }},
        {"maxinfo",
         [](CPaintManagerUI* m, const char* v) {
             SIZE s = attr::ParseSize(v);
             m->SetMaxInfo(s.cx, s.cy);
         }},
        {"caption",
         [](CPaintManagerUI* m, const char* v) { m->SetCaptionRect(attr::ParseRect(v)); }},
        {"sizebox", [](CPaintManagerUI* m, const char* v) { m->SetSizeBox(attr::ParseRect(v)); }},
        {"roundcorner",
         [](CPaintManagerUI* m, const char* v) {
             SIZE s = attr::ParseSize(v);
             m->SetRoundCorner(s.cx, s.cy);
         }},
        {"bkcolor", [](CPaintManagerUI* m, const char* v) { m->SetColor(attr::ParseColor(v)); }},
        {"defaultfontcolor",
         [](CPaintManagerUI* m, const char* v) { m->SetDefaultFontColor(attr::ParseColor(v)); }},
        {"disabledfontcolor",
         [](CPaintManagerUI* m, const char* v) {
             m->SetDefaultDisabledColor(attr::ParseColor(v));
         }},
        {"selectedcolor",
         [](CPaintManagerUI* m, const char* v) {
             m->SetDefaultSelectedBkColor(attr::ParseColor(v));
         }},
    };
    return table;
}

}  // namespace

bool ApplyWindowAttribute(CPaintManagerUI& manager, const char* name, const char* value) {
    const auto& table = WindowAttributes();
    auto it = table.find(name);
    if (it == table.end()) return false;
    it->second(&manager, value);
    return true;
}

}  // namespace uilib
