// The drawing: its entity, layer and block lists, its settings, and its file.
#pragma once

#include "model/dib.h"
#include "model/entitycontext.h"
#include "model/layer.h"
#include "model/pointd.h"
#include "platform/oleserver.h"
#include "platform/logfont.h"
#include "platform/oblist.h"
#include "platform/oleitem.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <string_view>
#include <vector>

namespace dxf::reading {
class Importer;
}
namespace dxf::writing {
class Exporter;
}

class CArchive;
class CRecta;
class CCirc;
class CArc;
class CPunt;
class CText;
class CPLine;
class CTdface;
class CAcot;
class CInsBl;
class CBloq;
class CHatch;
class CBmp;
class CRectaCntrItem;

inline constexpr char kHeaderMagic3[] = "BARQUELO 3.0";
inline constexpr char kHeaderMagic201[] = "BARQUELO 2.01";
inline constexpr char kHeaderMagic2[] = "BARQUELO 2.0";

// Everything a drawing file carries besides its lists, and the working values
// that go with it; swapped as a whole when an opened file replaces a drawing.
struct CDrawingSettings {
    std::string m_headerMagic = kHeaderMagic3;
    std::string m_layerName;  // current layer
    COLORREF m_color = 0;     // current colour
    int m_ortho = 1;
    int m_coordDecimals = 2;
    int m_angleDecimals = 2;
    double m_gridStep = 0.05;

    CPointd m_windowMin, m_windowMax;          // shown window
    CPointd m_prevWindowMin, m_prevWindowMax;  // window before the last zoom
    CPointd m_extMin, m_extMax;                // drawing extents
    double m_marginX = 0.0, m_marginY = 0.0;   // extents margins

    LOGFONT m_textFont;
    LOGFONT m_dimFont;
    // Extension overshoot, extension back length, tick half-length, text distance.
    double m_dimParams[4] = {};

    // Word 0 counts hatch blocks; words 1-21 and reals 1-21 belong to the tools.
    int m_toolWords[22] = {};
    double m_toolReals[22] = {};
    CPointd m_toolPoints[9];

    std::string m_markName1, m_markName2, m_thirdName;
    double m_realA = 1.0;
    double m_pointHeight = 1.0;  // size at which point entities show

    int m_extrusionMode = 0;
    CPointd m_ucsOrigin;
    CPointd m_extrusionDir{0.0, 0.0, 1.0};
    double m_ucsMatrix[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    double m_currentZ = 0.0;
    double m_thickness = 2.9;
    int m_askZ = 0;

    CPointd m_cameraEye[6], m_cameraTarget[6];
    double m_cameraLens[6] = {};
    CPointd m_lightPos[6], m_lightTarget[6];
};

// Tool words with a meaning of their own.
enum ToolWord : int {
    TW_HATCH_BLOCKS = 0,
    TW_DOOR_PARAMS = 2,
    TW_DOOR_KIND = 7,
    TW_DOOR_BLOCKS = 8,
    TW_DOUBLE_DOOR_BLOCKS = 9,
    TW_WINDOW_BLOCKS = 10,
    TW_SURFACE_BLOCKS = 11,
    TW_STAIR_KIND = 14,
    TW_CAMERA = 16,
    TW_LIGHT = 17,
};

class CRectaDoc : public COleServerDoc, public CDrawingSettings, public CEntityContext {
public:
    CRectaDoc();
    ~CRectaDoc() override;

