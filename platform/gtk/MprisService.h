// The player on the session bus as an MPRIS 2 media player: the object
// /org/mpris/MediaPlayer2 under the name "org.mpris.MediaPlayer2.orvella", or, while
// another instance holds that, "org.mpris.MediaPlayer2.orvella.instance<pid>". Its
// connection is its own and made without waiting, so the start never waits for a bus;
// without one there is simply no service.
#pragma once

#include <memory>
#include <string>

#include "platform/MediaControls.h"

namespace platform {
namespace gtk {

class MprisService : public MediaControls {
public:
    MprisService();
    ~MprisService() override;
    MprisService(const MprisService&) = delete;
    MprisService& operator=(const MprisService&) = delete;

    void Offer(HWND hwnd, UINT message, const MediaFormats& formats, PositionSource position) override;
    void Withdraw() override;
    std::vector<MediaRequest> TakeRequests() override;
    void Publish(const MediaPlayerState& state, const std::vector<std::string>& changed) override;
    void AnnounceSeek(int64_t positionMicros) override;

    // The name the player holds on the bus; empty until it holds one.
    std::string BusName() const;

    struct State;  // shared with the bus callbacks, which may outlive an offer briefly

private:
    std::shared_ptr<State> state_;
};

}  // namespace gtk
}  // namespace platform
