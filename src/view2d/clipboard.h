// The clipboard: selected records in the drawing's own format "ZP_FORMAT",
// their paste into a drawing, and an area of the drawing as a picture.
#pragma once

#include <QByteArray>
#include <QImage>

class CPointd;
class CRectaDoc;
class CRectaView;

// The private type under which the records travel.
inline constexpr char kZpFormatMime[] = "application/x-ZP_FORMAT";

// The view's selected records on the clipboard; nothing when none is selected.
void CopyObjectsToClipboard(CRectaView& view);
// The clipboard's "ZP_FORMAT" records added to the view's drawing with one
// undo state. Data that do not read as a drawing add nothing and are reported.
void PasteObjectsFromClipboard(CRectaView& view);

// The window with corners a and b as the plan view shows it, one drawing unit
// a centimetre at 96 pixels an inch (the picture an embedded drawing shows),
// recorded once and played as vector SVG and as an image.
struct AreaPicture {
    QByteArray svg;
    QImage image;
    bool cut = false;  // the recording or its plays left calls out
};
// False, with nothing made, for an area without width or height or too large.
bool MakeAreaPicture(const CRectaDoc& doc, const CPointd& a, const CPointd& b, AreaPicture& picture);
// That picture on the clipboard, as "image/svg+xml" and as an image.
void CopyAreaToClipboardAsMetafile(CRectaView& view, const CPointd& a, const CPointd& b);