    // Lifecycle.
    bool OnNewDocument();
    // Loads into a fresh drawing and takes it over only when the whole file read.
    bool OnOpenDocument(const std::string& path);
    // Writes beside the file and replaces it only when everything was written.
    bool OnSaveDocument(const std::string& path);
    // DXF import and export (dxfread.cpp, dxfwrite.cpp); each reports what it
    // could not do in one message.
    bool ReadDXF(const std::string& path);
    bool WriteDXF(const std::string& path);
    // The DXF layer entry and entity readers, each on the record the import
    // stands at (dxfread.cpp), and the LINE writer on the export (dxfwrite.cpp).
    void ReadDXFLayer(dxf::reading::Importer& in);
    void ReadDXFLine(dxf::reading::Importer& in);
    void ReadDXFCircle(dxf::reading::Importer& in);
    void ReadDXFArc(dxf::reading::Importer& in);
    void ReadDXFPoint(dxf::reading::Importer& in);
    void ReadDXFText(dxf::reading::Importer& in);
    void ReadDXFPolyline(dxf::reading::Importer& in);
    void ReadDXFVertex(dxf::reading::Importer& in, CPointd& point, double& bulge);
    void ReadDXFInsert(dxf::reading::Importer& in);
    void ReadDXFDimension(dxf::reading::Importer& in);
    void ReadDXF3DFace(dxf::reading::Importer& in);
    void ReadDXFSolid(dxf::reading::Importer& in);
    void WriteDXFLine(dxf::writing::Exporter& out, const CObject& entity) const;
    void DeleteContents();
    // 1 after New, 2 after Open.
    void InitSettings(int mode);
    // The framework's question before the last frame closes; true lets it close.
    bool SaveModified();
    // The drawing frame's question: 0 not modified, else IDYES, IDNO or IDCANCEL.
    int QuerySaveOnClose();
    void SaveToOwnPath();
    // In place: the views redraw, then the frame goes.
    void OnDeactivate() override;
    // The frame made, the application edits this drawing in place, in its first view.
    COleIPFrameWnd* CreateInPlaceFrame(QWidget* parent) override;
    // The frame gone, the application no longer edits in place.
    void DestroyInPlaceFrame(COleIPFrameWnd* frame) override;
    // Asked when a drawing without a file is to be saved before closing: saves
    // it under a name the user gives and returns true, or false to keep it open.
    static inline std::function<bool(CRectaDoc&)> s_saveAs;
    void ToggleOrtho();
    // Pane 1 shows the ortho flag.
    void ShowOrtho() const;
    void OnOrtho() { ToggleOrtho(); }

    // A new CRectaSrvrItem for this drawing; the document owns it from then
    // on (see COleServerDoc::GetEmbeddedItem).
    std::unique_ptr<COleServerItem> OnGetEmbeddedItem() override;

    // The drawing file.
    void Serialize(CArchive& ar) override;
    void SerializeContents(CArchive& ar);
    void SerializeHeader(CArchive& ar);
    void SerializeSettings(CArchive& ar);
    // The drawing file's bytes, a working plane in force taken back to the
    // world; false, with the reason, when it cannot be written.
    bool WriteDrawingBytes(std::vector<BYTE>& bytes, std::string& error) const;

    // Layer list. A new layer takes the last layer name put aside.
    CLayer* AddLayer(COLORREF color, int on);
    POSITION GetFirstLayerPosition() const { return m_layers.GetHeadPosition(); }
    CLayer* GetNextLayer(POSITION& pos) const { return static_cast<CLayer*>(m_layers.GetNext(pos)); }
    // 1 and the first layer named exactly name, else 0 and null.
    int FindLayer(std::string_view name, CLayer*& layer) const;
    void RemoveLayerAt(POSITION pos);
    void DeleteAllLayers();

