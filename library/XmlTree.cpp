#include "library/XmlTree.h"

#include <cstring>

namespace orvella {
namespace {

bool IsWhiteSpace(const char* text) {
    for (; *text; ++text) {
        if (*text != ' ' && *text != '\t' && *text != '\n' && *text != '\r') return false;
    }
    return true;
}

// The last node in document order (the one parsed last).
pugi::xml_node LastNode(pugi::xml_node node) {
    while (pugi::xml_node child = node.last_child()) node = child;
    return node;
}

// The first node in document order deeper than the limit; null when none.
pugi::xml_node FirstTooDeep(pugi::xml_document& document) {
    pugi::xml_node node = document.first_child();
    size_t depth = 1;
    while (node) {
        if (depth > kMaxElementDepth) return node;
        if (pugi::xml_node child = node.first_child()) {
            node = child;
            ++depth;
            continue;
        }
        while (!node.next_sibling()) {
            node = node.parent();
            --depth;
            if (node == document) return pugi::xml_node();
        }
        node = node.next_sibling();
    }
    return pugi::xml_node();
}

// Removes node and everything after it in document order.
void RemoveFrom(pugi::xml_node node) {
    for (pugi::xml_node level = node; level && level.type() != pugi::node_document; level = level.parent()) {
        while (pugi::xml_node next = level.next_sibling()) RemoveTree(next);
    }
    RemoveTree(node);
}

// Keeps the first element of the top level and white space, the declaration, comments and
// processing instructions; true when anything else had to go.
bool KeepOneDocumentElement(pugi::xml_document& document) {
    bool removed = false;
    bool seenElement = false;
    for (pugi::xml_node node = document.first_child(); node;) {
        pugi::xml_node next = node.next_sibling();
        const bool stray = (node.type() == pugi::node_element && seenElement) ||
                           node.type() == pugi::node_cdata ||
                           (node.type() == pugi::node_pcdata && !IsWhiteSpace(node.value()));
        seenElement = seenElement || node.type() == pugi::node_element;
        if (stray) {
            RemoveTree(node);
            removed = true;
        }
        node = next;
    }
    return removed || !seenElement;
}

}  // namespace

void RemoveTree(pugi::xml_node top) {
    if (!top || !top.parent()) return;
    pugi::xml_node node = top;
    for (;;) {
        if (pugi::xml_node child = node.last_child()) {
            node = child;
            continue;
        }
        pugi::xml_node parent = node.parent();
        const bool last = node == top;
        parent.remove_child(node);  // a leaf: nothing below it to recurse into
        if (last) return;
        node = parent;
    }
}

TreeDamage TrimToWhole(pugi::xml_document& document, const pugi::xml_parse_result& result) {
    TreeDamage damage;
    if (!result) {
        damage.what = result.description();
        // pugixml stops inside a start tag with these two; the element is the last node it
        // made. A cut attribute holds only part of its value and goes.
        pugi::xml_node last = LastNode(document);
        if (last.type() == pugi::node_element && (result.status == pugi::status_bad_attribute ||
                                                  result.status == pugi::status_bad_start_element)) {
            if (result.status == pugi::status_bad_attribute && last.last_attribute())
                last.remove_attribute(last.last_attribute());
            // Only the first element of the top level stays.
            pugi::xml_node top = last;
            while (top.parent() != document) top = top.parent();
            if (top == document.find_child([](pugi::xml_node n) { return n.type() == pugi::node_element; }))
                damage.cut = last;
        }
    }
    if (pugi::xml_node deep = FirstTooDeep(document)) {
        // Everything from there on goes, the cut element (always the last node) with it.
        RemoveFrom(deep);
        damage.cut = pugi::xml_node();
        if (damage.what.empty()) damage.what = "nested too deep";
    }
    if (KeepOneDocumentElement(document) && damage.what.empty()) damage.what = "not one document element";
    return damage;
}

bool HoldsNulCharacter(const std::string& bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t size = bytes.size();
    // The unit size of the encoding, told as pugixml tells it: by the byte-order mark or
    // by how the first "<" is written.
    size_t unit = 1;
    if (size >= 4 && ((b[0] == 0xFF && b[1] == 0xFE && b[2] == 0 && b[3] == 0) ||
                      (b[0] == 0 && b[1] == 0 && b[2] == 0xFE && b[3] == 0xFF) ||
                      (b[0] == '<' && b[1] == 0 && b[2] == 0 && b[3] == 0) ||
                      (b[0] == 0 && b[1] == 0 && b[2] == 0 && b[3] == '<'))) {
        unit = 4;
    } else if (size >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF) ||
                             (b[0] == '<' && b[1] == 0) || (b[0] == 0 && b[1] == '<'))) {
        unit = 2;
    }
    if (unit == 1) return std::memchr(b, 0, size) != nullptr;
    static const unsigned char zeros[4] = {0, 0, 0, 0};
    for (size_t i = 0; i + unit <= size; i += unit) {
        if (std::memcmp(b + i, zeros, unit) == 0) return true;
    }
    return false;
}

}  // namespace orvella
