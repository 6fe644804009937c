#include "uilib/DialogBuilder.h"

#include <glib.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "uilib/AttributeValue.h"
#include "uilib/Container.h"
#include "uilib/LayoutContext.h"
#include "uilib/controls/Button.h"
#include "uilib/controls/CheckBox.h"
#include "uilib/controls/Label.h"
#include "uilib/controls/Option.h"
#include "uilib/controls/Text.h"
#if __has_include("uilib/controls/RegisterMore.h")
#include "uilib/controls/RegisterMore.h"
#define ORVELLA_HAVE_REGISTER_MORE 1
#endif

namespace uilib {

namespace {

std::map<std::string, ControlFactoryFn>& Registry() {
    static std::map<std::string, ControlFactoryFn> registry;
    return registry;
}

template <class T>
CControlUI* Make() {
    return new T;
}


// The layout as UTF-8: UTF-16 (either byte order, with a byte order mark or
// recognisable by its "<" followed by a zero byte) is converted, so that offsets in the
// parsed text give line numbers.
std::string ToUtf8(const std::string& bytes) {
    size_t start = 0;
    bool utf16 = false, bigEndian = false;
    auto b = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 2 && b(0) == 0xFF && b(1) == 0xFE) {
        utf16 = true;
        start = 2;
    } else if (bytes.size() >= 2 && b(0) == 0xFE && b(1) == 0xFF) {
        utf16 = bigEndian = true;
        start = 2;
    } else if (bytes.size() >= 2 && b(0) == '<' && b(1) == 0) {
        utf16 = true;
    } else if (bytes.size() >= 2 && b(0) == 0 && b(1) == '<') {
        utf16 = bigEndian = true;
    }
    if (!utf16) {
        if (bytes.size() >= 3 && b(0) == 0xEF && b(1) == 0xBB && b(2) == 0xBF)
            return bytes.substr(3);
        return bytes;
    }
    std::string out;
    out.reserve(bytes.size() / 2);
    auto unit = [&](size_t i) -> uint32_t {
        return bigEndian ? (b(i) << 8 | b(i + 1)) : (b(i + 1) << 8 | b(i));
    };
    for (size_t i = start; i + 1 < bytes.size(); i += 2) {
        uint32_t cp = unit(i);
        if (cp >= 0xD800 && cp < 0xDC00 && i + 3 < bytes.size()) {
            uint32_t lo = unit(i + 2);
            if (lo >= 0xDC00 && lo < 0xE000) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
                i += 2;
            } else {
                cp = 0xFFFD;
            }
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        out += EncodeUtf8(cp);
    }
    return out;
}

int LineOf(const std::string& text, ptrdiff_t offset) {
    if (offset < 0) return 0;
    size_t end = std::min(static_cast<size_t>(offset), text.size());
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + end, '\n'));
}

struct BuildContext {
    std::string file;  // for messages
    const std::string* text = nullptr;
    std::vector<size_t> lineStarts;  // offsets where each line begins, for messages
    IDialogBuilderCallback* callback = nullptr;
    CPaintManagerUI* manager = nullptr;
};

// Every element asks for its line (for messages about it): a binary search over the
// line starts keeps building linear in the size of the file.
int LineOf(const BuildContext& ctx, const pugi::xml_node& node) {
    ptrdiff_t offset = node.offset_debug();
    if (offset < 0 || ctx.lineStarts.empty()) return 0;
    auto it = std::upper_bound(ctx.lineStarts.begin(), ctx.lineStarts.end(),
                               static_cast<size_t>(offset));
    return static_cast<int>(it - ctx.lineStarts.begin());
}

