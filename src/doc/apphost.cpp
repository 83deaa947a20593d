#include "doc/apphost.h"

namespace {

class CNoHost final : public CAppHost {
public:
    void SetPaneText(int, const std::string&) override {}
    void CountNewDocument() override {}
};

CNoHost g_noHost;
CAppHost* g_host = nullptr;

}  // namespace

CAppHost& AppHost()
{
    return g_host ? *g_host : g_noHost;
}

CAppHost* InstallAppHost(CAppHost* host)
{
    CAppHost* old = g_host;
    g_host = host;
    return old;
}
