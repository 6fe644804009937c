#include "ui/SliderUIText.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <unordered_map>

#include "uilib/AttributeValue.h"
#include "uilib/RenderEngine.h"

namespace orvella {

using uilib::CRenderEngine;
using uilib::CStdString;
using uilib::DT_NOPREFIX;
using uilib::DT_SINGLELINE;
using uilib::DT_WORDBREAK;
using uilib::UISTATE_CAPTURED;
using uilib::UISTATE_HOT;

namespace {
constexpr DWORD kDefaultFillColor = 0xFF3D8FE0;  // the fill of the drawn look, as the plain slider's
constexpr int kTrackThickness = 4;
// The labels' colour on the background's hue (the library's HSL scale, 0-100).
constexpr float kLabelSaturation = 60.0f;
constexpr float kLabelLuminance = 90.0f;

float ParseFloat(const char* value, float fallback) {
    if (!value) return fallback;
    char* end = nullptr;
    float parsed = std::strtof(value, &end);
    return end == value ? fallback : parsed;
}
}  // namespace

void* CSliderUIText::GetInterface(const char* name) {
    if (uilib::attr::IsName(name, "SliderText")) return this;
    return CSliderUI::GetInterface(name);
}

void CSliderUIText::SetTextCount(int count) { m_nTextCount = count; Invalidate(); }
void CSliderUIText::SetMinText(float value) { m_fMinText = value; Invalidate(); }
void CSliderUIText::SetMaxText(float value) { m_fMaxText = value; Invalidate(); }
void CSliderUIText::SetSliderHeight(int height) { m_nSliderHeight = std::max(0, height); Invalidate(); }

std::vector<CSliderUIText::ScaleLabel> CSliderUIText::ScaleLabels(int count, float minText,
                                                                  float maxText, int width) {
    std::vector<ScaleLabel> labels;
    for (int i = 0; i < count; ++i) {
        float t = count > 1 ? static_cast<float>(i) / static_cast<float>(count - 1) : 0.0f;
        int x = static_cast<int>(t * static_cast<float>(width - kLabelWidth));
        labels.push_back({x, CStdString::Printf("%.1f", minText + t * (maxText - minText))});
    }
    return labels;
}

CSliderUIText::Range CSliderUIText::NormalRange() const {
    Range r{m_nMin, m_nMax, m_nValue};
    if (r.min >= r.max) r.max = r.min + 1;
    r.value = std::clamp(r.value, r.min, r.max);
    return r;
}

RECT CSliderUIText::Band() const {
    RECT band = m_rcItem;
    band.bottom = std::min(m_rcItem.bottom, m_rcItem.top + m_nSliderHeight);
    return band;
}

CStdString CSliderUIText::Dest(const RECT& rc) const {
    return CStdString::Printf("dest='%d,%d,%d,%d'", static_cast<int>(rc.left - m_rcItem.left),
                              static_cast<int>(rc.top - m_rcItem.top),
                              static_cast<int>(rc.right - m_rcItem.left),
                              static_cast<int>(rc.bottom - m_rcItem.top));
}

RECT CSliderUIText::GetBandThumbRect() const {
    const Range r = NormalRange();
    // The scale runs left to right, so the thumb does too, whatever "hor" says.
    const long long travel = m_rcItem.right - m_rcItem.left - m_szThumb.cx;
    LONG left = m_rcItem.left + static_cast<LONG>(travel * (r.value - r.min) / (r.max - r.min));
    LONG top = m_rcItem.top + (m_nSliderHeight - m_szThumb.cy) / 2;
    return RECT{left, top, left + m_szThumb.cx, top + m_szThumb.cy};
}

DWORD CSliderUIText::GetEffectiveTextColor() const {
    if (IsEnabled() && m_bAutoTextColor) {
        DWORD background = 0;
        for (const uilib::CControlUI* c = GetParent(); c; c = c->GetParent())
            if (DWORD own = c->GetEffectiveBkColor()) background = own;  // the outermost wins
        if (background) {
            float hue, saturation, luminance;
            uilib::RGBtoHSL(background, &hue, &saturation, &luminance);
            return (background & 0xFF000000u) | uilib::HSLtoRGB(hue, kLabelSaturation, kLabelLuminance);
        }
    }
    return CSliderUI::GetEffectiveTextColor();
}

void CSliderUIText::SetAttribute(const char* name, const char* value) {
    using Setter = void (*)(CSliderUIText*, const char*);
    static const std::unordered_map<std::string, Setter> table = {
        {"textcount",
         [](CSliderUIText* c, const char* v) { c->SetTextCount(uilib::attr::ParseInt(v, c->m_nTextCount)); }},
        {"mintext", [](CSliderUIText* c, const char* v) { c->SetMinText(ParseFloat(v, c->m_fMinText)); }},
        {"maxtext", [](CSliderUIText* c, const char* v) { c->SetMaxText(ParseFloat(v, c->m_fMaxText)); }},
        {"sliderheight",
         [](CSliderUIText* c, const char* v) {
             c->SetSliderHeight(uilib::attr::ParseInt(v, c->m_nSliderHeight));
         }},
    };
    auto it = name ? table.find(name) : table.end();
    if (it != table.end()) it->second(this, value ? value : "");
    else CSliderUI::SetAttribute(name, value);
}

void CSliderUIText::PaintBkColor(cairo_t* cr) {
    CControlUI::PaintBkColor(cr);  // not the plain slider's track, which spans the whole height
    if (GetEffectiveBkColor() != 0 || !m_sBkImage.empty()) return;
    RECT track = Band();
    track.left += m_szThumb.cx / 2;
    track.right -= m_szThumb.cx / 2;
    track.top = (track.top + track.bottom - kTrackThickness) / 2;
    track.bottom = track.top + kTrackThickness;
    CRenderEngine::FillRoundRect(cr, track, kTrackThickness, kTrackThickness, m_dwTrackColor);
}

void CSliderUIText::PaintBkImage(cairo_t* cr) {
    if (!m_sBkImage.empty()) DrawImage(cr, m_sBkImage.c_str(), Dest(Band()).c_str());
}

void CSliderUIText::PaintStatusImage(cairo_t* cr) {
    const Range r = NormalRange();
    const RECT band = Band();
    const RECT thumb = GetBandThumbRect();
    if (!m_sForeImage.empty()) {
        RECT fore = band;
        if (m_bHorizontal)
            fore.right = m_rcItem.left + static_cast<LONG>(static_cast<long long>(r.value - r.min) *
                                                           (m_rcItem.right - m_rcItem.left) / (r.max - r.min));
        else
            fore.top = m_rcItem.top + static_cast<LONG>(static_cast<long long>(m_nSliderHeight) *
                                                        (r.max - r.value) / (r.max - r.min));
        DrawImage(cr, m_sForeImage.c_str(), Dest(fore).c_str());
    } else if (m_sBkImage.empty() && GetEffectiveBkColor() == 0) {
        // The drawn look: the track filled up to the thumb's centre.
        RECT fill{band.left + m_szThumb.cx / 2, (band.top + band.bottom - kTrackThickness) / 2,
                  (thumb.left + thumb.right) / 2, 0};
        fill.bottom = fill.top + kTrackThickness;
        DWORD color = !IsEnabled() ? 0x80808080 : (m_dwForeColor ? m_dwForeColor : kDefaultFillColor);
        CRenderEngine::FillRoundRect(cr, fill, kTrackThickness, kTrackThickness, color);
    }

    const CStdString* image = &m_sThumbImage;
    if ((m_uButtonState & UISTATE_CAPTURED) && !m_sThumbPushedImage.empty()) image = &m_sThumbPushedImage;
    else if ((m_uButtonState & UISTATE_HOT) && !m_sThumbHotImage.empty()) image = &m_sThumbHotImage;
    if (!image->empty() && DrawImage(cr, image->c_str(), Dest(thumb).c_str())) return;
    // The drawn thumb: a round knob.
    CRenderEngine::FillRoundRect(cr, thumb, m_szThumb.cx, m_szThumb.cy,
                                 IsEnabled() ? m_dwThumbColor : 0xFFB0B0B0);
    CRenderEngine::DrawRoundRect(cr, thumb, 1, m_szThumb.cx, m_szThumb.cy, m_dwThumbBorderColor);
}

void CSliderUIText::PaintText(cairo_t* cr) {
    const DWORD color = GetEffectiveTextColor();
    const UINT style = (m_uTextStyle & ~DT_WORDBREAK) | DT_SINGLELINE | DT_NOPREFIX;
    for (const ScaleLabel& label : ScaleLabels(m_nTextCount, m_fMinText, m_fMaxText, GetWidth())) {
        RECT rc{m_rcItem.left + label.x, m_rcItem.top + m_nSliderHeight,
                m_rcItem.left + label.x + kLabelWidth, m_rcItem.bottom};
        if (rc.bottom <= rc.top) return;
        CRenderEngine::DrawText(cr, m_pManager, rc, label.text.c_str(), color, m_iFont, style);
    }
}

}  // namespace orvella
