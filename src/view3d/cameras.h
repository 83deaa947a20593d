// The drawing's six cameras and six lights as the plan view shows and picks them.
#pragma once

class CDC;
class CRectaDoc;
class CRectaView;
class CPointd;

// Camera or light choice (a list of six); sets the document's current index. 1 OK, 2 Cancel.
int DoSelCamaraDlg(CRectaView* view);
int DoSelecLuzDlg(CRectaView* view);
// Every camera and its target, each joined to the other by a dotted line.
void ShowCamaras(CDC& dc, double scale, double ox, double oy, const CRectaDoc& doc);
// A camera symbol (a small square) or a target symbol (a small cross) at p.
void DrawCamara(CDC& dc, double scale, double ox, double oy, const CRectaDoc& doc, int index, const CPointd& p);
void DrawObjetivo(CDC& dc, double scale, double ox, double oy, const CRectaDoc& doc, int index, const CPointd& p);
