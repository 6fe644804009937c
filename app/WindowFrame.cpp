#include "app/WindowFrame.h"

namespace orvella {

namespace {
constexpr int kCaptionInset = 5;
constexpr int kBorder = 2;
// Controls that keep their clicks inside the caption band.
constexpr const char* kClickableInCaption[] = {"ButtonUI", "OptionUI", "TextUI", "CMenuUI"};

bool IsClickable(const std::string& cls) {
    for (const char* name : kClickableInCaption) {
        if (cls == name) return true;
    }
    return false;
}
}  // namespace

RECT MainWindowCaptionArea(const RECT& client, int captionHeight) {
    RECT rc = client;
    rc.left += kCaptionInset;
    rc.top += kCaptionInset;
    rc.right -= kCaptionInset;
    rc.bottom = client.top + captionHeight;
    return rc;
}

LRESULT MainWindowHitTest(const RECT& client, POINT pt, int captionHeight,
                          const std::string& classUnderPoint) {
    RECT caption = MainWindowCaptionArea(client, captionHeight);
    if (pt.x >= caption.left && pt.x < caption.right && pt.y >= caption.top &&
        pt.y < caption.bottom) {
        if (!classUnderPoint.empty() && !IsClickable(classUnderPoint)) return HTCAPTION;
        return HTCLIENT;
    }
    bool left = pt.x <= client.left + kBorder;
    bool right = pt.x >= client.right - kBorder;
    bool top = pt.y <= client.top + kBorder;
    bool bottom = pt.y >= client.bottom - kBorder;
    // The corner order matters: right-and-bottom wins over the others.
    if (left && top) return HTTOPLEFT;
    if (right && bottom) return HTBOTTOMRIGHT;
    if (right && top) return HTTOPRIGHT;
    if (left && bottom) return HTBOTTOMLEFT;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    if (top) return HTTOP;
    if (bottom) return HTBOTTOM;
    return HTCLIENT;
}

RegionPlan MainWindowRegion(const RECT& client, SIZE roundCorner, bool minimized, bool fullScreen) {
    RegionPlan plan;
    if (minimized || (roundCorner.cx == 0 && roundCorner.cy == 0)) return plan;
    plan.region.rect = client;
    if (fullScreen) {
        plan.change = RegionChange::Rectangle;
        plan.region.rounded = false;
        return plan;
    }
    plan.change = RegionChange::Rounded;
    plan.region.rounded = true;
    plan.region.rect.right += 1;
    plan.region.rect.bottom += 1;
    plan.region.cornerWidth = roundCorner.cx;
    plan.region.cornerHeight = roundCorner.cy;
    return plan;
}

}  // namespace orvella
