#include "app/mainwnd.h"
#include "app/startup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zepa");
    const std::unique_ptr<Cwm_MainWnd> frame = InitInstance(QApplication::arguments());
    return app.exec();
}
