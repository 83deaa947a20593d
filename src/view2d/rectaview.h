// The plan view: shows a window of the drawing and runs interactive drafting.
// Its handlers are plain members; a thin Qt widget (or a test) calls them with
// device points, and the view draws into its own backing image.
#pragma once

#include "doc/cntritem.h"
#include "model/entitydraw.h"
#include "model/pointd.h"
#include "platform/dc.h"
#include "platform/document.h"
#include "platform/oblist.h"
#include "platform/tracker.h"
#include "res/commandcodes.h"

#include <QImage>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CRectaDoc;
class CImageDC;
class CDib;
class CRecta;
class CCirc;
class CArc;
class CPunt;
class CText;
class CInsBl;
class CBloq;
class CPLine;
class CAcot;
class CUndoStep;
class CTdface;
struct CSelectionFilter;
struct FileQuestion;
struct LOGFONT;
struct Pt2;

// One selected record. The record is named by its serial number, so an entry
// whose record left the drawing (an undo in another view) is recognised, not followed.
class CSelEntry : public CObject {
public:
    CSelEntry(std::uint64_t serial, int kind) : m_serial(serial), m_kind(kind) {}
    std::uint64_t m_serial;
    int m_kind;  // the record's type code, or 1 for records a drawing command just added
    bool m_highlighted = false;  // shown dotted, also by every repaint until unhighlighted
};

// The prompt line's word on a point or radius beyond the drawing's range.
inline constexpr const char* kPointOutOfRange = "Point out of range";
inline constexpr const char* kRadiusOutOfRange = "Radius out of range";

// Mouse key flags.
constexpr unsigned MK_LBUTTON = 0x01;
constexpr unsigned MK_RBUTTON = 0x02;
constexpr unsigned MK_SHIFT = 0x04;
constexpr unsigned MK_CONTROL = 0x08;
constexpr unsigned MK_MBUTTON = 0x10;

// 2 while typed points are accepted in this command state, else 0.
int TypedInputMode(CommandCode code, int mode);

struct CPoint {
    int x = 0;
    int y = 0;
};

// Cursors of the plan view: the cross for points, the pick box for
// selection and editing, the snap cursor while an object snap is set.
// Over an embedded object: the move shape, and the resize shapes over its handles.
enum class ViewCursor { cross, pick, snap, sizeAll, sizeNWSE, sizeNESW, sizeNS, sizeWE };

// What the hosting widget does for the view.
class CViewHost {
public:
    virtual ~CViewHost() = default;
    // Schedules a repaint of the view's image on the screen.
    virtual void UpdateWindow() = 0;
    // The view takes the mouse or lets it go; taking it hides a shown quick tip.
    virtual void SetMouseCapture(bool capture) = 0;
    // The print window is picked: print it, or show its preview.
    virtual void PrintWindow(bool preview) { (void)preview; }
    virtual void SetCursorShape(ViewCursor cursor) { (void)cursor; }
    // True when block insertion chooses among drawn previews.
    virtual bool PreviewAtInsert() const { return false; }
    // The file dialog's answer; empty when cancelled or when nothing can ask.
    virtual std::string AskFileName(const FileQuestion& question)
    {
        (void)question;
        return {};
    }
    // True when the host reports the mouse's moves and the left button's
    // release (OnMouseMove, OnLButtonUp) while that button is down, so that an
    // embedded object can follow the mouse.
    virtual bool ReportsDrags() const { return false; }
};

// A DC over a plan view's image; when it is done, the host is asked to show
// what was drawn, so no drawing outside a repaint stays off the screen.
struct ShowOnScreen {
    CViewHost* host = nullptr;
    void operator()(CImageDC* dc) const;
};
using ViewDC = std::unique_ptr<CImageDC, ShowOnScreen>;

class CRectaView : public CView, public CPlanMapping {
public:
    CRectaView();
    ~CRectaView() override;

    CRectaDoc* GetDocument() const;
    void SetHost(CViewHost* host) { m_host = host; }
    CViewHost* GetHost() const { return m_host; }

