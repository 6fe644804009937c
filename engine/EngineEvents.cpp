#include "engine/EngineEvents.h"

#include <iomanip>
#include <locale>
#include <memory>
#include <mutex>
#include <sstream>
#include <unordered_map>

namespace orvella {
namespace {

struct EventKind {
    const char* name;
    EnginePayload payload;
};

// Indexed by code.
constexpr EventKind kEventKinds[] = {
    {"EV_EXIT", EnginePayload::None},
    {"EV_OPEN_FAILED", EnginePayload::None},
    {"EV_VIDEO_WIDTH", EnginePayload::Value},
    {"EV_VIDEO_HEIGHT", EnginePayload::Value},
    {"EV_VIDEO_ASPECT", EnginePayload::Float},
    {"EV_LENGTH", EnginePayload::Float},
    {"EV_TIME_POSITION", EnginePayload::Float},
    {"EV_DVD_MENU", EnginePayload::None},
    {"EV_DVD_MOVIE", EnginePayload::None},
    {"EV_DEMUXER", EnginePayload::Text},
    {"EV_VIDEO_CODEC", EnginePayload::Text},
    {"EV_VIDEO_BITRATE", EnginePayload::Integer},
    {"EV_VIDEO_FPS", EnginePayload::Float},
    {"EV_AUDIO_CODEC", EnginePayload::Text},
    {"EV_AUDIO_BITRATE", EnginePayload::Integer},
    {"EV_AUDIO_RATE", EnginePayload::Integer},
    {"EV_AUDIO_CHANNELS", EnginePayload::Integer},
    {"EV_AUDIO_ONLY", EnginePayload::None},
    {"EV_FILE_SUB_ID", EnginePayload::Integer},
    {"EV_BLURAY_TITLE_LENGTH", EnginePayload::Float},
    {"EV_SCREENSHOT", EnginePayload::Value},
    {"EV_VIDEO_OUTPUT_SIZE", EnginePayload::Text},
    {"EV_PLAYBACK_STARTED", EnginePayload::None},
    {"EV_ENGINE_GONE", EnginePayload::Text},
};
static_assert(sizeof(kEventKinds) / sizeof(kEventKinds[0]) == EV_LAST + 1, "one entry per code");

bool IsHeapPayload(EnginePayload p) {
    return p == EnginePayload::Integer || p == EnginePayload::Float || p == EnginePayload::Text;
}

struct PayloadBox {
    HWND target = nullptr;
    EngineEvent event;
};

// Heap copies between posting and taking. lParam holds the box's address; a lookup
// here decides whether an lParam is a live box, so a stale or forged one is harmless.
class PayloadTable {
public:
    LPARAM Add(HWND target, const EngineEvent& event) {
        auto box = std::make_unique<PayloadBox>();
        box->target = target;
        box->event = event;
        PayloadBox* key = box.get();
        std::lock_guard<std::mutex> lock(mutex_);
        boxes_.emplace(key, std::move(box));
        return reinterpret_cast<LPARAM>(key);
    }
    std::unique_ptr<PayloadBox> Take(LPARAM lParam) {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = boxes_.find(reinterpret_cast<PayloadBox*>(lParam));
        if (it == boxes_.end()) return nullptr;
        std::unique_ptr<PayloadBox> box = std::move(it->second);
        boxes_.erase(it);
        return box;
    }
    size_t DiscardFor(HWND target) {
        std::lock_guard<std::mutex> lock(mutex_);
        size_t freed = 0;
        for (auto it = boxes_.begin(); it != boxes_.end();) {
            if (it->second->target == target) {
                it = boxes_.erase(it);
                ++freed;
            } else {
                ++it;
            }
        }
        return freed;
    }
    size_t Size() {
        std::lock_guard<std::mutex> lock(mutex_);
        return boxes_.size();
    }

private:
    std::mutex mutex_;
    std::unordered_map<PayloadBox*, std::unique_ptr<PayloadBox>> boxes_;
};

PayloadTable& Payloads() {
    static PayloadTable table;  // its destructor frees whatever was never taken
    return table;
}

}  // namespace

EnginePayload PayloadOf(WPARAM code) {
    return code <= EV_LAST ? kEventKinds[code].payload : EnginePayload::None;
}

const char* EngineEventName(WPARAM code) { return code <= EV_LAST ? kEventKinds[code].name : "EV_?"; }

EngineEvent EngineEvent::Plain(WPARAM code) {
    EngineEvent e;
    e.code = code;
    return e;
}
EngineEvent EngineEvent::Number(WPARAM code, int number) {
    EngineEvent e;
    e.code = code;
    e.number = number;
    return e;
}
EngineEvent EngineEvent::Real(WPARAM code, float real) {
    EngineEvent e;
    e.code = code;
    e.real = real;
    return e;
}
EngineEvent EngineEvent::Text(WPARAM code, std::string text) {
    EngineEvent e;
    e.code = code;
    e.text = std::move(text);
    return e;
}

bool EngineEvent::operator==(const EngineEvent& other) const {
    if (code != other.code) return false;
    switch (PayloadOf(code)) {
    case EnginePayload::None: return true;
    case EnginePayload::Value:
    case EnginePayload::Integer: return number == other.number;
    case EnginePayload::Float: return real == other.real;
    case EnginePayload::Text: return text == other.text;
    }
    return true;
}

std::string DescribeEngineEvent(const EngineEvent& event) {
    std::string out = EngineEventName(event.code);
    switch (PayloadOf(event.code)) {
    case EnginePayload::None: break;
    case EnginePayload::Value:
    case EnginePayload::Integer: out += " " + std::to_string(event.number); break;
    case EnginePayload::Float: {
        std::ostringstream number;
        number.imbue(std::locale::classic());
        number << ' ' << std::setprecision(4) << event.real;
        out += number.str();
        break;
    }
    case EnginePayload::Text: out += " \"" + event.text + "\""; break;
    }
    return out;
}

bool PostEngineEvent(HWND window, const EngineEvent& event) {
    if (event.code > EV_LAST || !window) return false;
    const EnginePayload kind = PayloadOf(event.code);
    if (!IsHeapPayload(kind)) {
        LPARAM value = kind == EnginePayload::Value ? static_cast<LPARAM>(event.number) : 0;
        return PostMessage(window, WM_ENGINE_EVENT, event.code, value);
    }
    const LPARAM box = Payloads().Add(window, event);
    if (PostMessage(window, WM_ENGINE_EVENT, event.code, box)) return true;
    Payloads().Take(box);  // the window is gone: nobody will take it
    return false;
}

bool TakeEngineEvent(WPARAM wParam, LPARAM lParam, EngineEvent* out) {
    if (wParam > EV_LAST) return false;
    const EnginePayload kind = PayloadOf(wParam);
    EngineEvent event;
    if (IsHeapPayload(kind)) {
        std::unique_ptr<PayloadBox> box = Payloads().Take(lParam);
        if (!box || box->event.code != wParam) return false;
        event = std::move(box->event);
    } else {
        event.code = wParam;
        if (kind == EnginePayload::Value) event.number = static_cast<int>(lParam);
    }
    if (out) *out = std::move(event);
    return true;
}

size_t DiscardEngineEvents(HWND window) { return Payloads().DiscardFor(window); }

size_t OutstandingEnginePayloads() { return Payloads().Size(); }

}  // namespace orvella
