#include "library/XmlDocument.h"

#include <glib.h>
#include <pugixml.hpp>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
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

void ReportInitializeError() { std::fputs("Error while initialize XML parse\n", stderr); }

bool IsMissing(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) != 0 && errno == ENOENT;
}

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

// Bytes that are not valid UTF-8 live in the tree as the code points U+DC80..U+DCFF (in
// pugixml's UTF-8: ED B2 80..ED B3 BF). No valid UTF-8 text holds a surrogate, so the
// escape cannot be mistaken for a real character, and the file carries it as a character
// reference, which no other writer of plain text produces.
constexpr unsigned char kEscapeLead = 0xED;

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence starting at text[i] (no overlong forms, no
// surrogates, nothing above U+10FFFF); 0 when text[i] starts none.
size_t SequenceLength(const unsigned char* text, size_t i, size_t size) {
    unsigned char c = text[i];
    if (c < 0x80) return 1;
    size_t left = size - i;
    auto follows = [&](size_t k) { return k < left && IsContinuation(text[i + k]); };
    if (c >= 0xC2 && c <= 0xDF) return follows(1) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (!follows(1) || !follows(2)) return 0;
        if (c == 0xE0 && text[i + 1] < 0xA0) return 0;
        if (c == 0xED && text[i + 1] >= 0xA0) return 0;
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (!follows(1) || !follows(2) || !follows(3)) return 0;
        if (c == 0xF0 && text[i + 1] < 0x90) return 0;
        if (c == 0xF4 && text[i + 1] > 0x8F) return 0;
        return 4;
    }
    return 0;
}

// The byte that the escape at text[i] stands for, or -1 when there is none.
int EscapedByte(const unsigned char* text, size_t i, size_t size) {
    if (text[i] != kEscapeLead || size - i < 3) return -1;
    unsigned char second = text[i + 1];
    if ((second != 0xB2 && second != 0xB3) || !IsContinuation(text[i + 2])) return -1;
    return 0x80 + ((second & 1) << 6) + (text[i + 2] & 0x3F);
}

void AppendEscape(std::string* out, unsigned char byte) {
    unsigned cp = 0xDC00u + byte;
    out->push_back(static_cast<char>(kEscapeLead));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
}

bool IsAscii(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// A value as the tree keeps it: valid UTF-8 as it is, every other byte escaped.
std::string StoredText(const std::string& value) {
    const auto* text = reinterpret_cast<const unsigned char*>(value.data());
    std::string out;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size();) {
        size_t length = SequenceLength(text, i, value.size());
        if (length == 0) {
            AppendEscape(&out, text[i]);
            ++i;
        } else {
            out.append(value, i, length);
            i += length;
        }
    }
    return out;
}

// A value as the tree keeps it, back to the caller's bytes.
std::string ReadText(const char* stored) {
    size_t size = std::strlen(stored);
    if (!std::memchr(stored, kEscapeLead, size)) return std::string(stored, size);
    const auto* text = reinterpret_cast<const unsigned char*>(stored);
    std::string out;
    out.reserve(size);
    for (size_t i = 0; i < size;) {
        int byte = EscapedByte(text, i, size);
        if (byte >= 0) {
            out.push_back(static_cast<char>(byte));
            i += 3;
        } else {
            out.push_back(stored[i++]);
        }
    }
    return out;
}

// Writes UTF-16 little-endian units into a buffer sized ahead: at most two bytes of
// output per byte of input, except for references (eight units for one to three bytes),
// before which the buffer grows as needed.
class Utf16Sink {
public:
    Utf16Sink(std::string* out, size_t inputSize) : out_(out), used_(out->size()) {
        out_->resize(used_ + 2 * inputSize + kSlack);
    }
    ~Utf16Sink() { out_->resize(used_); }

    void Unit(unsigned unit) {
        (*out_)[used_++] = static_cast<char>(unit & 0xFF);
        (*out_)[used_++] = static_cast<char>(unit >> 8);
    }
    // inputLeft: the input bytes after those the reference stands for, which still count
    // on their two bytes each.
    void Reference(unsigned cp, size_t inputLeft) {
        static const char digits[] = "0123456789ABCDEF";
        size_t needed = kSlack + 2 * inputLeft;
        if (out_->size() - used_ < needed) out_->resize(2 * out_->size() + needed);
        for (char c : {'&', '#', 'x'}) Unit(static_cast<unsigned char>(c));
        for (int k = 3; k >= 0; --k) Unit(static_cast<unsigned char>(digits[(cp >> (4 * k)) & 0xF]));
        Unit(';');
    }

private:
    static constexpr size_t kSlack = 16;
    std::string* out_;
    size_t used_;
};