    // New lines, circles and arcs with the given pen and layer and the drawing's
    // thickness, extrusion mode and direction; in no list yet.
    CRecta* NewRecta(int width, COLORREF color, std::string_view layer) const;
    CCirc* NewCirc(int width, COLORREF color, std::string_view layer) const;
    CArc* NewArc(int width, COLORREF color, std::string_view layer) const;
    // The same with their geometry, and the other kinds with the given pen,
    // layer and geometry (faces and polylines with the drawing's extrusion
    // mode and direction); in no list yet. A polyline takes every element of
    // segments over.
    CRecta* NewRecta(int width, COLORREF color, std::string_view layer, const CPointd& p1, const CPointd& p2) const;
    CCirc* NewCirc(int width, COLORREF color, std::string_view layer, const CPointd& centre, double radius) const;
    CArc* NewArc(int width, COLORREF color, std::string_view layer, const CPointd& centre, double radius,
                 double start, double end) const;
    CPunt* NewPunt(int width, COLORREF color, std::string_view layer, const CPointd& point) const;
    CText* NewText(int width, COLORREF color, std::string_view layer, const CPointd& insert, int justify,
                   std::string_view text, const LOGFONT& font) const;
    CInsBl* NewInsBl(int width, COLORREF color, std::string_view layer, std::string_view block,
                     const CPointd& insert, double rotation, double sx, double sy) const;
    CTdface* NewTdface(int width, COLORREF color, std::string_view layer, const CPointd (&c)[4]) const;
    CPLine* NewPLine(int width, COLORREF color, std::string_view layer, CObList& segments) const;

    // Entity creation from the current settings: appended to the entity list,
    // visible, modified; the caller sets the geometry, draws and widens the extents.
    CRecta* AddRecta();
    CCirc* AddCirc();
    CArc* AddArc();
    CPunt* AddPunt();
    CText* AddText();
    CInsBl* AddInsBl();
    // Polylines and dimensions take every element of the given list over.
    CPLine* AddPLine(CObList& segments);
    CAcot* AddAcot(CObList& parts);
    CTdface* AddTdface();
    // Default-constructed: the caller sets everything.
    CHatch* AddHatch();
    CBmp* AddBmp();

    // Entity creation with the caller's pen width, colour and layer: widened
    // into the extents, drawn in the views that mirror the drawing, then
    // appended with the layer's on/off word as its visible word.
    CRecta* AddRectaOnLayer(int width, COLORREF color, std::string_view layer, const CPointd& p1,
                            const CPointd& p2);
    CCirc* AddCircOnLayer(int width, COLORREF color, std::string_view layer, const CPointd& centre, double radius);
    CArc* AddArcOnLayer(int width, COLORREF color, std::string_view layer, const CPointd& centre, double radius,
                        double start, double end);
    CPunt* AddPuntOnLayer(int width, COLORREF color, std::string_view layer, const CPointd& point);
    CText* AddTextOnLayer(int width, COLORREF color, std::string_view layer, const CPointd& insert, int justify,
                          std::string_view text, const LOGFONT& font);
    CInsBl* AddInsBlOnLayer(int width, COLORREF color, std::string_view layer, const CPointd& insert, double sy,
                            double rotation, double sx, std::string_view block);
    // Corners c[0] to c[3]; the document's extrusion mode and direction.
    CTdface* AddTdfaceOnLayer(int width, COLORREF color, std::string_view layer, const CPointd (&c)[4]);
    // Hatches and bitmaps are neither drawn nor measured here.
    CHatch* AddHatchOnLayer(int width, COLORREF color, std::string_view layer, int kind, const CPointd& seed);
    CBmp* AddBmpOnLayer(int width, COLORREF color, std::string_view layer, std::string_view file,
                        const CPointd& corner, double w, double h);

    // Scratch lists for a block or polyline under construction; they own
    // their elements until whoever takes the elements over moves them out.
    CRecta* AddWorkRecta();
    CArc* AddWorkArc();
    CCirc* AddWorkCirc();
    CPunt* AddWorkPunt();
    CText* AddWorkText();
    CInsBl* AddWorkInsBl(int width, COLORREF color, std::string_view layer);
    CRecta* AddSegRecta();
    CArc* AddSegArc();
    CPLine* AddWorkPLine(CObList& segments);
    CAcot* AddWorkAcot(CObList& parts);
    // The caller's pen and layer, the document's extrusion; sets the modified flag.
    CTdface* AddWorkTdface(int width, COLORREF color, std::string_view layer, int mode, double dx, double dy,
                           double dz);
    // The caller's pen, colour and layer; neither drawn nor widening the extents.
    CPLine* AddPLineOnLayer(int width, COLORREF color, std::string_view layer, CObList& segments);