void AddFontElement(const BuildContext& ctx, const pugi::xml_node& node) {
    if (!ctx.manager) return;
    TFontInfo font;
    font.family = node.attribute("name").as_string("Sans");
    font.size = attr::ParseInt(node.attribute("size").value(), 12);
    font.bold = attr::ParseBool(node.attribute("bold").value());
    font.italic = attr::ParseBool(node.attribute("italic").value());
    font.underline = attr::ParseBool(node.attribute("underline").value());
    if (pugi::xml_attribute id = node.attribute("id"))
        ctx.manager->AddFont(attr::ParseInt(id.value()), font);
    if (attr::ParseBool(node.attribute("default").value()))
        ctx.manager->SetDefaultFont(font);
}

CControlUI* BuildElement(const BuildContext& ctx, const pugi::xml_node& node, CControlUI* parent);

// Children of node into parent; returns the first control made.
CControlUI* BuildChildren(const BuildContext& ctx, const pugi::xml_node& node, CControlUI* parent) {
    CControlUI* first = nullptr;
    for (pugi::xml_node child : node.children()) {
        if (child.type() != pugi::node_element) continue;
        const char* tag = child.name();
        if (std::strcmp(tag, "Font") == 0) {
            AddFontElement(ctx, child);
            continue;
        }
        if (std::strcmp(tag, "Default") == 0) {
            if (ctx.manager)
                ctx.manager->AddDefaultAttributeList(child.attribute("name").as_string(),
                                                     child.attribute("value").as_string());
            continue;
        }
        if (std::strcmp(tag, "Image") == 0) continue;  // pictures load on first use
        CControlUI* made = BuildElement(ctx, child, parent);
        if (made && !first) first = made;
        // Without a parent only one root makes sense: the rest would leak.
        if (made && !parent && made != first) {
            g_debug("%s:%d: <%s>: a second root control is ignored", ctx.file.c_str(),
                    LineOf(ctx, child), tag);
            std::unique_ptr<CControlUI> ignored(made);
        }
    }
    return first;
}

CControlUI* BuildElement(const BuildContext& ctx, const pugi::xml_node& node, CControlUI* parent) {
    const char* tag = node.name();
    std::unique_ptr<CControlUI> control(CreateBuiltinControl(tag));
    if (!control && ctx.callback) control.reset(ctx.callback->CreateControl(tag));
    if (!control) {
        CStdString name;
        if (node.attribute("name")) name.Format(" name=\"%s\"", node.attribute("name").as_string());
        g_debug("%s:%d: unknown element <%s%s>, skipped with its children", ctx.file.c_str(),
                LineOf(ctx, node), tag, name.c_str());
        return nullptr;
    }
    {
        CLayoutContext where(ctx.file.c_str(), tag, LineOf(ctx, node));
        if (ctx.manager) {
            if (const char* defaults = ctx.manager->GetDefaultAttributeList(tag))
                control->ApplyAttributeList(defaults);
        }
        for (pugi::xml_attribute a : node.attributes()) control->SetAttribute(a.name(), a.value());
    }
    auto* container = static_cast<CContainerUI*>(control->GetInterface("Container"));
    if (container) {
        BuildChildren(ctx, node, container);
    } else if (node.first_child().type() == pugi::node_element) {
        g_debug("%s:%d: <%s> holds no controls: its children are skipped", ctx.file.c_str(),
                LineOf(ctx, node), tag);
    }
    if (parent) {
        auto* target = static_cast<CContainerUI*>(parent->GetInterface("Container"));
        if (!target || !target->Add(control.get())) {
            g_debug("%s:%d: <%s> cannot be placed in its parent", ctx.file.c_str(),
                    LineOf(ctx, node), tag);
            return nullptr;
        }
    }
    return control.release();  // the parent, or the caller for a root, owns it now
}

// The picture files a layout names in its picture texts (file='...'), in order, once each.
std::vector<CStdString> PictureFilesIn(const std::string& text) {
    std::vector<CStdString> files;
    static const char kKey[] = "file='";
    for (size_t pos = text.find(kKey); pos != std::string::npos; pos = text.find(kKey, pos)) {
        pos += sizeof kKey - 1;
        size_t end = text.find('\'', pos);
        if (end == std::string::npos) break;
        CStdString name(text.substr(pos, end - pos));
        if (!name.empty() && std::find(files.begin(), files.end(), name) == files.end())
            files.push_back(name);
        pos = end;
    }
    return files;
}

