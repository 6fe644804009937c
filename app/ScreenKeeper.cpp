#include "app/ScreenKeeper.h"

#include "app/PlayerView.h"
#include "app/StartupRules.h"
#include "engine/MediaInfo.h"

namespace orvella {

HasVideo VideoOf(const MediaInfo& media) {
    if (media.audioOnly) return HasVideo::No;
    return media.videoWidth > 0 || media.displayWidth > 0 ? HasVideo::Yes : HasVideo::NotKnown;
}

bool KeepScreenOn(const ScreenActivity& now, bool keptOn) {
    if (now.minimised || now.play != PlayState::Playing) return false;
    return now.video == HasVideo::NotKnown ? keptOn : now.video == HasVideo::Yes;
}

ScreenKeeper::~ScreenKeeper() { Apply(false); }

void ScreenKeeper::FollowPlayback(PlayState play, HasVideo video) {
    m_now.play = play;
    m_now.video = video;
    Follow();
}

void ScreenKeeper::FollowWindow(bool minimised) {
    m_now.minimised = minimised;
    Follow();
}

void ScreenKeeper::Follow() {
    if (KeepScreenOn(m_now, m_on)) return Apply(true);
    if (!m_on || m_settlePosted) return;
    // Let go once the step at hand is over: the next entry, started right after the
    // stop of the one before, keeps the screen on.
    m_settlePosted = m_view.Handle() && PostMessage(m_view.Handle(), WM_SCREEN_SETTLE, 0, 0);
    if (!m_settlePosted) Apply(false);
}

void ScreenKeeper::Settle() {
    m_settlePosted = false;
    Apply(KeepScreenOn(m_now, m_on));
}

void ScreenKeeper::Apply(bool on) {
    if (on == m_on || !platform::HasBackend()) return;
    m_on = on;
    if (on) platform::GetBackend().InhibitScreenSaver(kProgramTitle, "Playing a video");
    else platform::GetBackend().UninhibitScreenSaver();
}

}  // namespace orvella
