#include "uilib/LayoutContext.h"

#include <glib.h>

#include "uilib/Control.h"

namespace uilib {

namespace {
thread_local const CLayoutContext* t_current = nullptr;
}

CLayoutContext::CLayoutContext(const char* file, const char* tag, int line)
    : m_file(file), m_tag(tag), m_line(line), m_outer(t_current) {
    t_current = this;
}

CLayoutContext::~CLayoutContext() { t_current = m_outer; }

const CLayoutContext* CLayoutContext::Current() { return t_current; }

void CLayoutContext::ReportUnknownAttribute(const CControlUI* control, const char* name,
                                            const char* value) {
    const CLayoutContext* ctx = t_current;
    CStdString where;
    if (ctx) {
        where.Format("%s:%d: <%s", ctx->File().empty() ? "(layout)" : ctx->File().c_str(),
                     ctx->Line(), ctx->Tag().c_str());
    } else {
        where.Format("(code): <%s", control ? control->GetClass() : "?");
    }
    CStdString controlName = control ? control->GetName() : CStdString();
    if (!controlName.empty()) where += " name=\"" + controlName + "\"";
    // For the layout's author; the layout builds all the same.
    g_debug("%s>: unknown attribute %s=\"%s\"", where.c_str(), name ? name : "", value ? value : "");
}

}  // namespace uilib