    // Dimension generation (dimgen.cpp): appended and modified, not drawn.
    CAcot* AddLinearDim(int width, COLORREF color, std::string_view layer, const CPointd& p1, const CPointd& p2,
                        const CPointd& textAt);
    // curve: a circle (type 2) or an arc (any other type), picked at p; q places the text.
    CAcot* AddRadialDim(int width, COLORREF color, std::string_view layer, const CObject* curve, int type,
                        const CPointd& p, const CPointd& q);
    // Appends to parts the lines of mark blocks a (at d1) and b (at d2, or a's
    // mirror image when b is a), turned along d1-d2 (reversed unless flag is 1).
    void AddDimensionMarks(const CBloq& a, const CBloq& b, CObList& parts, std::string_view layer,
                           const CPointd& d1, const CPointd& d2, int flag);
    // Explode (docexplode.cpp): copies of the entity's parts go to the end of
    // the entity list, each visible as its layer is, and added is told of
    // each new element, for the caller's undo history. The entity keeps its
    // own parts; the caller takes its element out of the list.
    using AddedRecordFn = std::function<void(int type, CDib* record, POSITION pos)>;
    // Every line and arc segment.
    void ExplodePLine(const CPLine& pline, const AddedRecordFn& added);
    // Every entity of the block placed as the insert draws it (a nested
    // insert becomes an insert); a layer the drawing lacks is added, on, in
    // the entity's colour.
    void ExplodeInsBl(const CInsBl& insert, const CBloq& block, const AddedRecordFn& added);
    // Every part but the first line part (the definition line).
    void ExplodeAcot(const CAcot& dim, const AddedRecordFn& added);
    // Free what the scratch lists still hold.
    void ClearWorkList() { m_work.DeleteAll(); }
    void ClearSegList() { m_segments.DeleteAll(); }

    // Entity list access; a position stays valid until its node is removed.
    POSITION GetFirstEntityPosition() const { return m_entities.GetHeadPosition(); }
    POSITION GetLastEntityPosition() const { return m_entities.GetTailPosition(); }
    CObject* GetNextEntity(POSITION& pos, int& type) const;
    CObject* GetEntityAt(POSITION pos, int& type) const;
    CDib* GetEntityRecord(POSITION pos) const { return static_cast<CDib*>(m_entities.GetAt(pos)); }
    CDib* GetLastEntityRecord() const;
    // Position of the element in the entity list, or null when it is not there.
    POSITION FindEntityRecord(const CDib* dib) const;
    // Position of the element with this serial number, or null when it is not in the list.
    POSITION FindEntityBySerial(std::uint64_t serial) const;
    POSITION AppendEntityRecord(CDib* dib);
    POSITION InsertEntityRecordBefore(POSITION before, CDib* dib);
    // Unlinks the node; the caller keeps the element and its entity.
    void RemoveEntityRecord(POSITION pos);
    // The on/off word of the layer named exactly name; 0 when there is none.
    int GetLayerVisibility(std::string_view name) const;

    // Drawing extents (plan only; z untouched).
    void ExtendExtentsByPoint(const CPointd& p);
    void ExtendExtentsByEntity(int type, const CObject* entity);
    // Recomputes from every element whose flag is 1, plus the margins; an empty drawing keeps its extents.
    void CalcExtents();
    // Widens the extents by a new entity and draws it in every view.
    void ExtendAndDrawEntity(int type, CObject* entity);
    // Mode 0 erases the element in every plan view, mode 1 draws it; other modes do nothing.
    void DrawInAllViews(int mode, CDib* element);

    CObList& GetLayerList() { return m_layers; }
    // Read-only: the entity list changes through the operations above, which keep its index.
    const CObList& GetEntityList() const { return m_entities; }
    // Read-only: the block list changes through the operations below, which keep its name index.
    const CObList& GetBlockList() const { return m_blocks; }

