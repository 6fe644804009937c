#include "library/XmlDocument.h"

#include <glib.h>
#include <pugixml.hpp>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

#include "library/AtomicFile.h"
#include "library/XmlTree.h"

namespace orvella {
namespace {

// As a fragment, text outside the document element stays in the tree, so that the trimming
// can see it.
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

unsigned CodePoint(const unsigned char* text, size_t length) {
    unsigned cp = length == 1 ? text[0] : length == 2 ? text[0] & 0x1Fu : length == 3 ? text[0] & 0x0Fu : text[0] & 0x07u;
    for (size_t k = 1; k < length; ++k) cp = cp << 6 | (text[k] & 0x3Fu);
    return cp;
}

// The characters an XML 1.0 document may hold at all, even as a reference.
bool IsXmlChar(unsigned cp) {
    return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) ||
           (cp >= 0xE000 && cp <= 0xFFFD) || cp >= 0x10000;
}

// Calls each(piece, length, carried) for every piece of value: a character, or a byte
// that starts none. carried: XML can hold it.
template <typename Each>
void ForEachPiece(const std::string& value, Each each) {
    const auto* text = reinterpret_cast<const unsigned char*>(value.data());
    for (size_t i = 0; i < value.size();) {
        const size_t length = SequenceLength(text, i, value.size());
        const size_t step = length > 0 ? length : 1;
        each(text + i, step, length > 0 && IsXmlChar(CodePoint(text + i, length)));
        i += step;
    }
}

bool IsXmlText(const std::string& value) {
    bool plain = true;
    ForEachPiece(value, [&](const unsigned char*, size_t, bool carried) { plain = plain && carried; });
    return plain;
}

// What an XML file can show of value: every byte it cannot carry as U+FFFD.
std::string ReadableText(const std::string& value) {
    std::string out;
    out.reserve(value.size());
    ForEachPiece(value, [&](const unsigned char* piece, size_t length, bool carried) {
        if (carried) out.append(reinterpret_cast<const char*>(piece), length);
        else out += "\xEF\xBF\xBD";
    });
    return out;
}

// File names are bytes, and XML holds only characters. A value that is not plain XML text
// is stored readable in its own attribute and byte for byte beside it, in an attribute
// that only this reader knows: other programs still read the name, and we get it back
// exactly. The exact form keeps printable ASCII and escapes every other byte as %XX.
const char kExactSuffix[] = ".bytes";

std::string ExactForm(const std::string& value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : value) {
        if (c >= 0x20 && c < 0x7F && c != '%') {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back('%');
            out.push_back(digits[c >> 4]);
            out.push_back(digits[c & 0xF]);
        }
    }
    return out;
}

// The bytes of an exact form; false when it is damaged.
bool FromExactForm(const std::string& form, std::string* value) {
    value->clear();
    for (size_t i = 0; i < form.size(); ++i) {
        if (form[i] != '%') {
            value->push_back(form[i]);
            continue;
        }
        unsigned byte = 0;
        for (size_t k = 1; k <= 2; ++k) {
            const int digit = i + k < form.size() ? g_ascii_xdigit_value(form[i + k]) : -1;
            if (digit < 0) return false;
            byte = byte << 4 | static_cast<unsigned>(digit);
        }
        value->push_back(static_cast<char>(byte));
        i += 2;
    }
    return true;
}

// Files written before the exact form existed carried such bytes as the references
// &#xDC80;..&#xDCFF;, which pugixml reads as ED B2 80..ED B3 BF: those still come back as
// the bytes.
std::string FromOldEscapes(const char* stored) {
    const size_t size = std::strlen(stored);
    if (!std::memchr(stored, 0xED, size)) return std::string(stored, size);
    std::string out;
    const auto* text = reinterpret_cast<const unsigned char*>(stored);
    for (size_t i = 0; i < size; ++i) {
        if (text[i] == 0xED && i + 2 < size && (text[i + 1] == 0xB2 || text[i + 1] == 0xB3) &&
            IsContinuation(text[i + 2])) {
            out.push_back(static_cast<char>(0x80 + ((text[i + 1] & 1) << 6) + (text[i + 2] & 0x3F)));
            i += 2;
        } else {
            out.push_back(stored[i]);
        }
    }
    return out;
}

// pugixml's UTF-8 output as UTF-16 little-endian. Every value the tree holds is XML
// text; what a loaded file brought in that is not (stray bytes) becomes U+FFFD, so that
// the file written stays well-formed.
void AppendUtf16(std::string* out, const std::string& utf8) {
    out->reserve(out->size() + 2 * utf8.size());
    auto unit = [out](unsigned u) {
        out->push_back(static_cast<char>(u & 0xFF));
        out->push_back(static_cast<char>(u >> 8));
    };
    ForEachPiece(utf8, [&](const unsigned char* piece, size_t length, bool carried) {
        unsigned cp = carried ? CodePoint(piece, length) : 0xFFFD;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            unit(0xD800 + (cp >> 10));
            unit(0xDC00 + (cp & 0x3FF));
        } else {
            unit(cp);
        }
    });
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