    // Framework steps.
    void OnInitialUpdate();
    void OnUpdate(CView* sender, long hint, CObject* obj) override;
    void DrawAddedEntity(int type, CObject* entity) override;
    bool GetOriginAndZoom(double& ox, double& oy, int& zoomState) const override;
    void OnDraw(CDC& dc);
    void OnSize(int width, int height);
    void OnActivateView(bool activate);
    // True when obj is the embedded object selected in this view.
    bool IsSelected(const CObject* obj) const;
    // The view gets the keyboard: true when an object active in place takes it instead.
    bool OnSetFocus();
    // The cursor over the selected object's frame at point; false when the point is not on it.
    bool OnSetCursor(CPoint point);
    // The left button pressed twice: a click, then the selected object's
    // open verb with Ctrl, else its primary verb.
    void OnLButtonDblClk(unsigned flags, CPoint point);

    // ---- embedded objects (items.cpp)
    // The mapping between this view's pixels and drawing points.
    CPointd DeviceToDrawing(int x, int y) const override;
    void DrawingToDevice(const CPointd& p, int& x, int& y) const override;
    bool ShowsItems() const override { return m_aerial == 0; }
    // The selected object, when it is still the drawing's.
    CRectaCntrItem* SelectedItem() const;
    // Selects item (or none): an object active in place other than item
    // closes, and a change of selection repaints both.
    void SetSelection(CRectaCntrItem* item);
    // The last object of the drawing whose rectangle in this view holds point, or null.
    CRectaCntrItem* HitTestItems(CPoint point) const;
    // The frame of item as this view shows it.
    void SetupTracker(const CRectaCntrItem& item, CRectTracker& tracker) const;
    // The object active in place, or null.
    CRectaCntrItem* InPlaceActiveItem() const;
    // True while an object follows the mouse, from the press on it until the left button goes up.
    bool IsDraggingItem() const { return m_itemDrag.has_value(); }
    // The object following the mouse goes back where it was.
    void CancelItemDrag();
    // The commands on objects: insert (the dialog), close the one active in
    // place, erase, copy and paste the selected one.
    void OnInsertObject();
    void OnCancelEditCntr();
    void OnEditClear();
    void OnEditCopy();
    void OnEditPaste();
    // Whether the command id may run now; true for commands without a rule.
    bool IsCommandEnabled(int id) const;

    // The view's image, brought up to date when it was invalidated.
    const QImage& Image();
    // Invalidates the whole client area.
    void Invalidate();
    // A DC over the view's image with the view's mapping (repaints first when due).
    ViewDC GetClientDC();
    // Full repaints of the image so far.
    int RepaintCount() const { return m_repaints; }

    // The view's mapping of drawing points to logical ones.
    WorldMap Map() const { return {m_scale, m_originX, m_originY}; }
    // Draws one entity of the drawing with the view's scale and origin.
    bool DrawEntity(CDC& dc, int type, CObject* entity, DrawKind kind);
    // The part of the drawing the view shows: its client area and a pixel
    // beyond, or the print window while printing.
    void VisibleWindow(CPointd& lo, CPointd& hi) const;
    // The record at pos of the document's entity list.
    CDib* RecordAt(POSITION pos) const;
    // The entity's inside-rectangle test by its type.
    bool EntityInWindow(int type, const CObject* entity, const CPointd& lo, const CPointd& hi) const;

    // Mouse.
    void OnLButtonDown(unsigned flags, CPoint point);
    // An object following the mouse stays where the button went up.
    void OnLButtonUp(unsigned flags, CPoint point);
    // A left click at p in drawing coordinates: a pick while picking, else a point.
    void ClickAt(unsigned flags, CPointd p);
    void OnRButtonDown(unsigned flags, CPoint point);
    void OnMButtonDown(unsigned flags, CPoint point);
    void OnMouseMove(unsigned flags, CPoint point);
    // The cursor left the client area: mouse moves are ignored until it is back.
    void OnMouseLeave();
    // A typed character from the main frame's key handling (3 is Ctrl+C, 8
    // Backspace, 13 Enter); false when the view leaves it to the window.
    bool OnChar(unsigned ch);
    // Parses the typed text into the current point; false when rejected.
    bool ParseTypedPoint();

    // The click state machine: the current point for the running command.
    void ProcessPoint();
    // A click while objects are picked (drawing mode 100 or 101).
    void DispatchPick(const CPointd& p);
    // Erases the selected records, recording one undo step each.
    void EraseSelection();
    // Move or copy the selection by first point -> second point; one undo state each.
    void MoveSelection();
    void CopySelection();
    // Turn the selection about centre by the AGIRO angle, or reflect it
    // across mirror; with copy, copies stay in place. One undo state each.
    void RotateSelection(const CPointd& centre, bool copy);
    void MirrorSelection(const CRecta& mirror, bool copy);
    // A new block of copies of the selection, relative to base (selectionops.cpp).
    void BlockFromSelection(const CPointd& base);