CControlUI* Build(const std::string& bytes, const std::string& file,
                  IDialogBuilderCallback* callback, CPaintManagerUI* manager, CControlUI* parent,
                  CStdString* error) {
    std::string text = ToUtf8(bytes);
    pugi::xml_document doc;
    pugi::xml_parse_result result =
        doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!result) {
        error->Format("%s:%d: %s", file.c_str(), LineOf(text, result.offset),
                      result.description());
        return nullptr;
    }
    pugi::xml_node root = doc.document_element();
    if (!root) {
        error->Format("%s: no element", file.c_str());
        return nullptr;
    }
    BuildContext ctx;
    ctx.file = file;
    ctx.text = &text;
    ctx.lineStarts.push_back(0);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') ctx.lineStarts.push_back(i + 1);
    }
    ctx.callback = callback;
    ctx.manager = manager;
    CControlUI* made = nullptr;
    if (std::strcmp(root.name(), "Window") == 0) {
        if (manager) {
            manager->SetLayoutFile(file.c_str());
            for (pugi::xml_attribute a : root.attributes())
                manager->SetWindowAttribute(a.name(), a.value());
        }
        made = BuildChildren(ctx, root, parent);
    } else {
        made = BuildElement(ctx, root, parent);
    }
    if (!made) error->Format("%s: no control could be made", file.c_str());
    if (made && manager) manager->PrefetchImages(PictureFilesIn(text));
    return made;
}

}  // namespace

void RegisterControlClass(const char* tag, ControlFactoryFn create) {
    if (!tag || !create) return;
    Registry()[tag] = create;
}

CControlUI* CreateBuiltinControl(const char* tag) {
    if (!tag) return nullptr;
    if (Registry().empty()) RegisterBuiltinControls();
    auto it = Registry().find(tag);
    return it == Registry().end() ? nullptr : it->second();
}

void RegisterBuiltinControls() {
    static const struct {
        const char* tag;
        ControlFactoryFn create;
    } kBuiltins[] = {
        {"Control", &Make<CControlUI>},
        {"Container", &Make<CContainerUI>},
        {"VerticalLayout", &Make<CVerticalLayoutUI>},
        {"HorizontalLayout", &Make<CHorizontalLayoutUI>},
        {"TabLayout", &Make<CTabLayoutUI>},
        {"Label", &Make<CLabelUI>},
        {"Text", &Make<CTextUI>},
        {"Button", &Make<CButtonUI>},
        {"Option", &Make<COptionUI>},
        {"CheckBox", &Make<CCheckBoxUI>},
    };
    for (const auto& b : kBuiltins) RegisterControlClass(b.tag, b.create);
#ifdef ORVELLA_HAVE_REGISTER_MORE
    // Edit, Combo, Slider, Progress, ScrollBar and the list family.
    RegisterListAndInputControls();
#endif
}

CControlUI* CDialogBuilder::Create(const char* xmlFile, IDialogBuilderCallback* callback,
                                   CPaintManagerUI* manager, CControlUI* parent) {
    m_error.clear();
    if (!xmlFile || !*xmlFile) {
        m_error = "no layout file given";
        return nullptr;
    }
    std::string path = xmlFile;
    if (path[0] != '/') path = CPaintManagerUI::GetResourcePath() + path;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        m_error.Format("%s: cannot be read", path.c_str());
        return nullptr;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return Build(bytes, path, callback, manager, parent, &m_error);
}

CControlUI* CDialogBuilder::CreateFromString(const char* xml, IDialogBuilderCallback* callback,
                                             CPaintManagerUI* manager, CControlUI* parent) {
    m_error.clear();
    if (!xml) {
        m_error = "no layout text given";
        return nullptr;
    }
    return Build(xml, "(layout text)", callback, manager, parent, &m_error);
}

}  // namespace uilib
