// Turns the chunks read from the engine's pipe into lines. A line ends at a line feed
// or a carriage return (the engine ends most lines with "\n", a few with "\r\n", and
// its status lines with a bare "\r"); empty lines carry nothing and are not handed on.
// A chunk may end anywhere, even between "\r" and "\n": the unfinished part waits for
// the next chunk. A line that grows past the limit without an end is dropped whole, up
// to its end, so output without line ends cannot take unbounded memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvella {

class LineAssembler {
public:
    static constexpr size_t kDefaultMaxLine = 64 * 1024;

    explicit LineAssembler(size_t maxLine = kDefaultMaxLine) : m_maxLine(maxLine) {}

    // Calls onLine(std::string_view) for every line that the chunk completes, in order.
    // The view is valid only during the call.
    template <typename OnLine>
    void Feed(const char* data, size_t size, OnLine&& onLine);

    const std::string& Pending() const { return m_pending; }  // the unfinished line
    uint64_t DroppedLines() const { return m_dropped; }        // overlong lines dropped
    void Reset();

private:
    // Adds text to the unfinished line; false when the line has become too long.
    bool Append(const char* data, size_t size);

    std::string m_pending;
    size_t m_maxLine;
    bool m_discarding = false;  // inside an overlong line: skip up to its end
    uint64_t m_dropped = 0;
};

template <typename OnLine>
void LineAssembler::Feed(const char* data, size_t size, OnLine&& onLine) {
    const char* const end = data + size;
    const char* start = data;
    for (const char* p = data; p != end; ++p) {
        if (*p != '\n' && *p != '\r') continue;
        const size_t length = static_cast<size_t>(p - start);
        if (m_discarding) {
            m_discarding = false;  // the overlong line ends here
        } else if (!m_pending.empty()) {
            if (Append(start, length)) onLine(std::string_view(m_pending));
            m_pending.clear();
            m_discarding = false;
        } else if (length > m_maxLine) {
            ++m_dropped;
        } else if (length != 0) {
            onLine(std::string_view(start, length));
        }
        start = p + 1;
    }
    if (start != end && !m_discarding) Append(start, static_cast<size_t>(end - start));
}

}  // namespace orvella