    // Printing: draws the print window (first and second point) onto a page
    // of the given size in tenths of a millimetre, through dc's low-metric mapping.
    void PrintPage(CDC& dc, int pageWidth, int pageHeight);

    // Mapping and zoom.
    void PrepareMapping(CDC& dc) const;
    void ComputeScale();
    CPointd DeviceToWorld(CPoint point) const;
    CPoint WorldToDevicePoint(const CPointd& p) const;
    void ApplyWindow();
    void OnZoomWindow();
    void OnZoomPrevious();
    void OnZoomExtents();
    void ZoomByFactor(double factor);
    void DrawLimitRects(CDC& dc, bool prepare, const CPointd& a1, const CPointd& a2, const CPointd& b1,
                        const CPointd& b2, bool skipSecond) const;
    bool ScaleUsable() const;

    // Prompts, readouts, rubber band.
    void ShowPrompt(int pane, const std::string& text);
    // True, with "Radius out of range" on the prompt line, for a radius of
    // no value or beyond the drawing's coordinate range.
    bool RadiusRefused(double r);
    void ShowSelectPrompt();
    void ClearPrompt();
    void ShowCoords(const CPointd& p);
    void ShowDistAngle(const CPointd& from, const CPointd& to);
    void DrawRubberBand(const CPointd& newPoint, const CPointd& start, const CPointd& end, bool eraseOnly);
    void DrawRubberRect(const CPointd& newPoint, const CPointd& start, const CPointd& end, bool eraseOnly);
    void EraseRubberBand();
    const std::string& PromptBuffer() const { return m_prompt; }

    // Command state.
    void CancelCommand();
    void BeginCommand();
    // Runs the view command with this id; false when the view has no such command.
    bool OnCommand(int id);
    // Restores the last started command with its first prompt.
    void GetPromptText();
    void DoUndo();
    void DoRedo();
    // Print and print preview: cancel, then pick the window's two corners.
    void BeginPrintArea();
    void BeginPreviewArea();
    // The print scale dialog; false (print nothing) when it is cancelled.
    bool OnPreparePrinting();

    // ---- file and purge commands (filecmds.cpp); each asks its host for the file
    // A block of the drawing written as a drawing file.
    void OnToolWriteBlock();
    // A drawing file read in as a new block, the next one to insert.
    void OnBlockRead();
    // The drawing as DXF, proposed under its title with the extension ".dxf".
    void OnDXFWrite();
    // A DXF file read into the drawing.
    void OnDXFRead();
    // The purge dialogs; what the plan views' undo histories can bring back stays.
    void OnPurgeBlocks();
    void OnPurgeLayers();

    // ---- selection (selection.cpp)
    // Position of the visible record nearest to p within the pick aperture, or null.
    POSITION PickNearestEntity(const CPointd& p, CObject*& entity, int& type);
    void ToggleSelection(int kind, POSITION pos);
    void SelectEntity(int kind, POSITION pos);
    CSelEntry* AddToSelection(int kind, POSITION pos);
    // 1 and remembers the entry when one holds the record at pos.
    int FindSelected(POSITION pos);
    void RemoveFromSelection(POSITION node);
    POSITION GetFirstSelectedPosition() const { return m_selection.GetHeadPosition(); }
    // The entry at node, moving node on; its record may have gone (see CSelEntry).
    CSelEntry* GetNextSelected(POSITION& node) const;
    // The selected records still in the drawing, in selection order.
    std::vector<CDib*> SelectedRecords() const;
    void ClearSelection();
    void MoveHatchesToEnd();
    // mode 0: wholly inside the window; 1: crossing it.
    void SelectByWindow(int mode, const CPointd& c1, const CPointd& c2);
    void DrawEntityHighlighted(POSITION pos);
    void UnhighlightSelection();
    void RedrawEntityAt(POSITION pos);
    void DrawEntity(int type, CObject* entity) override;
    void EraseEntity(int type, CObject* entity) override;

