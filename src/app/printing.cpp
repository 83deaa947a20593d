#include "app/printing.h"

#include "platform/imagedc.h"
#include "view2d/rectaview.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

QImage RenderPrintPage(CRectaView& view, const QSizeF& pageMm, int dpi)
{
    const int width = std::max(1, int(std::lround(pageMm.width() / 25.4 * dpi)));
    const int height = std::max(1, int(std::lround(pageMm.height() / 25.4 * dpi)));
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dotsPerMeter = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    {
        // The DC reads the resolution when the mapping mode is set.
        CImageDC dc(&image);
        dc.SetMapMode(MM_LOMETRIC);
        view.PrintPage(dc, int(std::lround(pageMm.width() * 10.0)), int(std::lround(pageMm.height() * 10.0)));
    }
    return image;
}

void PrintView(CRectaView& view, QPrinter& printer, int maxDpi)
{
    const QRectF pageMm = printer.pageLayout().paintRect(QPageLayout::Millimeter);
    if (pageMm.isEmpty())
        return;
    const int dpi = std::clamp(printer.resolution(), 72, std::max(72, maxDpi));
    const QImage page = RenderPrintPage(view, pageMm.size(), dpi);
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    painter.drawImage(QRect(0, 0, printer.width(), printer.height()), page);
    painter.end();
}
