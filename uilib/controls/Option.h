// A button with a selected state: a radio button when it has a group (selecting one
// deselects the others of the group in the same window), a check box otherwise.
// Layout tags "Option" and "CheckBox"; without pictures it draws its own box and tick.
#pragma once

#include "uilib/controls/Button.h"

namespace uilib {

class COptionUI : public CButtonUI {
public:
    COptionUI();
    ~COptionUI() override;

    const char* GetClass() const override;          // "OptionUI"
    void* GetInterface(const char* name) override;  // "Option"

    bool Activate() override;  // toggles (check box) or selects (group); "selectchanged"
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;

    const CStdString& GetGroup() const { return m_sGroupName; }
    void SetGroup(const char* groupName);
    bool IsSelected() const { return m_bSelected; }
    // Changes the selection; sends "selectchanged" when it changed (unless quiet).
    virtual void Selected(bool selected, bool sendNotify = true);

    const CStdString& GetSelectedImage() const { return m_sSelectedImage; }
    void SetSelectedImage(const char* image);
    const CStdString& GetSelectedHotImage() const { return m_sSelectedHotImage; }
    void SetSelectedHotImage(const char* image);
    const CStdString& GetSelectedForeImage() const { return m_sSelectedForeImage; }
    void SetSelectedForeImage(const char* image);
    void SetSelectedTextColor(DWORD c);
    DWORD GetSelectedTextColor() const { return m_dwSelectedTextColor; }
    void SetSelectedBkColor(DWORD c);
    DWORD GetSelectedBkColor() const { return m_dwSelectedBkColor; }
    // Draws the box-and-tick look of a check box (tag "CheckBox").
    void SetCheckBoxLook(bool checkBox) { m_bCheckBoxLook = checkBox; }
    bool IsCheckBoxLook() const { return m_bCheckBoxLook; }

    SIZE EstimateSize(SIZE available) override;
    void SetAttribute(const char* name, const char* value) override;
    DWORD GetEffectiveTextColor() const override;
    void PaintBkColor(cairo_t* cr) override;
    void PaintStatusImage(cairo_t* cr) override;
    void PaintText(cairo_t* cr) override;

protected:
    DWORD GetStateBkColor() const override;
    void PaintCheckBox(cairo_t* cr);
    // Left edge of the text: right of the drawn box for the check box look.
    int CheckBoxTextOffset() const;

    bool m_bSelected = false;
    bool m_bCheckBoxLook = false;
    CStdString m_sGroupName;
    CStdString m_sSelectedImage;
    CStdString m_sSelectedHotImage;
    CStdString m_sSelectedForeImage;
    DWORD m_dwSelectedTextColor = 0;
    DWORD m_dwSelectedBkColor = 0;
};

}  // namespace uilib