    // ---- snap (snap.cpp)
    void ApplyOrtho(double sx, double sy, double& px, double& py) const;
    void ApplyDistance(CPointd& p);
    // 1 and p replaced by the snapped point; 0 on a miss.
    int OnEditPoint(CPointd& p);

    // ---- undo (undo.cpp)
    void AddUndoStep(int operation, int type, CDib* record, POSITION pos);
    void RecordSelectionUndo(int operation);
    void SaveUndoState();
    // Frees the steps that no state took (an erase step claims its record first).
    void ClearPendingSteps();
    void DropOldestUndoState();
    // False when the record is not where the step needs it (the step is skipped).
    bool RestoreChangedRecord(CUndoStep* step);
    // Back at the end of the list, or before the record at before; drawn when draw is set.
    bool ReinsertRecord(CUndoStep* step, POSITION before = nullptr, bool draw = true);
    CRecta* NewBlockRecta(int width, COLORREF color, std::string_view layer, const CPointd& p1, const CPointd& p2);
    CArc* NewBlockArc(int width, COLORREF color, std::string_view layer, const CPointd& centre, double radius,
                      double start, double end);
    CCirc* NewBlockCirc(int width, COLORREF color, std::string_view layer, const CPointd& centre, double radius);
    CPunt* NewBlockPunt(int width, COLORREF color, std::string_view layer, const CPointd& p);
    CText* NewBlockText(int width, COLORREF color, std::string_view layer, const CPointd& insert, int justify,
                        std::string_view text, const LOGFONT& font);
    CInsBl* NewBlockInsBl(int width, COLORREF color, std::string_view layer, std::string_view block,
                          const CPointd& insert, double rotation, double sx, double sy);
    // Each takes every element of the list over (plinemode.cpp).
    CPLine* NewBlockPLine(int width, COLORREF color, std::string_view layer, CObList& segments);
    CAcot* NewBlockAcot(int width, COLORREF color, std::string_view layer, CObList& parts);
    // The drawing's block named exactly name, or null.
    CBloq* FindBlock(std::string_view name) const;
    // The on/off word of the entity's layer; 0 when the layer does not exist.
    int IsLayerDrawable(const CObject* entity, int type) const;
    int UndoStateCount() const { return m_undoStates.GetCount(); }

    // ---- line hatches (hatchgen.cpp)
    // Hatches the polygon of the point list with the lines the hatch dialogs
    // choose, leaving out what the selected circles, texts, polylines and
    // inserts cover: the lines go into a new block "XT<n>" placed by one
    // insert at the origin, one undo state. A boundary or pattern that cannot
    // be hatched is refused with a message. Empties the point list and the selection.
    void GenerateHatch();

    // ---- working planes (planes.cpp) and wall joints (walljoints.cpp)
    // Sets the plane through o with its X axis towards p: mode 1 a vertical
    // section (r, the visible-to point, is not used), mode 2 the plane through
    // q, after the objects-in-plane dialog. The points are taken as the view
    // shows them: in a plane in force, in its coordinates; that plane is left first.
    // The entities in the new plane take its coordinates, the others are
    // hidden with a mark of their own, and every plan view's undo history is
    // cleared. False, with a message, when the points leave the plane undefined;
    // false when the dialog is cancelled.
    bool SetWorkingPlane(const CPointd& o, const CPointd& p, const CPointd& q, const CPointd& r, int mode);
    // Back to the world: what the plane hid shows as it did before, the rest
    // goes back to world coordinates; the undo histories are cleared.
    void ToWorldSystem();
    // A point between the world and the document's plane, in place.
    void ToPlanePoint(CPointd& p) const;
    void ToWorldPoint(CPointd& p) const;
    // The joints take the selection as the four face lines of two walls: the
    // first selected line and its parallel partner are one wall, the two lines
    // that meet it the other. Anything else changes nothing and says why on
    // the prompt line. Each records its undo steps; the caller saves the state.
    // X: both walls open where they cross.
    void WallJointX();
    // T: the picked line (m_pickedLine, picked at pick) and its partner are the
    // leg; they end on the through wall's face nearer the pick, which opens
    // between them.
    void WallJointT(const CPointd& pick);
    // L: the faces nearer the view's second point meet at the inner corner,
    // the others at the outer corner.
    void WallJointL();

