// libFuzzer target: random bytes pasted as the clipboard's "ZP_FORMAT" data
// into a new drawing, which is then rendered whole and block by block; and
// the same bytes read as an object copied here, drawn when they read.
#include "clipboard_paste.h"
#include "platform/msgbox.h"
#include "platform/oleitem.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
    // Nothing on this road may ask the user anything.
    SetMessageBoxHandler([](const std::string& text, unsigned) -> int {
        std::fprintf(stderr, "message box while pasting: %s\n", text.c_str());
        std::abort();
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!PasteAndRender(std::span<const BYTE>(data, size)))
        std::abort();  // a paste that failed added records
    return 0;
}
