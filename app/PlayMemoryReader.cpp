#include "app/PlayMemoryReader.h"

#include <utility>

#include "library/XmlDocument.h"

namespace orvella {

void PlayMemoryReader::Start(std::shared_ptr<const std::string> file, HWND window, UINT message) {
    Wait();
    m_thread = std::thread([this, file = std::move(file), window, message] {
        XmlDocument document;
        document.Salvage(std::string(), file.get());
        m_record = ReadMedia(document);
        m_damaged = document.IsDamaged();
        PostMessage(window, message, 0, 0);
    });
}

bool PlayMemoryReader::Take(MediaRecord* record, bool* damaged) {
    if (!m_thread.joinable()) return false;
    m_thread.join();
    *record = std::move(m_record);
    *damaged = m_damaged;
    m_record = MediaRecord();
    return true;
}

}  // namespace orvella