    // ---- hatches, bitmaps, regions, elevation and thickness (finishing.cpp, regions.cpp, selectionops.cpp)
    // The document's extrusion mode and direction; the record is visible as its layer is.
    CTdface* NewBlockTdface(int width, COLORREF color, std::string_view layer, const CPointd (&c)[4]);
    // Each adds its entity at p on the current layer with one undo state,
    // drawn in every view; a cancelled dialog adds nothing and records nothing.
    // A solid hatch in the colour the colour dialog gives.
    void FinishSolidHatch(const CPointd& p);
    // A pattern hatch whose pattern the bitmap-hatch browser gives.
    void FinishBitmapHatch(const CPointd& p);
    // A bitmap entity of the file and size the bitmap-file dialog gives.
    void FinishBitmap(const CPointd& p);
    // The document's dialog value as the elevation or thickness of every
    // selected entity of a kind that has one; one undo state, the selection cleared.
    void ApplyElevation();
    void ApplyThickness();
    // The region command on a picked polyline (type 6: filled in the chosen
    // colour) or on a block (any other type, entity a CBloq: its colour attributes).
    void MakeRegionFromPLine(CObject* entity, int type);

    // ---- command steps: copies, picks kept for later steps, and the
    // operations the steps call (selectionops.cpp, steps.cpp, mouse.cpp)

    // A copy of the entity moved by to - from: with mode 1 added to the drawing
    // with an added undo step, with other modes put in the block-construction
    // list. Null for kinds without a copy.
    CDib* CopyEntityMoved(int type, const CObject* entity, const CPointd& from, const CPointd& to, int mode = 1);
    CRecta* CopyRectaMoved(const CRecta* e, const CPointd& from, const CPointd& to);
    CCirc* CopyCircMoved(const CCirc* e, const CPointd& from, const CPointd& to);
    CArc* CopyArcMoved(const CArc* e, const CPointd& from, const CPointd& to);
    CPunt* CopyPuntMoved(const CPunt* e, const CPointd& from, const CPointd& to);
    CText* CopyTextMoved(const CText* e, const CPointd& from, const CPointd& to);
    CPLine* CopyPLineMoved(const CPLine* e, const CPointd& from, const CPointd& to, int mode);
    CInsBl* CopyInsBlMoved(const CInsBl* e, const CPointd& from, const CPointd& to);
    CAcot* CopyAcotMoved(const CAcot* e, const CPointd& from, const CPointd& to, int mode);
    CTdface* CopyTdfaceMoved(const CTdface* e, const CPointd& from, const CPointd& to);
    // A copy in place of every selected record, with its undo step; no state
    // is saved and the selection stays.
    void DuplicateSelection();
    // The record with this serial when it is still in the drawing holding entity, else null.
    CDib* LiveRecord(std::uint64_t serial, const CObject* entity) const;
    // Keeps only the selected records that pass the filter; the others lose their highlight.
    void FilterSelection(const CSelectionFilter& filter);

    // ---- explode and polyline edits (explode.cpp). Each records the
    // records it takes out as erased and those it adds as added, so one undo
    // gives the drawing back; a new polyline has the pen, layer and
    // extrusion of what it replaces. The type arguments are not relied on:
    // each goes by the record's own code.
    // Every selected polyline, insert and dimension becomes its parts;
    // other records stay. The caller saves the undo state.
    void ExplodeSelection();
    // The line or arc at pos becomes a polyline of one segment; one undo state.
    void ConvertToPLine(CObject* entity, int type, POSITION pos);
    // The selected lines and arcs that meet an end of the polyline at pos
    // (within 0.001, in selection order) join it there, turned to run on
    // from it; the others stay. Nothing joins: nothing changes. The caller
    // saves the undo state.
    void AddToPLine(CObject* pline, int type, POSITION pos);
    // A line from the polyline's end back to its start; a polyline closed
    // already stays as it is. One undo state.
    void ClosePLine(CObject* pline, int type, POSITION pos);
    // ---- property changes and inquiry (properties.cpp)
    // Each asks its dialog first; a cancelled dialog changes nothing. The
    // selection changes record a changed step for every selected record (the
    // text changes for every selected text) and leave the state to the
    // caller (the right button saves it).
    // The chosen layer, in its colour (hatches and bitmaps keep theirs); each
    // record shows as its new layer does.
    void ChangeLayer();
    // A colour, or by layer each record's layer colour (a record whose layer
    // is missing keeps its colour). An insert recolours its block too.
    void ChangeColor();
    // Lines, circles, arcs, points, texts and polylines take the pen style.
    void ChangeLineType();
    // Texts take the height (more than 0) or the font and colour, keeping their angle.
    void ChangeTextHeight();
    void ChangeTextFont();
    // The picked text's string, with its own undo state.
    void ChangeText(CObject* text);
    // Shows the picked record's values in the list dialog of its kind.
    void ListEntity(int type, CObject* entity);
    // Shows the point, or the plan distance of the first and second points.
    void IdentifyPoint(const CPointd& p);
    void MeasureDistance();
    // The document's current colour: a colour, or the current layer's.
    void SetDefaultColor();
    // The text parts of every dimension take the dimension font, keeping
    // their angle; one undo state.
    void UpdateDimensionFonts();

