#include "view2d/viewtools.h"

#include <stdexcept>

namespace {

CViewTools* g_tools = nullptr;

}  // namespace

CViewTools& ViewTools()
{
    if (!g_tools)
        throw std::logic_error("the plan view's tools are not installed");
    return *g_tools;
}

CViewTools* InstallViewTools(CViewTools* tools)
{
    CViewTools* old = g_tools;
    g_tools = tools;
    return old;
}
