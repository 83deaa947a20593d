// The drawing's small modal dialogs. Each runs one form and returns its
// result (1 OK, 2 Cancel) unless noted; values go back through references
// and change only on OK unless noted. Those that need a drawing return -1
// when given none. Typed numbers are read strictly (see ParseReal).
#pragma once

#include "model/pointd.h"
#include "platform/logfont.h"
#include "platform/types.h"

#include <functional>
#include <string>

class CRectaDoc;
class CLayer;

// Snap modes in list order; list index i is mode i + 1.
inline constexpr const char* kSnapModeNames[] = {"Intersection", "End Point", "Mid Point",
                                                 "Nearest",      "Perpendicular", "Tangent",
                                                 "Quadrant",     "Center",    "Point"};

// Longest text the text dialogs take.
constexpr std::size_t kMaxTextLength = 240;
// Longest block name (a 20-byte buffer with its terminator).
constexpr std::size_t kMaxBlockName = 19;

// ---- settings of the view and the document -------------------------------

// "APROX": snapMode := chosen list index + 1.
int RunModoAproxDlg(int& snapMode);
// "DISTANCIA": the distance for the next point.
int RunDistanciaDlg(double& fixedDistance);
// "Z": the typed elevation into target.
int RunCoordenadaZDlg(double& target);
// "ESPESOR": the typed thickness into target.
int RunEspesorDlg(double& target);
// "ZOOMESC": calls zoomByFactor(f) on OK when f > 0 and f != 1.
int RunZoomEscDlg(const std::function<void(double)>& zoomByFactor);
// "PUNTOS" ("POINTS DISPLAY"): the document's point display height.
int RunDisplayPuntosDlg(CRectaDoc* doc);
// "SELCAMARA", "SELLUZ": the current camera or light (tool words 16, 17), one of six.
int DoSelCamaraDlg(CRectaDoc* doc);
int DoSelecLuzDlg(CRectaDoc* doc);

// ---- values for commands ------------------------------------------------

// "RADIO": the typed radius (0 or more) into radius on OK.
int RunRadioDlg(double& radius);
// "RADIO": the typed radius; 0.0 when cancelled.
double RunRadioDlgEx();
// "AGIRO": the typed angle (degrees) in radians; 0.0 when cancelled.
double RunAGIRODlgEx();
// "TEXTO": text (up to 240 chars), font (its "Font..." button) and colour (0 = default).
int RunTextoDlgEx(std::string& text, LOGFONT& font, COLORREF& color);
// "BLOQDEF": block name (up to 19 chars) and the erase-source flag (1 ticked).
int RunListarDlgEx(std::string& blockName, int& eraseSource);
// "ESCALA": the scale denominator; 0.0 when fit is ticked.
int RunEscalaDlgEx(double& scale);
// "ANGSEL": angle in degrees and the pick-a-line flag; 1 on OK, 0 when cancelled.
int RunANGSELDlgEx(double& angleDegrees, int& pickLine);

// ---- properties -----------------------------------------------------------

// "CAPASELC": 1 with the chosen layer's name and object; 0 otherwise.
int RunCAPASELDlgEx(CRectaDoc* doc, std::string& layerName, CLayer*& layer);
// "COLORSEL": colour and by-layer flag (1 by layer).
int RunCOLORSELDlgEx(COLORREF& color, int& byLayer);
// "TIPOLIN": pen style of CONTINUOUS, DASHED, CENTER, DASHDOT = 0, 1, 3, 2.
int RunTIPOLINDlgEx(int& penStyle);
// "TEXTTAM": an integer text height.
int RunTEXTTAMDlgEx(int& height);
// "FONT": face, size, bold, italic and colour, from the given font.
int ChooseTextFont(LOGFONT& font, COLORREF& color);
// "TEXTCAM": the edited text (up to 240 chars).
int RunTEXTCAMDlgEx(std::string& text);
// "ESPEDIB": a pen width from 0 to 32767.
int RunESPEDIBDlgEx(int& width);

// ---- inquiry (show only; numbers with the given decimals, angles shown in degrees) ----

int RunLISRECDlgEx(const std::string& layer, const CPointd& p1, const CPointd& p2, double thick1, double thick2,
                   int decimals);
int RunLISCIRDlgEx(const std::string& layer, const CPointd& centre, double radius, double thickness, int decimals);
// Angles in radians.
int RunLISARCDlgEx(const std::string& layer, const CPointd& centre, double radius, double startAngle,
                   double endAngle, double thick1, double thick2, int decimals);
int RunLISPUNDlgEx(const std::string& layer, const CPointd& point, int decimals);
// height and angleDegrees as the list computes them; justify 1 left, 2 right, 3 centred.
int RunLISTEXDlgEx(const std::string& layer, const std::string& face, const CPointd& insert, int height,
                   int angleDegrees, int justify, int decimals);
// Perimeter and area as CPLine::GetVertices measures them.
int RunLISPOLDlgEx(const std::string& layer, const CPointd& start, const CPointd& end, double perimeter,
                   double area, int decimals);
// Rotation in radians.
int RunLISINSDlgEx(const std::string& layer, const std::string& block, const CPointd& insert, double scaleX,
                   double scaleY, double rotation, int decimals);
int RunLISACODlgEx(const std::string& layer, const std::string& face, const CPointd& p1, const CPointd& p2,
                   int decimals);
int RunListarTdfDlgEx(const std::string& layer, const CPointd (&corners)[4], int decimals);
int RunIdentificarDlgEx(const CPointd& point, int decimals);
int RunDIST2PDlgEx(double distance, int decimals);
int RunAREADlgEx(double area, int decimals);