    // ---- the two-line commands (fillet.cpp): each acts on the first two
    // selected lines, records its undo steps and leaves the state open.
    // The lines end at their corner on the sides their picks (first and
    // second point) lie on; with radius, an arc of the radius dialog's radius
    // tangent to both joins them when it fits. Parallel lines end the command.
    void FilletLines(bool withRadius);
    // Two lines in line become the first, spanning both; others are refused.
    void UnifyLines();
    // A circle of the radius dialog's radius tangent to both lines.
    void CircleTanTanRadius();

    // ---- extend and cut (trim.cpp), on lines, circles and arcs
    // The line or arc at pos, picked at p, reaches the boundary (the picked
    // entity): a line's end nearer the meeting point moves onto it, an arc's
    // end nearer the pick. One undo state. A boundary that left the drawing
    // is asked for again.
    void ExtendToBoundary(const CPointd& p, CObject* entity, int type, POSITION pos);
    // Every selected line reaches the boundary; the caller closes the state.
    void ExtendAllToBoundary();
    // The piece of the entity at pos that holds the pick p goes, up to the
    // nearest crossings with the selected cutting edges on either side; a cut
    // circle becomes an arc. One undo state; the selection follows the pieces.
    void CutEntity(const CPointd& p, CObject* entity, int type, POSITION pos);

    // ---- offset and stretch (offset.cpp, stretch.cpp), on the selection;
    // each closes one undo state and clears the selection.
    // A parallel copy of every selected line, circle, arc and polyline at the
    // fixed distance on the side of towards; nothing for a distance not above
    // 0 or an entity towards lies on; a radius that would not stay above 0
    // skips its entity with a message.
    void OffsetSelection(const CPointd& towards);
    // The selection stretched from the first to the second point by the last
    // selection window: what crosses it has its points inside moved, the rest
    // moves whole.
    void StretchSelection();

    CObList m_pointList{ListOwnership::owns};  // CPointd: hatch boundary and area points
    // Serials of the records behind m_pickedEntity, m_pickedLine,
    // m_pickedPolyline and m_workEntity (see LiveRecord).
    std::uint64_t m_pickedSerial = 0;
    std::uint64_t m_pickedLineSerial = 0;
    std::uint64_t m_pickedPolylineSerial = 0;
    std::uint64_t m_workSerial = 0;

    // ---- fields
    CommandCode m_command = CMD_NONE;
    int m_mode = 0;  // DrawingMode
    int m_aperture = 8;
    int m_selCount = 0;
    int m_readoutMode = 1;
    int m_snapMode = 0;
    int m_keepSnapMode = 0;
    int m_cursorOutside = 1;
    double m_fixedDistance = 0.0;
    double m_refAngle = 0.0;
    int m_zoomState = 0;
    double m_scale = 0.0;
    double m_originX = 0.0, m_originY = 0.0;
    int m_aerial = 0;
    CObList m_selection{ListOwnership::owns};     // CSelEntry
    CObList m_pendingSteps{ListOwnership::owns};  // CUndoStep, until a state takes them
    CObList m_undoStates{ListOwnership::owns};    // CUndoState, oldest first
    // CDib elements of a block or polyline under construction, until it takes them.
    CObList m_blockList{ListOwnership::owns};
    int m_undone = 0;
    int m_pickedType = 0;
    CObject* m_workEntity = nullptr;
    CObject* m_pickedPolyline = nullptr;
    CPointd m_winCorner, m_winCorner2;
    CPointd m_zoomDrag;
    CObject* m_pickedLine = nullptr;
    POSITION m_pickedPos = nullptr;
    CPointd m_firstPoint, m_secondPoint;
    int m_clientWidth = 0, m_clientHeight = 0;
    CPointd m_bandStart, m_bandEnd;
    CPointd m_viewMin, m_viewMax;  // window shown
    CPointd m_reqMin, m_reqMax;    // requested window
    CObject* m_pickedEntity = nullptr;
    int m_bandState = 2;
    int m_refPointState = 0;
    int m_textAlign = 0;
    CommandCode m_lastCommand = CMD_NONE;
    int m_lastMode = 0;
    std::string m_prompt = std::string(13, ' ');
    std::string m_readout;  // the text last written to pane 2
    std::string m_savedPrompt = std::string(11, ' ');
    int m_pickLine = 0;
    int m_savedMode = 0;
    int m_typedMode = 0;
    std::string m_typed;
    double m_typedValue = 0.0;
    CPointd m_current;
    double m_printScale = 0.0;  // tenths of a millimetre per drawing unit; 0 fits the page