int SetAttributeOn(pugi::xml_node node, const std::string& name, const std::string& value) {
    if (!IsName(name)) return XmlDocument::kFailed;
    pugi::xml_attribute attribute = node.attribute(name.c_str());
    if (!attribute) attribute = node.append_attribute(name.c_str());
    if (!attribute) return XmlDocument::kFailed;
    const std::string exactName = name + kExactSuffix;
    if (IsXmlText(value)) {
        node.remove_attribute(exactName.c_str());
        return attribute.set_value(value.c_str()) ? XmlDocument::kOk : XmlDocument::kFailed;
    }
    pugi::xml_attribute exact = node.attribute(exactName.c_str());
    if (!exact) exact = attribute.next_attribute() ? node.insert_attribute_after(exactName.c_str(), attribute)
                                                   : node.append_attribute(exactName.c_str());
    const bool ok = exact && attribute.set_value(ReadableText(value).c_str()) &&
                    exact.set_value(ExactForm(value).c_str());
    return ok ? XmlDocument::kOk : XmlDocument::kFailed;
}

int GetAttributeOf(pugi::xml_node node, const std::string& name, std::string* value) {
    pugi::xml_attribute attribute = node.attribute(name.c_str());
    if (!attribute) return XmlDocument::kFailed;
    // The exact form counts only while it still matches the readable value: another
    // program may have changed that one and left ours behind.
    pugi::xml_attribute exact = node.attribute((name + kExactSuffix).c_str());
    std::string bytes;
    if (exact && FromExactForm(exact.value(), &bytes) && ReadableText(bytes) == attribute.value()) {
        *value = std::move(bytes);
    } else {
        *value = FromOldEscapes(attribute.value());
    }
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
    damaged_ = false;
    cut_ = nullptr;
    path_ = path;
    document_.reset(new (std::nothrow) pugi::xml_document);
    if (!document_) {
        ReportInitializeError();
        return false;
    }
    return true;
}

bool XmlDocument::Open(const std::string& path) {
    std::string why;
    if (Load(path, &why) == FileState::Whole) return true;
    if (!why.empty()) g_debug("%s: not loaded: %s", path.c_str(), why.c_str());
    document_.reset();
    return false;
}

XmlDocument::FileState XmlDocument::Salvage(const std::string& path) {
    std::string bytes;
    const bool read = ReadWholeFile(path, &bytes);
    return Salvage(path, read ? &bytes : nullptr);
}

XmlDocument::FileState XmlDocument::Salvage(const std::string& path, const std::string* bytes) {
    std::string why;
    const FileState state = Parse(path, bytes, &why);
    if (!why.empty())
        g_debug("%s: damaged: %s; what was read whole before it is kept", path.c_str(), why.c_str());
    if (!document_ || !document_->document_element()) document_.reset();
    return state;
}

XmlDocument::FileState XmlDocument::Load(const std::string& path, std::string* why) {
    std::string bytes;
    const bool read = ReadWholeFile(path, &bytes);
    return Parse(path, read ? &bytes : nullptr, why);
}

XmlDocument::FileState XmlDocument::Parse(const std::string& path, const std::string* bytes,
                                          std::string* why) {
    if (!Create(path)) return FileState::Damaged;
    if (!bytes) {
        document_.reset();
        // A file that is not there yet (the first start) is no error at all; the others
        // matter to a developer, not to the user, who gets the defaults either way.
        if (IsMissing(path)) return FileState::Missing;
        g_debug("%s: cannot be read", path.c_str());
        damaged_ = true;
        return FileState::Damaged;
    }
    pugi::xml_parse_result result =
        document_->load_buffer(bytes->data(), bytes->size(), kParseFlags, pugi::encoding_auto);
    TreeDamage damage = TrimToWhole(*document_, result);
    if (damage.what.empty() && HoldsNulCharacter(*bytes)) damage.what = "a NUL character";
    if (damage.what.empty()) return FileState::Whole;
    if (!result) damage.what += " at byte " + std::to_string(result.offset);
    *why = damage.what;
    damaged_ = true;
    cut_ = damage.cut.internal_object();
    return FileState::Damaged;
}

XmlElement XmlDocument::CutElement() const {
    return document_ ? XmlElement(cut_) : XmlElement();
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
    RemoveTree(root);
    return kOk;
}

int XmlDocument::CreateRoot() {
    if (!document_) return kFailed;
    for (pugi::xml_node node = document_->first_child(); node;) {
        pugi::xml_node next = node.next_sibling();
        if (node.type() == pugi::node_element) RemoveTree(node);
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
