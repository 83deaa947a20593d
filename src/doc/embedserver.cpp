#include "doc/embedserver.h"

namespace {

CEmbeddedDrawingServer* g_server = nullptr;

}  // namespace

CEmbeddedDrawingServer* EmbeddedDrawingServer()
{
    return g_server;
}

CEmbeddedDrawingServer* InstallEmbeddedDrawingServer(CEmbeddedDrawingServer* server)
{
    CEmbeddedDrawingServer* old = g_server;
    g_server = server;
    return old;
}
