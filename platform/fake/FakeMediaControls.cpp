#include "platform/fake/FakeMediaControls.h"

#include <utility>

namespace platform {

void FakeMediaControls::Offer(HWND hwnd, UINT message, const MediaFormats& formats, PositionSource position) {
    offered_ = true;
    hwnd_ = hwnd;
    message_ = message;
    formats_ = formats;
    position_ = std::move(position);
}

std::vector<MediaRequest> FakeMediaControls::TakeRequests() { return std::exchange(requests_, {}); }

void FakeMediaControls::Publish(const MediaPlayerState& state, const std::vector<std::string>& changed) {
    state_ = state;
    changed_.insert(changed_.end(), changed.begin(), changed.end());
}

bool FakeMediaControls::Call(MediaRequest request) {
    if (!offered_) return false;
    requests_.push_back(std::move(request));
    return ::PostMessage(hwnd_, message_, 0, 0);
}

}  // namespace platform