    static constexpr std::size_t kPromptMax = 49;

private:
    // Outline of the rectangle with corners a and b, inverted with a one-pixel pen.
    void InvertRect(CDC& dc, const CPointd& a, const CPointd& b) const;
    // Inverts the rubber band from start to end: a line, or a rectangle while
    // a window is being dragged.
    void DrawBandOutline(CDC& dc, const CPointd& start, const CPointd& end) const;
    bool BandIsRect() const;
    void RepaintIfDue();
    bool RepaintDue() const;
    // A DC for drawing one more thing onto the image, or null when the image
    // is due for a repaint (which draws it) or nothing can be drawn.
    ViewDC CurrentImageDC();
    void UpdateOtherViews(long hint);

    // Optional copies in place, then change(record) on every selected record
    // with erase/redraw in all views; one undo state (selectionops.cpp).
    template <class Change>
    void ChangeSelection(bool copy, Change change);
    // Starters with a dialog or set-up of their own; false for other ids.
    bool StartSpecial(int id);
    // The band starts at the current camera's eye; the focal plane step also
    // turns ortho on along the camera's line of sight.
    void BandFromCamera();
    // The command codes' step for a processed point; false when the code has none.
    bool RunCommandStep(const CPointd& p);
    // A 3D face on tool points A to D with its own undo state, drawn in all views.
    void AddFaceFromToolPoints();
    // The drawing modes' step for a processed point.
    void DrawPoint(const CPointd& p);
    // An arc of the centre's radius through the start point, up to the end point's direction.
    void ArcCentreAngles(const CPointd& centre, const CPointd& startPoint, const CPointd& endPoint);
    // The text dialog, then one text per 40 characters, one undo state for all.
    void PlaceText(const CPointd& at);
    // Widens the extents by a new entity and draws it in every view of the drawing.
    void ShowNew(int type, CObject* entity);
    // One undo state for the record just added.
    void RecordAdded(int type);
    void EndDrawingCommand();
    bool RightButtonStep();
    // A step that turns ortho or sets the reference angle keeps the old value;
    // the step's end or a cancel puts it back.
    void OverrideOrtho(int ortho);
    void RestoreOrtho();
    void OverrideRefAngle(double angle);
    void RestoreRefAngle();
    // The lines of a running chain become one undo state.
    void CloseLineChain();
    // Polyline and dimension modes (plinemode.cpp).
    void AddPLineSegment(const CPointd& p);
    // The segments of a running polyline chain become one polyline and one undo state.
    void ClosePLineChain();
    void PickDimensionCurve(POSITION pos, CObject* entity, int type, const CPointd& p);
    void DimensionPoint(const CPointd& p);