    // Block list (docblocks.cpp). A new block named name takes the current
    // pen, colour and layer and every element of entities.
    CBloq* AddBlock(const CPointd& base, CObList& entities, std::string_view name);
    // Takes block, named already, into the list: at its head or its tail.
    void AdoptBlock(CBloq* block, bool atHead);
    // Room in the name index for more blocks to come.
    void ReserveBlocks(std::size_t more);
    POSITION GetFirstBlockPosition() const { return m_blocks.GetHeadPosition(); }
    // The first block named exactly name, or null. Found by a name index that
    // the operations here keep; blocks are named when they join the list.
    CBloq* FindBlock(std::string_view name) const override;
    std::uint64_t BlockListVersion() const override { return m_blockVersion; }
    double PointHeight() const override { return m_pointHeight; }
    bool FillsHatches() const override;
    bool ShowsBitmaps() const override;
    const LOGFONT& LabelFont() const override { return m_dimFont; }
    CBloq* GetNextBlock(POSITION& pos) const;
    // Removes the blocks in one walk of the list, unlinks them from every
    // referenced-block list and frees each with everything it holds. Blocks
    // not in the list are left alone.
    void RemoveBlocks(const std::vector<CBloq*>& blocks);
    // Frees every block, those only referenced-block lists name included.
    void DeleteBlocks();
    // Measures every block's box again (CBloq::m_box); the stored extents stay.
    void CalcBlockExtents();
    CObList& GetAttribDefList() { return m_attribDefs; }
    CObList& GetWorkList() { return m_work; }
    CObList& GetSegList() { return m_segments; }

    int m_penWidth = 1;  // pen width of every entity the Add family makes
    int m_pageWidth = 0, m_pageHeight = 0;  // last printed page, tenths of a millimetre
    int m_selectionFilter = 0;              // the next right button while picking asks for filters
    double m_dialogValue = 0.0;             // the value the Z and thickness dialogs hand back
    double m_wallOffset = 0.0;              // wall thickness of the wall offset dialog
    int m_wallCounter = 0;
    int m_orthoSave = 0;        // ortho while a step turns it off
    double m_angleSave = 0.0;   // reference angle while a camera step sets it
    double m_focalDistance = 0.0;  // eye to focal plane of the last focal step
    int m_ucsActive = 0;        // a user coordinate system is in force
    // What the working plane in force did to each record it found, by serial,
    // so that returning to the world gives it back.
    struct CPlaneMark {
        bool hidden = false;  // hidden, not converted
        int previous = 0;     // a hidden record's visible word, a converted one's extrusion mode
    };
    std::unordered_map<std::uint64_t, CPlaneMark> m_planeMarks;
    // Working planes (docplanes.cpp). Takes the records into the plane through
    // origin with the rows of axes as its X, Y and normal: those of the
    // normal's direction, and points, take its coordinates, the rest is hidden
    // with a mark.
    void EnterPlane(const CPointd& origin, const double (&axes)[3][3]);
    // Records that came in world coordinates (pasted ones) enter the plane in
    // force the same way.
    void TakeIntoPlane(const std::vector<CDib*>& records);
    // Back to the world: what the plane hid shows as before, the rest goes
    // back to world coordinates. True when a plane was in force.
    bool LeavePlane();
    // Points between the world and the plane in force, in place.
    void ToPlanePoint(CPointd& p) const;
    void ToWorldPoint(CPointd& p) const;
    // The drawing as the world system has it (a plane in force left, all it
    // hid shown) in copy, a drawing of its own; this one is not changed.
    // False when it cannot be copied.
    bool WorldSystemCopy(CRectaDoc& copy) const;
    // Objects of other programs embedded in the file: they cannot be shown
    // here, so their part of the file (count first) is kept as read and
    // written back unchanged.
    int m_embeddedItems = 0;
    std::vector<BYTE> m_embeddedPart;

