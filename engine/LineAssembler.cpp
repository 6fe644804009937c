#include "engine/LineAssembler.h"

namespace orvella {

bool LineAssembler::Append(const char* data, size_t size) {
    if (m_pending.size() + size <= m_maxLine) {
        m_pending.append(data, size);
        return true;
    }
    m_pending.clear();
    m_pending.shrink_to_fit();
    m_discarding = true;
    ++m_dropped;
    return false;
}

void LineAssembler::Reset() {
    m_pending.clear();
    m_discarding = false;
}

}  // namespace orvella
