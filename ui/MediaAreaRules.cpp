#include "ui/MediaAreaRules.h"

#include <algorithm>

namespace orvella {

namespace {
constexpr int kTopStripHeight = 20;
constexpr int kBottomStripHeight = 30;

bool Inside(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}
}  // namespace

BarRequests BarsForPointer(const RECT& media, POINT point, bool checkTop) {
    BarRequests requests;
    if (checkTop) {
        const RECT strip{media.left, 0, media.right, kTopStripHeight};
        requests.topBar = Inside(strip, point) ? BarRequest::Show : BarRequest::Hide;
    }
    const RECT bottom{media.left, media.bottom - kBottomStripHeight, media.right, media.bottom};
    requests.bottomBars = Inside(bottom, point) ? BarRequest::Show : BarRequest::Hide;
    return requests;
}

RECT VideoWindowRect(const RECT& media, int clientWidth) {
    RECT rc = media;
    rc.left = std::max<LONG>(rc.left, 1);
    rc.right = std::min<LONG>(rc.right, clientWidth - 1);
    return rc;
}

}  // namespace orvella