    // Objects embedded here (cntritem.cpp, rectadoc.cpp), later ones over earlier ones.
    const COleItemList& GetItems() const { return m_items; }
    // Takes item over at the end of the item list.
    CRectaCntrItem* AddItem(std::unique_ptr<CRectaCntrItem> item);
    // Closes and frees item; false when it is not the drawing's.
    bool DeleteItem(CRectaCntrItem* item);
    // False, with the reason, when objects cannot be added: the drawing keeps
    // objects embedded by another program as it read them.
    bool CanTakeItems(std::string& why) const;
    // The same for item, which must also leave the drawing's objects within
    // what one drawing's objects may hold together.
    bool CanTakeItem(const COleClientItem& item, std::string& why) const;
    // A drawing running as an embedded object gives its item its bytes and picture as they are now.
    void UpdateAllItems();
    // The item whose drawing this is, while it runs as an embedded drawing.
    CRectaCntrItem* m_pEmbeddingItem = nullptr;

private:
    // Brings loaded values that later code cannot work with into range.
    void SanitizeLoadedSettings();
    bool SaveBeforeClose();
    void SwapContents(CRectaDoc& other);
    // Streams the drawing to a file beside path and puts it in path's place
    // only when all of it was written and the reader takes a file of its size.
    bool WriteFileAtomically(const std::string& path, std::string& error) const;
    // Stores the drawing as its file holds it: a working plane in force taken back to the world.
    void StoreDrawing(CArchive& ar) const;
    // True when the embedded-object part begins as an item in this program's
    // form does, as far as the part goes.
    static bool IsOwnItemPart(std::span<const BYTE> part);
    void RebuildEntityIndex();
    void IndexBlock(CBloq* block, bool atHead);
    // Gives the block list a new version: lookups remembered before are not used again.
    void BlocksChanged() const;
    template <class T>
    T* Append(CObList& list, int type, T* entity, int visible = 1);
    template <class T>
    T* AppendOnLayer(int type, T* entity);

    CObList m_entities{ListOwnership::owns};
    CObList m_layers{ListOwnership::owns};
    CObList m_blocks{ListOwnership::owns};
    // Name -> first block of that name in the list; rebuilt on the next
    // lookup after the list was loaded or swapped whole.
    mutable std::unordered_map<std::string, CBloq*> m_blockIndex;
    mutable bool m_blockIndexStale = false;
    // Some name was met twice: a removal may bring a later block of its name forward.
    mutable bool m_blockNamesRepeat = false;
    mutable std::uint64_t m_blockVersion = 0;
    // Blocks a file names in referenced-block lists only: kept, so that the
    // lists still name them when the drawing is written again.
    std::vector<std::unique_ptr<CObject>> m_unlistedBlocks;
    CObList m_attribDefs{ListOwnership::owns};
    std::unordered_map<std::uint64_t, POSITION> m_entityIndex;  // serial -> node
    CObList m_work{ListOwnership::owns};
    CObList m_segments{ListOwnership::owns};
    COleItemList m_items{this};
};

// A copy of each block of blocks whose name the drawing lacks goes to the
// head of the drawing's block list; each copy's referenced-block list names
// the drawing's blocks of the names the original's lists (others are left out).
void AddMissingBlocks(CRectaDoc& doc, const CObList& blocks);

// Reads the drawing file at path into fresh, a drawing of its own; the
// reason when it cannot be read whole.
std::optional<std::string> LoadDrawing(const std::string& path, CRectaDoc& fresh);
// The same for a drawing file held in bytes; the archive's reason when it cannot be read whole.
std::optional<std::string> ReadDrawingBytes(std::span<const BYTE> bytes, CRectaDoc& fresh);
// The drawing file of a new, empty drawing; no pane or view hears of it.
std::vector<BYTE> EmptyDrawingBytes();
// The bytes of the drawing file at path, or the reason they cannot be read.
std::optional<std::string> ReadDrawingFileBytes(const std::string& path, std::vector<BYTE>& bytes);
// The message for a drawing file at path that is damaged as damage says.
std::string DamagedDrawingMessage(const std::string& path, const std::string& damage);
// The element class a drawing file's list of this class name is read with.
const CRuntimeClass* DrawingListClass(const char* name);
