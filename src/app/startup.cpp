#include "app/startup.h"

#include "app/mainwnd.h"

std::unique_ptr<Cwm_MainWnd> InitInstance(const QStringList& arguments)
{
    auto frame = std::make_unique<Cwm_MainWnd>();
    frame->show();
    if (arguments.size() < 2 || !frame->OpenDocumentFile(arguments.at(1).toStdString()))
        frame->NewDocument();
    return frame;
}