// pugixml's UTF-8 output as UTF-16 little-endian. Its own conversion would drop escapes
// and stray bytes; here both become character references.
void AppendUtf16(std::string* out, const std::string& utf8) {
    const auto* text = reinterpret_cast<const unsigned char*>(utf8.data());
    const size_t size = utf8.size();
    Utf16Sink sink(out, size);
    for (size_t i = 0; i < size;) {
        unsigned char c = text[i];
        if (c < 0x80) {
            sink.Unit(c);
            ++i;
            continue;
        }
        int byte = EscapedByte(text, i, size);
        if (byte >= 0) {
            i += 3;
            sink.Reference(0xDC00u + static_cast<unsigned>(byte), size - i);
            continue;
        }
        size_t length = SequenceLength(text, i, size);
        if (length == 0) {
            ++i;
            sink.Reference(0xDC00u + c, size - i);
            continue;
        }
        unsigned cp = length == 2 ? c & 0x1Fu : length == 3 ? c & 0x0Fu : c & 0x07u;
        for (size_t k = 1; k < length; ++k) cp = cp << 6 | (text[i + k] & 0x3Fu);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            sink.Unit(0xD800 + (cp >> 10));
            sink.Unit(0xDC00 + (cp & 0x3FF));
        } else {
            sink.Unit(cp);
        }
        i += length;
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

int SetAttributeOn(pugi::xml_node node, const std::string& name, const std::string& value) {
    if (!IsName(name)) return XmlDocument::kFailed;
    pugi::xml_attribute attribute = node.attribute(name.c_str());
    if (!attribute) attribute = node.append_attribute(name.c_str());
    if (!attribute) return XmlDocument::kFailed;
    bool ok = IsAscii(value) ? attribute.set_value(value.c_str())
                             : attribute.set_value(StoredText(value).c_str());
    return ok ? XmlDocument::kOk : XmlDocument::kFailed;
}

int GetAttributeOf(pugi::xml_node node, const std::string& name, std::string* value) {
    pugi::xml_attribute attribute = node.attribute(name.c_str());
    if (!attribute) return XmlDocument::kFailed;
    *value = ReadText(attribute.value());
    return XmlDocument::kOk;
}

}  // namespace

int XmlElement::SetAttribute(const std::string& name, const std::string& value) {
    if (!node_) return XmlDocument::kFailed;
    return SetAttributeOn(pugi::xml_node(node_), name, value);
}

int XmlElement::GetAttribute(const std::string& name, std::string* value) const {
    if (!node_ || !value) return XmlDocument::kFailed;
    return GetAttributeOf(pugi::xml_node(node_), name, value);
}

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
    if (!ReadWholeFile(path, &bytes)) {
        document_.reset();
        // A file that is not there yet (the first start) is no error at all; the others
        // matter to a developer, not to the user, who gets the defaults either way.
        if (!IsMissing(path)) g_debug("%s: cannot be read", path.c_str());
        return false;
    }
    pugi::xml_parse_result result =
        document_->load_buffer(bytes.data(), bytes.size(), kParseFlags, pugi::encoding_auto);
    if (!result) {
        g_debug("%s: not loaded: %s at byte %td", path.c_str(), result.description(),
                result.offset);
    } else if (!HasSingleDocumentElement(*document_)) {
        g_debug("%s: not loaded: not one document element", path.c_str());
    } else {
        return true;
    }
    document_.reset();
    return false;
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

namespace {

// The child element `name` between a line feed and a tab before it and a line feed after.
pugi::xml_node AppendIndented(pugi::xml_node parent, const std::string& name) {
    bool ok = parent.append_child(pugi::node_pcdata).set_value("\n\t");
    pugi::xml_node child = ok ? parent.append_child(name.c_str()) : pugi::xml_node();
    if (!child || !parent.append_child(pugi::node_pcdata).set_value("\n")) return pugi::xml_node();
    return child;
}

}  // namespace

int XmlDocument::AddElement(const std::string& name, const std::string& parentPath) {
    if (!document_ || !IsName(name)) return kFailed;
    std::vector<pugi::xml_node> parents = Select(parentPath);
    if (parents.empty()) return kNotFound;
    return AppendIndented(parents.front(), name) ? kOk : kFailed;
}

XmlElement XmlDocument::AppendElement(const std::string& name, XmlElement parent) {
    if (!document_ || !parent || !IsName(name)) return XmlElement();
    return XmlElement(AppendIndented(pugi::xml_node(parent.node_), name).internal_object());
}

XmlElement XmlDocument::Element(const std::string& path, size_t index) const {
    std::vector<pugi::xml_node> nodes = Select(path);
    return index < nodes.size() ? XmlElement(nodes[index].internal_object()) : XmlElement();
}

std::vector<XmlElement> XmlDocument::Elements(const std::string& path) const {
    std::vector<pugi::xml_node> nodes = Select(path);
    std::vector<XmlElement> elements;
    elements.reserve(nodes.size());
    for (const pugi::xml_node& node : nodes) elements.push_back(XmlElement(node.internal_object()));
    return elements;
}

int XmlDocument::SetAttribute(const std::string& path, const std::string& name,
                              const std::string& value, size_t index) {
    if (!document_ || !IsName(name)) return kFailed;
    std::vector<pugi::xml_node> nodes = Select(path);
    if (index >= nodes.size()) return kNotFound;
    return SetAttributeOn(nodes[index], name, value);
}

int XmlDocument::GetAttribute(const std::string& path, const std::string& name, std::string* value,
                              size_t index) const {
    if (!document_ || !value) return kFailed;
    std::vector<pugi::xml_node> nodes = Select(path);
    if (index >= nodes.size()) return kNotFound;
    return GetAttributeOf(nodes[index], name, value);
}

std::string XmlDocument::Serialize() const {
    std::string bytes("\xFF\xFE", 2);
    AppendAsciiUtf16(&bytes, kDeclaration);
    AppendAsciiUtf16(&bytes, "\n");
    if (!document_) return bytes;
    // Printed as UTF-8 and converted here, so that escaped bytes reach the file.
    std::string text;
    StringWriter writer(&text);
    for (pugi::xml_node node : document_->children()) {
        // Our own declaration replaces any loaded one: the file is UTF-16 whatever it was.
        if (node.type() == pugi::node_declaration || node.type() == pugi::node_pcdata) continue;
        node.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
        text.push_back('\n');
    }
    AppendUtf16(&bytes, text);
    return bytes;
}

int XmlDocument::Save() {
    if (!document_ || path_.empty()) return kFailed;
    return WriteFileAtomically(path_, Serialize()) ? kOk : kFailed;
}

}  // namespace orvella