    // ---- command steps (steps.cpp, mouse.cpp)
    // Steps of the codes handled before snapping; false when the code has none.
    bool RunUnsnappedStep(const CPointd& p);
    bool RunInquiryStep(const CPointd& p);
    bool RunEditStep(const CPointd& p);
    bool Run3DStep(const CPointd& p);
    bool RunArchStep(const CPointd& p);
    // Block insertion at p: the insertion dialog, then one insert.
    void InsertBlockAt(const CPointd& p);
    // Moves the texts of the picked dimension by first point -> second point.
    void MovePickedDimensionTexts();
    // A two-pick command's pick of a line: the first line moves it on with
    // prompt, the second ends the picking; the line picked already is not
    // taken again. A miss or another kind ends the command.
    void PickSecondLine(POSITION pos, int type, const CPointd& p, const char* prompt, bool keepPoints);
    // The two selected lines of a two-pick command, when both are still lines of the drawing.
    bool TwoSelectedLines(CDib*& first, CDib*& second) const;
    // The two selected lines and where their carriers cross. When they do not
    // cross the command ends with "<command>: the lines are parallel".
    bool TwoSelectedLinesCorner(const char* command, CDib*& first, CDib*& second, Pt2& corner);
    // Ends the two-pick command when its lines are gone; true when they are there.
    bool TwoPickLinesThere();
    // The body of OnRButtonDown.
    void RightButton();
    // Two-point steps: the first point starts the band; the second erases it
    // and starts it again at the first point.
    void TakeFirstPoint(const CPointd& p);
    void TakeSecondPoint(const CPointd& p);
    // SaveUndoState and ClearPendingSteps.
    void CloseState();
    // The cut of a line, circle or arc record at pos by the crossing points.
    void CutRecta(const Pt2& pick, CDib& record, POSITION pos, const std::vector<Pt2>& points, bool selected);
    void CutCirc(const Pt2& pick, CDib& record, POSITION pos, const std::vector<Pt2>& points, bool selected);
    void CutArc(const Pt2& pick, CDib& record, POSITION pos, const std::vector<Pt2>& points, bool selected);
    // Appends piece (owned from here) as a record as visible as source, with
    // its added step, drawn in every view; selected too when selected is set.
    void AddPieceLike(int type, CObject* piece, const CDib& source, bool selected);
    // Command code, drawing mode and band state 0, prompt cleared.
    void ResetCommand();
    // block when it is still in the drawing's block list, else null.
    CBloq* LiveBlock(const CBloq* block) const;

    // Draws the drawing's objects first in the drawing pass, each with its frame unless printing.
    void DrawItems(CDC& dc);
    // A left click on an object selects it and moves or resizes it; true when one was hit.
    bool ClickOnItem(CPoint point);
    // An object following the mouse: the steps of its drag. The object is
    // checked against the drawing's before each use, so that one erased
    // meanwhile ends the drag untouched.
    struct ItemDrag {
        CRectaCntrItem* item = nullptr;
        CRectTracker tracker;
        std::optional<CRect> shown;  // the outline inverted on the image
        int shownAt = 0;             // the repaint count it was drawn at
    };
    void DragItemTo(LPoint p);
    // The drag is over: with keep, the object takes the dragged rectangle.
    void EndItemDrag(bool keep);
    // Moves the drag's outline on the image to r, or takes it away.
    void ShowDragOutline(const std::optional<CRect>& r);
    // True while item is one of the drawing's objects (item is not followed).
    bool HoldsItem(const CRectaCntrItem* item) const;
    // An object made from the insert dialog's choice, or null with the reason.
    std::unique_ptr<CRectaCntrItem> CreateItemFromChoice(bool fromFile, int kind, const std::string& file, bool link,
                                                         std::string& error);
    // A new object of the drawing: sized from its object, selected, shown in
    // every view; refused with a message when the drawing cannot take it.
    void AddNewItem(std::unique_ptr<CRectaCntrItem> item, bool show);

    CRectaCntrItem* m_pSelection = nullptr;  // the embedded object selected in this view
    std::optional<ItemDrag> m_itemDrag;
    bool m_orthoOverridden = false;
    bool m_angleOverridden = false;
    POSITION m_foundSelected = nullptr;  // entry node of the last FindSelected
    std::unordered_map<std::uint64_t, POSITION> m_selIndex;  // record serial -> selection node
    CViewHost* m_host = nullptr;
    QImage m_image;
    bool m_dirty = true;
    int m_repaints = 0;
};

// item becomes an embedded drawing of bytes (a drawing file) named name, with
// the picture a plan view of it records and the size it asks for; false,
// with the reason, when the bytes do not read as a drawing.
bool MakeDrawingItem(CRectaCntrItem& item, std::vector<BYTE> bytes, std::string name, std::string& error);

// The line-thickness dialog: the pen width of the view's selected records,
// one changed step each; the caller saves the state. The dialog's result.
int RunEspesorLineaDlg(CRectaView& view);
