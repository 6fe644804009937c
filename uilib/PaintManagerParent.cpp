// The resources a manager takes from its parent (the window that owns it): the chain of
// parents, kept free of managers that are gone, and the default colours along it.
#include "uilib/PaintManager.h"

#include <algorithm>

#include "uilib/ResourceCache.h"

namespace uilib {

void CPaintManagerUI::UseParentResource(CPaintManagerUI* parent) {
    // A chain must end: refuse a parent that leads back here.
    for (CPaintManagerUI* p = parent; p; p = p->GetParentResource())
        if (p == this) return;
    if (m_pParentResourcePM) {
        std::vector<CPaintManagerUI*>& users = m_pParentResourcePM->m_resourceUsers;
        users.erase(std::remove(users.begin(), users.end(), this), users.end());
    }
    m_pParentResourcePM = parent;
    if (parent) parent->m_resourceUsers.push_back(this);
}

void CPaintManagerUI::HandResourceUsersTo(CPaintManagerUI* heir) {
    // Copied first: each hand-over edits the list.
    const std::vector<CPaintManagerUI*> users = m_resourceUsers;
    for (CPaintManagerUI* user : users) {
        user->UseParentResource(heir);
        // A heir that leads back to the user is refused: the user then has none.
        if (user->m_pParentResourcePM == this) user->UseParentResource(nullptr);
    }
}

DWORD CPaintManagerUI::GetDefaultFontColor() const {
    if (m_dwDefaultFontColor) return m_dwDefaultFontColor;
    if (m_pParentResourcePM) return m_pParentResourcePM->GetDefaultFontColor();
    return CResourceCache::Default().GetDefaultFontColor();
}

DWORD CPaintManagerUI::GetDefaultDisabledColor() const {
    if (m_dwDefaultDisabledColor) return m_dwDefaultDisabledColor;
    if (m_pParentResourcePM) return m_pParentResourcePM->GetDefaultDisabledColor();
    return CResourceCache::Default().GetDefaultDisabledColor();
}

DWORD CPaintManagerUI::GetDefaultSelectedBkColor() const {
    if (m_dwDefaultSelectedBkColor) return m_dwDefaultSelectedBkColor;
    if (m_pParentResourcePM) return m_pParentResourcePM->GetDefaultSelectedBkColor();
    return CResourceCache::Default().GetDefaultSelectedBkColor();
}

}  // namespace uilib
