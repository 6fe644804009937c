// Where the attributes being applied come from (the layout file and element), so a
// control can say which line of which file holds an attribute it does not know.
#pragma once

#include "uilib/Base.h"

namespace uilib {

class CControlUI;

class CLayoutContext {
public:
    // Marks the element being built; nested scopes restore the outer element.
    CLayoutContext(const char* file, const char* tag, int line);
    ~CLayoutContext();
    CLayoutContext(const CLayoutContext&) = delete;
    CLayoutContext& operator=(const CLayoutContext&) = delete;

    // The innermost element being built, or nullptr outside a builder.
    static const CLayoutContext* Current();
    const CStdString& File() const { return m_file; }
    const CStdString& Tag() const { return m_tag; }
    int Line() const { return m_line; }

    // Reports an attribute a control does not know on standard error.
    static void ReportUnknownAttribute(const CControlUI* control, const char* name,
                                       const char* value);

private:
    CStdString m_file, m_tag;
    int m_line = 0;
    const CLayoutContext* m_outer = nullptr;
};

}  // namespace uilib
