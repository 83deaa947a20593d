// Printing a plan view's print window onto a page.
#pragma once

#include <QImage>
#include <QSizeF>

class CRectaView;
class QPrinter;

// Highest resolution at which a page is rendered; printers above it get a scaled image.
inline constexpr int kMaxPrintDpi = 300;

// The view's print window drawn onto a white page of pageMm (printable area)
// at dpi, through a low-metric mapping; the image carries that resolution.
QImage RenderPrintPage(CRectaView& view, const QSizeF& pageMm, int dpi);

// One page of view onto printer's printable area, rendered at no more than maxDpi.
void PrintView(CRectaView& view, QPrinter& printer, int maxDpi = kMaxPrintDpi);
