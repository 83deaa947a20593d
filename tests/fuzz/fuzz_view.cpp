// libFuzzer target: random bytes loaded as a drawing, then drawn, measured,
// picked and snapped in a small plan view.
#include "drawing_view.h"

#include "platform/msgbox.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
    // Nothing on this road may ask the user anything.
    SetMessageBoxHandler([](const std::string& text, unsigned) -> int {
        std::fprintf(stderr, "message box while viewing a drawing: %s\n", text.c_str());
        std::abort();
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LoadAndViewDrawing(data, size);
    return 0;
}
