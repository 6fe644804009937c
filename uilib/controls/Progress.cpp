#include "uilib/controls/Progress.h"

#include <algorithm>

#include <cairo.h>

#include "uilib/AttributeValue.h"

namespace uilib {

CProgressUI::CProgressUI() {
    m_uTextStyle = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
}

const char* CProgressUI::GetClass() const { return "ProgressUI"; }

void* CProgressUI::GetInterface(const char* name) {
    if (attr::IsName(name, "Progress")) return this;
    return CLabelUI::GetInterface(name);
}

void CProgressUI::SetHorizontal(bool horizontal) {
    if (m_bHorizontal == horizontal) return;
    m_bHorizontal = horizontal;
    Invalidate();
}

void CProgressUI::SetMinValue(int min) {
    m_nMin = min;
    if (m_nValue < m_nMin) m_nValue = m_nMin;
    Invalidate();
}

void CProgressUI::SetMaxValue(int max) {
    m_nMax = max;
    if (m_nValue > m_nMax && m_nMax >= m_nMin) m_nValue = m_nMax;
    Invalidate();
}

void CProgressUI::SetValue(int value) {
    value = std::clamp(value, m_nMin, std::max(m_nMin, m_nMax));
    if (value == m_nValue) return;
    m_nValue = value;
    Invalidate();
}

void CProgressUI::SetForeImage(const char* image) {
    m_sForeImage = image ? image : "";
    Invalidate();
}

void CProgressUI::SetForeColor(DWORD color) {
    m_dwForeColor = color;
    Invalidate();
}

RECT CProgressUI::GetForeRect(const RECT& rc) const {
    long long range = SafeMax() - m_nMin;
    long long v = std::clamp(m_nValue, m_nMin, SafeMax()) - m_nMin;
    RECT fore = rc;
    if (m_bHorizontal) {
        fore.right = rc.left + static_cast<LONG>((rc.right - rc.left) * v / range);
    } else {
        fore.top = rc.bottom - static_cast<LONG>((rc.bottom - rc.top) * v / range);
    }
    return fore;
}

void CProgressUI::SetAttribute(const char* name, const char* value) {
    if (attr::IsName(name, "hor")) SetHorizontal(attr::ParseBool(value));
    else if (attr::IsName(name, "min")) SetMinValue(attr::ParseInt(value, m_nMin));
    else if (attr::IsName(name, "max")) SetMaxValue(attr::ParseInt(value, m_nMax));
    else if (attr::IsName(name, "value")) SetValue(attr::ParseInt(value, m_nValue));
    else if (attr::IsName(name, "foreimage")) SetForeImage(value);
    else if (attr::IsName(name, "forecolor")) SetForeColor(attr::ParseColor(value));
    else CLabelUI::SetAttribute(name, value);
}

void CProgressUI::PaintStatusImage(cairo_t* cr) {
    RECT fore = GetForeRect(m_rcItem);
    if (fore.right <= fore.left || fore.bottom <= fore.top) return;
    if (m_dwForeColor != 0) CRenderEngine::DrawColor(cr, fore, m_dwForeColor);
    if (m_sForeImage.empty()) return;
    // The picture spans the whole control and is cut at the value, so it never stretches.
    cairo_save(cr);
    cairo_rectangle(cr, fore.left, fore.top, fore.right - fore.left, fore.bottom - fore.top);
    cairo_clip(cr);
    DrawImage(cr, m_sForeImage.c_str());
    cairo_restore(cr);
}

}  // namespace uilib
