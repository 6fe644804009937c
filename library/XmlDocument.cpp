#include "library/XmlDocument.h"

#include <pugixml.hpp>

#include <cstdio>
#include <new>

#include "library/AtomicFile.h"

namespace orvella {
namespace {

// As a fragment, text outside the document element stays in the tree, so that
// HasSingleDocumentElement can refuse it.
constexpr unsigned kParseFlags = pugi::parse_default | pugi::parse_declaration | pugi::parse_pi |
                                 pugi::parse_comments | pugi::parse_ws_pcdata |
                                 pugi::parse_fragment;
constexpr const char* kDeclaration = "<?xml version='1.0' encoding='UTF-16'?>";

// The two lines the XML layer reports; they go where a developer looks, never to the user.
void ReportInitializeError() { std::fputs("Error while initialize XML parse\n", stderr); }
void ReportLoadError() { std::fputs("Error while loading .xml\n", stderr); }

class StringWriter : public pugi::xml_writer {
public:
    explicit StringWriter(std::string* out) : out_(out) {}
    void write(const void* data, size_t size) override {
        out_->append(static_cast<const char*>(data), size);
    }

private:
    std::string* out_;
};

void AppendAsciiUtf16(std::string* out, const char* text) {
    for (; *text; ++text) {
        out->push_back(*text);
        out->push_back('\0');
    }
}

bool IsNameStart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
}

bool IsName(const std::string& name) {
    if (name.empty() || !IsNameStart(static_cast<unsigned char>(name[0]))) return false;
    for (unsigned char c : name) {
        if (!IsNameStart(c) && !(c >= '0' && c <= '9') && c != '-' && c != '.') return false;
    }
    return true;
}

bool IsWhiteSpace(const char* text) {
    for (; *text; ++text) {
        if (*text != ' ' && *text != '\t' && *text != '\n' && *text != '\r') return false;
    }
    return true;
}

// pugixml accepts more than a well-formed document: no element, several top-level elements,
// text beside the document element. Such files are refused like any other malformed one.
bool HasSingleDocumentElement(const pugi::xml_document& document) {
    int elements = 0;
    for (pugi::xml_node node : document.children()) {
        switch (node.type()) {
            case pugi::node_element: ++elements; break;
            case pugi::node_pcdata:
                if (!IsWhiteSpace(node.value())) return false;
                break;
            case pugi::node_cdata: return false;
            default: break;
        }
    }
    return elements == 1;
}

}  // namespace

XmlDocument::XmlDocument() = default;
XmlDocument::~XmlDocument() = default;

bool XmlDocument::Create(const std::string& path) {
    document_.reset();
    path_ = path;
    document_.reset(new (std::nothrow) pugi::xml_document);
    if (!document_) {
        ReportInitializeError();
        return false;
    }
    return true;
}

bool XmlDocument::Open(const std::string& path) {
    if (!Create(path)) return false;
    std::string bytes;
    bool loaded = ReadWholeFile(path, &bytes);
    if (loaded) {
        pugi::xml_parse_result result =
            document_->load_buffer(bytes.data(), bytes.size(), kParseFlags, pugi::encoding_auto);
        loaded = result && HasSingleDocumentElement(*document_);
    }
    if (!loaded) {
        document_.reset();
        ReportLoadError();
    }
    return loaded;
}

std::vector<pugi::xml_node> XmlDocument::Select(const std::string& path) const {
    std::vector<pugi::xml_node> current;
    if (!document_ || path.empty()) return current;
    current.push_back(*document_);
    size_t begin = 0;
    for (;;) {
        size_t end = path.find('/', begin);
        std::string name = path.substr(begin, end == std::string::npos ? end : end - begin);
        if (name.empty()) return {};
        // Children of earlier parents come first: the result stays in document order.
        std::vector<pugi::xml_node> next;
        for (const pugi::xml_node& parent : current) {
            for (pugi::xml_node child : parent.children(name.c_str())) {
                if (child.type() == pugi::node_element) next.push_back(child);
            }
        }
        current.swap(next);
        if (current.empty() || end == std::string::npos) return current;
        begin = end + 1;
    }
}

int XmlDocument::RemoveRoot() {
    if (!document_) return kFailed;
    pugi::xml_node root = document_->child("root");
    if (!root) return kNotFound;
    return document_->remove_child(root) ? kOk : kFailed;
}

int XmlDocument::CreateRoot() {
    if (!document_) return kFailed;
    for (pugi::xml_node node = document_->first_child(); node;) {
        pugi::xml_node next = node.next_sibling();
        if (node.type() == pugi::node_element) document_->remove_child(node);
        node = next;
    }
    return document_->append_child("root") ? kOk : kFailed;
}

int XmlDocument::AddElement(const std::string& name, const std::string& parentPath) {
    if (!document_ || !IsName(name)) return kFailed;
    std::vector<pugi::xml_node> parents = Select(parentPath);
    if (parents.empty()) return kNotFound;
    pugi::xml_node parent = parents.front();
    bool ok = parent.append_child(pugi::node_pcdata).set_value("\n\t") &&
              parent.append_child(name.c_str()) &&
              parent.append_child(pugi::node_pcdata).set_value("\n");
    return ok ? kOk : kFailed;
}

int XmlDocument::SetAttribute(const std::string& path, const std::string& name,
                              const std::string& value, size_t index) {
    if (!document_ || !IsName(name)) return kFailed;
    std::vector<pugi::xml_node> nodes = Select(path);
    if (index >= nodes.size()) return kNotFound;
    pugi::xml_attribute attribute = nodes[index].attribute(name.c_str());
    if (!attribute) attribute = nodes[index].append_attribute(name.c_str());
    return attribute && attribute.set_value(value.c_str()) ? kOk : kFailed;
}

int XmlDocument::GetAttribute(const std::string& path, const std::string& name, std::string* value,
                              size_t index) const {
    if (!document_ || !value) return kFailed;
    std::vector<pugi::xml_node> nodes = Select(path);
    if (index >= nodes.size()) return kNotFound;
    pugi::xml_attribute attribute = nodes[index].attribute(name.c_str());
    if (!attribute) return kFailed;
    *value = attribute.value();
    return kOk;
}

std::string XmlDocument::Serialize() const {
    std::string bytes("\xFF\xFE", 2);
    AppendAsciiUtf16(&bytes, kDeclaration);
    AppendAsciiUtf16(&bytes, "\n");
    if (!document_) return bytes;
    StringWriter writer(&bytes);
    for (pugi::xml_node node : document_->children()) {
        // Our own declaration replaces any loaded one: the file is UTF-16 whatever it was.
        if (node.type() == pugi::node_declaration || node.type() == pugi::node_pcdata) continue;
        node.print(writer, "", pugi::format_raw, pugi::encoding_utf16_le);
        AppendAsciiUtf16(&bytes, "\n");
    }
    return bytes;
}

int XmlDocument::Save() {
    if (!document_ || path_.empty()) return kFailed;
    return WriteFileAtomically(path_, Serialize()) ? kOk : kFailed;
}

}  // namespace orvella
