// The desktop's media controls for tests: the test plays the controller, calling the
// player's methods and reading what it published and announced.
#pragma once

#include <string>
#include <vector>

#include "platform/MediaControls.h"

namespace platform {

class FakeMediaControls : public MediaControls {
public:
    void Offer(HWND hwnd, UINT message, const MediaFormats& formats, PositionSource position) override;
    void Withdraw() override { offered_ = false, position_ = nullptr; }
    std::vector<MediaRequest> TakeRequests() override;
    void Publish(const MediaPlayerState& state, const std::vector<std::string>& changed) override;
    void AnnounceSeek(int64_t positionMicros) override { seeks_.push_back(positionMicros); }

    bool Offered() const { return offered_; }
    const MediaFormats& Formats() const { return formats_; }
    // A controller's call: queued and the message posted (the test delivers it). False
    // while the player is not offered.
    bool Call(MediaRequest request);
    const MediaPlayerState& State() const { return state_; }
    int64_t Position() const { return position_ ? position_() : 0; }
    // Every property announced as changed and every seek announced, in order, since the
    // last ClearAnnouncements.
    const std::vector<std::string>& Changed() const { return changed_; }
    const std::vector<int64_t>& Seeks() const { return seeks_; }
    void ClearAnnouncements() { changed_.clear(), seeks_.clear(); }

private:
    bool offered_ = false;
    HWND hwnd_ = nullptr;
    UINT message_ = 0;
    MediaFormats formats_;
    PositionSource position_;
    std::vector<MediaRequest> requests_;
    MediaPlayerState state_;
    std::vector<std::string> changed_;
    std::vector<int64_t> seeks_;
};

}  // namespace platform
