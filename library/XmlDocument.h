// The one wrapper through which the program's own XML files are read and written.
//
// Callers address elements by plain paths from the document node ("root/Player",
// "root/Hotkey/Pause"): element names separated by "/", every element matching the path
// counted in document order from 0. Every stored value is an attribute string, kept whole
// and exact whatever its length and bytes: line breaks and tabs are written as character
// references; a value XML cannot hold (bytes that are not UTF-8, control characters) is
// written readable, those bytes shown as U+FFFD, and exactly in a second attribute
// "<name>.bytes" that the reader prefers while it still matches. Every file stays
// well-formed XML 1.0. Files are read in UTF-8 or UTF-16 (with or without a byte-order
// mark) and written in UTF-16 little-endian with a byte-order mark and the declaration
// <?xml version='1.0' encoding='UTF-16'?>, replaced atomically.
//
// The writer pattern: Open, else Create; RemoveRoot; CreateRoot; AddElement and
// SetAttribute for each section; Save. A document lives within one call of its user.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace pugi {
class xml_document;
class xml_node;
struct xml_node_struct;
}  // namespace pugi

namespace orvella {

// One element of a document, held directly. Long lists use it where addressing every
// element by path and index would walk the document again for each call. It stays valid
// while its element is in its document; an empty handle fails every call.
class XmlElement {
public:
    XmlElement() = default;
    explicit operator bool() const { return node_ != nullptr; }
    // As XmlDocument::SetAttribute and GetAttribute on this element (GetAttribute: 0 or -1).
    int SetAttribute(const std::string& name, const std::string& value);
    int GetAttribute(const std::string& name, std::string* value) const;
    bool operator==(const XmlElement& other) const { return node_ == other.node_; }
    bool operator!=(const XmlElement& other) const { return node_ != other.node_; }

private:
    friend class XmlDocument;
    explicit XmlElement(pugi::xml_node_struct* node) : node_(node) {}
    pugi::xml_node_struct* node_ = nullptr;
};

class XmlDocument {
public:
    // Status codes of the editing operations.
    static constexpr int kOk = 0;
    static constexpr int kNotFound = 1;   // the path selected nothing; nothing changed
    static constexpr int kFailed = -1;    // no document, a name that is not an XML name,
                                          // an attribute that is not there, a failed write

    XmlDocument();
    ~XmlDocument();
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    enum class FileState { Whole, Missing, Damaged };

    // A new, empty document (only the declaration) that Save will write to `path`.
    bool Create(const std::string& path);
    // Loads `path`. False for a missing or unreadable file and for a document that is not
    // read whole: not well-formed, not a single document element, nested deeper than a
    // file of ours ever is, holding a NUL; the object then holds no document.
    bool Open(const std::string& path);
    // Loads `path` as Open does, but from a damaged file keeps what was read whole before
    // the damage: the first document element, every element whose start tag was read, and
    // of the one the damage cut (CutElement) the attributes read whole. Damaged for an
    // unreadable file too. IsLoaded() says whether any element was kept.
    FileState Salvage(const std::string& path);
    // As Salvage, from the bytes read from `path` already; nullptr: they could not be read.
    FileState Salvage(const std::string& path, const std::string* bytes);
    // Whether the file Salvage loaded was damaged.
    bool IsDamaged() const { return damaged_; }
    // The element whose start tag the damage cut, so a reader can leave out an incomplete
    // record; empty when none.
    XmlElement CutElement() const;

    // Removes the document element "root" with everything below it (one element at a
    // time, however deep); kNotFound when there is none.
    int RemoveRoot();
    // Makes a new, empty "root" the document element. A document has one element only,
    // so any other top-level element still present is dropped first.
    int CreateRoot();
    // Under the first element matching `parentPath`: a line feed and a tab, the new element
    // `name`, a line feed.
    int AddElement(const std::string& name, const std::string& parentPath);
    // Sets (creates or replaces) the attribute on the index-th element matching `path`.
    int SetAttribute(const std::string& path, const std::string& name, const std::string& value,
                     size_t index = 0);
    // 0: found, *value holds it; 1: no index-th element; -1: the element has no such
    // attribute, or there is no document. *value is untouched unless the result is 0.
    int GetAttribute(const std::string& path, const std::string& name, std::string* value,
                     size_t index = 0) const;
    // The index-th element matching `path`, as the path calls count them; empty when none.
    XmlElement Element(const std::string& path, size_t index = 0) const;
    // Every element matching `path` in document order: entry i is the element that index
    // i addresses in the path calls. One walk for the whole list.
    std::vector<XmlElement> Elements(const std::string& path) const;
    // AddElement under a held parent: the same text and element, handed back (empty when
    // it failed).
    XmlElement AppendElement(const std::string& name, XmlElement parent);

    // Writes the whole document to the path given to Create or Open.
    int Save();

    const std::string& GetPath() const { return path_; }
    bool IsLoaded() const { return document_ != nullptr; }

    // The file's bytes as Save writes them (for tests and for writers of other files).
    std::string Serialize() const;

private:
    std::vector<pugi::xml_node> Select(const std::string& path) const;
    // Reads and parses the file, trimmed to what was read whole; *why says what was wrong.
    FileState Load(const std::string& path, std::string* why);
    FileState Parse(const std::string& path, const std::string* bytes, std::string* why);

    std::string path_;
    std::unique_ptr<pugi::xml_document> document_;
    bool damaged_ = false;
    pugi::xml_node_struct* cut_ = nullptr;
};

}  // namespace orvella
