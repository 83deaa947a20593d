#include "doc/rectadoc.h"

#include "doc/apphost.h"
#include "doc/cntritem.h"
#include "doc/srvritem.h"
#include "model/fontrecord.h"
#include "platform/archive.h"
#include "platform/fileio.h"
#include "platform/msgbox.h"
#include "platform/utf8.h"
#include "platform/waitcursor.h"

#include <cmath>
#include <optional>
#include <string_view>
#include <unordered_set>
#include <utility>

namespace {

// A list whose element class is not built in yet: any element fails the load.
const CRuntimeClass* ListClass(const char* name)
{
    if (const CRuntimeClass* rc = CRuntimeClass::FromName(name))
        return rc;
    static const CRuntimeClass unavailable = {"(unavailable)", 1, nullptr, nullptr};
    return &unavailable;
}

constexpr int kMaxDecimals = 12;

// A message names this many paths at most, each cut to about kShownPathBytes.
constexpr std::size_t kShownPaths = 5;
constexpr std::size_t kShownPathBytes = 120;

// The first few of the paths, each once and one a line, a long one cut in
// its middle, and how many more there are.
std::string SomePaths(const std::vector<std::string>& paths)
{
    std::string text;
    std::unordered_set<std::string_view> seen;
    for (const std::string& path : paths) {
        if (!seen.insert(path).second || seen.size() > kShownPaths)
            continue;
        if (path.size() <= kShownPathBytes) {
            text += "\n" + path;
            continue;
        }
        const std::size_t head = Utf8CharacterStart(path, kShownPathBytes / 3);
        const std::size_t tail = Utf8CharacterStart(path, path.size() - (kShownPathBytes - kShownPathBytes / 3));
        text.append("\n").append(path, 0, head).append("...").append(path, tail);
    }
    if (seen.size() > kShownPaths)
        text += "\nand " + std::to_string(seen.size() - kShownPaths) + " more";
    return text;
}

bool FiniteWindow(const CPointd& a, const CPointd& b)
{
    return std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(b.x) && std::isfinite(b.y) && a.x < b.x &&
           a.y < b.y;
}

}  // namespace

CRectaDoc::CRectaDoc() = default;

CRectaDoc::~CRectaDoc()
{
    DeleteContents();
}

std::unique_ptr<COleServerItem> CRectaDoc::OnGetEmbeddedItem() { return std::make_unique<CRectaSrvrItem>(this); }

// ---------------------------------------------------------------- lifecycle

bool CRectaDoc::OnNewDocument()
{
    DeleteContents();
    SetPathName("");
    InitSettings(1);
    AppHost().CountNewDocument();
    return true;
}

void CRectaDoc::DeleteContents()
{
    CWaitCursor wait;
    m_items.DeleteAll();
    m_entities.DeleteAll();
    m_entityIndex.clear();
    DeleteBlocks();
    DeleteAllLayers();
}

void CRectaDoc::InitSettings(int mode)
{
    m_askZ = 0;
    if (mode == 1) {
        CDrawingSettings& s = *this;
        s = CDrawingSettings();
        m_headerMagic = kHeaderMagic3;
        m_marginX = m_marginY = 0.0;
        m_ortho = 1;
        m_color = 0;
        m_layerName = "ZP";
        SetLastLayerName(m_layerName);
        AddLayer(0, 1);
        SetModifiedFlag(false);
        m_extMin = CPointd(0, 0);
        m_extMax = CPointd(12, 8);
        m_windowMin = m_extMin;
        m_windowMax = m_extMax;
        m_prevWindowMin = m_windowMin;
        m_prevWindowMax = m_windowMax;
        m_coordDecimals = m_angleDecimals = 2;
        m_gridStep = 0.05;

        m_dimFont = LOGFONT();
        m_dimFont.lfHeight = 25;
        m_dimFont.lfWeight = 400;
        m_dimFont.lfOutPrecision = 4;
        m_dimFont.lfPitchAndFamily = 0x32;
        SetFaceName(m_dimFont, "Courier New");
        m_dimParams[0] = 0.1;
        m_dimParams[1] = 0.2;
        m_dimParams[2] = 0.05;
        m_dimParams[3] = 0.2;
        CopyLogFont(m_textFont, m_dimFont);
        m_textFont.lfHeight = 38;

        m_markName1 = m_markName2 = m_thirdName = "DEF";
        m_realA = m_pointHeight = 1.0;

        for (int& w : m_toolWords)
            w = 0;
        for (double& r : m_toolReals)
            r = 0.0;
        m_toolWords[2] = 2;
        m_toolWords[3] = 2;
        m_toolWords[4] = 1;
        m_toolWords[5] = 1;
        m_toolWords[6] = 1;
        const double reals[][2] = {{2, 0.06},  {3, 0.04}, {4, 0.725}, {5, 0.04},  {6, 1.0},
                                   {7, 0.725}, {8, 2.1},  {9, 0.9},   {10, 1.1},  {11, 0.25},
                                   {13, 2000.0}};
        for (const auto& r : reals)
            m_toolReals[int(r[0])] = r[1];

        m_extrusionMode = 0;
        m_currentZ = 0.0;
        m_thickness = 2.9;
        const double eyes[6][2] = {{0, 0}, {10, 0}, {20, 0}, {20, 20}, {10, 20}, {0, 20}};
        for (int i = 0; i < 6; ++i) {
            m_cameraEye[i] = CPointd(eyes[i][0], eyes[i][1], 8);
            m_cameraTarget[i] = CPointd(10, 10, 1);
            m_cameraLens[i] = 0.45;
            m_lightPos[i] = CPointd(0, 0, 8);
            m_lightTarget[i] = CPointd(10, 7, 0);
        }
        UpdateAllViews(nullptr);
    }
    // The ortho flag ends as it was; the pane shows it.
    m_ortho = !m_ortho;
    ToggleOrtho();
    AppHost().SetPaneText(3, m_layerName);
}

void CRectaDoc::ToggleOrtho()
{
    m_ortho = !m_ortho;
    ShowOrtho();
}

void CRectaDoc::ShowOrtho() const
{
    AppHost().SetPaneText(1, m_ortho ? "ORTHO ON             " : "ORTHO OFF             ");
}

std::optional<std::string> LoadDrawing(const std::string& path, CRectaDoc& fresh)
{
    CWaitCursor wait;
    std::vector<BYTE> bytes;
    if (auto error = ReadDrawingFileBytes(path, bytes))
        return error;
    if (const auto damage = ReadDrawingBytes(bytes, fresh))
        return DamagedDrawingMessage(path, *damage);
    return std::nullopt;
}

std::optional<std::string> ReadDrawingFileBytes(const std::string& path, std::vector<BYTE>& bytes)
{
    std::string error;
    if (!ReadRegularFile(path, kMaxFileBytes, bytes, error))
        return "Cannot open the drawing " + path + ": " + error;
    return std::nullopt;
}

std::vector<BYTE> EmptyDrawingBytes()
{
    // A new drawing shows its settings in the panes: these must not.
    CAppHost* shown = InstallAppHost(nullptr);
    CRectaDoc drawing;
    drawing.InitSettings(1);
    InstallAppHost(shown);
    CArchive ar;
    drawing.Serialize(ar);
    return ar.TakeData();
}

std::string DamagedDrawingMessage(const std::string& path, const std::string& damage)
{
    return "The drawing " + path + " is damaged or not a drawing file (" + damage + ").";
}

const CRuntimeClass* DrawingListClass(const char* name)
{
    return ListClass(name);
}

std::optional<std::string> ReadDrawingBytes(std::span<const BYTE> bytes, CRectaDoc& fresh)
{
    try {
        CArchive ar(bytes);
        fresh.Serialize(ar);
    } catch (const CArchiveException& e) {
        return e.what();
    }
    return std::nullopt;
}

bool CRectaDoc::OnOpenDocument(const std::string& path)
{
    CRectaDoc fresh;
    if (const auto error = LoadDrawing(path, fresh)) {
        AfxMessageBox(*error, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const COleItemList::LinksLeft links = fresh.m_items.UpdateLinks();
    SwapContents(fresh);
    SetPathName(path);
    SetModifiedFlag(false);
    InitSettings(2);
    UpdateAllViews(nullptr);
    if (m_embeddedItems > 0)
        AfxMessageBox("The drawing " + path + " holds " + std::to_string(m_embeddedItems) +
                          " embedded object(s) of another program, which cannot be shown here: they are kept and "
                          "saved with the drawing.",
                      MB_OK | MB_ICONINFORMATION);
    std::string kept;
    if (!links.unread.empty())
        kept = "The drawing " + path + " links pictures whose files cannot be read; it shows the pictures it kept "
               "of them:" + SomePaths(links.unread);
    if (!links.tooLarge.empty())
        kept += std::string(kept.empty() ? "" : "\n\n") + "The drawing " + path + " links pictures that would take "
                "its objects past " + std::to_string(kMaxItemBytes >> 20) + " MB together; it shows the pictures it "
                "kept of them:" + SomePaths(links.tooLarge);
    if (!kept.empty())
        AfxMessageBox(kept, MB_OK | MB_ICONINFORMATION);
    return true;
}

void CRectaDoc::SwapContents(CRectaDoc& other)
{
    std::swap(static_cast<CDrawingSettings&>(*this), static_cast<CDrawingSettings&>(other));
    m_entities.Swap(other.m_entities);
    m_entityIndex.swap(other.m_entityIndex);
    m_layers.Swap(other.m_layers);
    m_blocks.Swap(other.m_blocks);
    m_blockIndex.swap(other.m_blockIndex);
    std::swap(m_blockIndexStale, other.m_blockIndexStale);
    std::swap(m_blockNamesRepeat, other.m_blockNamesRepeat);
    BlocksChanged();
    other.BlocksChanged();
    m_unlistedBlocks.swap(other.m_unlistedBlocks);
    m_attribDefs.Swap(other.m_attribDefs);
    std::swap(m_embeddedItems, other.m_embeddedItems);
    m_embeddedPart.swap(other.m_embeddedPart);
    m_items.Swap(other.m_items);
}

void CRectaDoc::StoreDrawing(CArchive& ar) const
{
    // A working plane in force is a way of showing the drawing: the file keeps it in the world.
    if (m_ucsActive) {
        CRectaDoc world;
        if (!WorldSystemCopy(world))
            ar.Fail(CArchiveException::writeFailed, "the drawing could not be taken back to the world system");
        world.StoreDrawing(ar);
        return;
    }
    const_cast<CRectaDoc*>(this)->Serialize(ar);
}

bool CRectaDoc::WriteDrawingBytes(std::vector<BYTE>& bytes, std::string& error) const
{
    CArchive ar;
    try {
        StoreDrawing(ar);
    } catch (const CArchiveException& e) {
        error = e.m_message;
        return false;
    }
    bytes = ar.TakeData();
    return true;
}

bool CRectaDoc::WriteFileAtomically(const std::string& path, std::string& error) const
{
    return StoreToFile(path, kMaxFileBytes, [this](CArchive& ar) { StoreDrawing(ar); }, error);
}

bool CRectaDoc::OnSaveDocument(const std::string& path)
{
    std::string error;
    bool written;
    {
        CWaitCursor wait;
        written = WriteFileAtomically(path, error);
    }
    if (!written) {
        AfxMessageBox("The drawing could not be saved to " + path + ": " + error, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CRectaDoc::SaveModified()
{
    // An embedded drawing's contents go back into its item, not to a file.
    if (SaveEmbedding())
        return true;
    if (!IsModified())
        return true;
    switch (AfxMessageBox("The Document " + GetTitle() + " has been modified. Do you want to save it?",
                          MB_YESNOCANCEL)) {
    case IDNO:
        SetModifiedFlag(false);
        return true;
    case IDYES: return SaveBeforeClose();
    default:
        return false;
    }
}

int CRectaDoc::QuerySaveOnClose()
{
    if (SaveEmbedding())
        return 0;
    if (!IsModified())
        return 0;
    const int answer = AfxMessageBox(
        "The Document " + GetTitle() + " has been modified. Do you want to save it ?", MB_YESNOCANCEL);
    switch (answer) {
    case IDNO:
        SetModifiedFlag(false);
        return IDNO;
    case IDYES: return SaveBeforeClose() ? IDYES : IDCANCEL;
    default:
        return IDCANCEL;
    }
}

// Without a file the user is asked for one; a refused name or a failed save keeps the drawing open and modified.
bool CRectaDoc::SaveBeforeClose()
{
    if (GetPathName().empty())
        return s_saveAs && s_saveAs(*this);
    return OnSaveDocument(GetPathName());
}

void CRectaDoc::SaveToOwnPath()
{
    if (!GetPathName().empty())
        OnSaveDocument(GetPathName());
}

void CRectaDoc::OnDeactivate()
{
    UpdateAllViews(nullptr);
    COleServerDoc::OnDeactivate();
}

COleIPFrameWnd* CRectaDoc::CreateInPlaceFrame(QWidget* parent)
{
    COleIPFrameWnd* frame = COleServerDoc::CreateInPlaceFrame(parent);
    if (frame)
        AppHost().SetInPlace(1, GetViews().empty() ? nullptr : GetViews().front());
    return frame;
}

void CRectaDoc::DestroyInPlaceFrame(COleIPFrameWnd* frame)
{
    COleServerDoc::DestroyInPlaceFrame(frame);
    AppHost().SetInPlace(0, nullptr);
}

// ---------------------------------------------------------------- drawing file

void CRectaDoc::Serialize(CArchive& ar)
{
    SerializeContents(ar);
    // The embedded objects: a count of items, then each item. Objects
    // another program embedded are kept as the bytes read, count first.
    // A file may end without the part.
    if (ar.IsStoring()) {
        if (!m_embeddedPart.empty()) {
            ar.Write(m_embeddedPart.data(), m_embeddedPart.size());
            return;
        }
        // The reader takes no more: such a file is not written.
        if (std::string why; !ItemBytesFit(m_items.StoredBytes(), why))
            ar.Fail(CArchiveException::writeFailed, why);
        ar.WriteCount(m_items.size());
        for (COleClientItem* item : m_items)
            ar.WriteObject(item);
        return;
    }
    m_items.DeleteAll();
    m_embeddedItems = 0;
    m_embeddedPart.clear();
    if (ar.Remaining() == 0)
        return;
    if (IsOwnItemPart(ar.Rest())) {
        // Each item takes at least its tag, the item data and its rectangle.
        const std::size_t count = ar.ReadCount(2 + 16);
        std::size_t total = 0;
        for (std::size_t i = 0; i < count; ++i) {
            bool isNew = false;
            const std::size_t at = ar.GetPosition();
            CObject* obj = ar.ReadObject(RUNTIME_CLASS(CRectaCntrItem), &isNew);
            if (!obj || !isNew)
                throw CArchiveException(CArchiveException::badValue, at,
                                        "embedded object " + std::to_string(i + 1) + " is missing");
            total += m_items.Add(std::unique_ptr<COleClientItem>(static_cast<CRectaCntrItem*>(obj)))->StoredBytes();
            if (std::string why; !ItemBytesFit(total, why))
                throw CArchiveException(CArchiveException::badValue, at,
                                        "with embedded object " + std::to_string(i + 1) + " " + why);
        }
        if (ar.Remaining() > 0)
            ar.Fail(CArchiveException::badValue, std::to_string(ar.Remaining()) + " bytes follow the embedded objects");
        return;
    }
    WORD items = 0;
    ar >> items;
    if (items == 0) {
        if (ar.Remaining() > 0)
            ar.Fail(CArchiveException::badValue,
                    std::to_string(ar.Remaining()) + " bytes follow the end of the drawing");
        return;
    }
    m_embeddedItems = items;
    m_embeddedPart = {BYTE(items & 0xFF), BYTE(items >> 8)};  // as the file holds the count
    m_embeddedPart.resize(2 + ar.Remaining());
    ar.Read(m_embeddedPart.data() + 2, m_embeddedPart.size() - 2);
}

bool CRectaDoc::IsOwnItemPart(std::span<const BYTE> part)
{
    // A count, then the first item's class record and this program's item
    // data, as far as the part goes: one cut short of them is ours, damaged.
    constexpr std::string_view name = "CRectaCntrItem";
    if (part.size() < 2 || (part[0] | part[1]) == 0)
        return false;
    const std::size_t at = part[0] == 0xFF && part[1] == 0xFF ? 6 : 2;
    const WORD schema = CRectaCntrItem::classCRectaCntrItem.m_wSchema;
    std::vector<BYTE> record = {0xFF, 0xFF, BYTE(schema), BYTE(schema >> 8), BYTE(name.size()), 0};
    record.insert(record.end(), name.begin(), name.end());
    const std::span<const BYTE> rest = part.subspan(std::min(at, part.size()));
    const std::size_t n = std::min(rest.size(), record.size());
    return std::equal(rest.begin(), rest.begin() + long(n), record.begin()) &&
           COleClientItem::MayBeItemData(rest.subspan(n));
}

CRectaCntrItem* CRectaDoc::AddItem(std::unique_ptr<CRectaCntrItem> item)
{
    return static_cast<CRectaCntrItem*>(m_items.Add(std::move(item)));
}

bool CRectaDoc::DeleteItem(CRectaCntrItem* item)
{
    return m_items.Delete(item);
}

bool CRectaDoc::CanTakeItems(std::string& why) const
{
    if (m_embeddedItems == 0)
        return true;
    why = "The drawing holds " + std::to_string(m_embeddedItems) +
          " object(s) embedded by another program, which are kept as they were read: no object can be added to it.";
    return false;
}

bool CRectaDoc::CanTakeItem(const COleClientItem& item, std::string& why) const
{
    if (!CanTakeItems(why))
        return false;
    if (ItemBytesFit(m_items.StoredBytes() + item.StoredBytes(), why))
        return true;
    why = "The object cannot be added: " + why + ".";
    return false;
}

void CRectaDoc::UpdateAllItems()
{
    COleServerItem* item = m_pEmbeddingItem ? GetEmbeddedItem() : nullptr;
    if (!item)
        return;
    // The data as a file holds it: a working plane in force is left first.
    CRectaDoc world;
    COleServerItem* source = item;
    if (m_ucsActive) {
        if (!WorldSystemCopy(world))
            return;
        source = world.GetEmbeddedItem();
    }
    CArchive ar;
    try {
        source->Serialize(ar);
    } catch (const CArchiveException&) {
        return;
    }
    m_pEmbeddingItem->TakeBackDrawing(ar.TakeData(), item->RecordPicture());
}

void CRectaDoc::SerializeContents(CArchive& ar)
{
    SerializeHeader(ar);
    SerializeSettings(ar);
    m_windowMin.Serialize(ar);
    m_windowMax.Serialize(ar);
    m_extMin.Serialize(ar);
    m_extMax.Serialize(ar);
    m_layers.Serialize(ar, RUNTIME_CLASS(CLayer));
    m_entities.Serialize(ar, RUNTIME_CLASS(CDib));
    if (ar.IsLoading())
        RebuildEntityIndex();
    m_blocks.Serialize(ar, ListClass("CBloq"));
    if (ar.IsLoading()) {
        m_blockIndexStale = true;
        BlocksChanged();
    }
    m_attribDefs.Serialize(ar, ListClass("CAttrib"));
    if (ar.IsLoading()) {
        // Blocks that only referenced-block lists name stay with the drawing.
        for (auto& block : ar.TakeUnowned())
            m_unlistedBlocks.push_back(std::move(block));
        CalcBlockExtents();
        m_prevWindowMin = m_windowMin;
        m_prevWindowMax = m_windowMax;
        SanitizeLoadedSettings();
    }
}

void CRectaDoc::SerializeHeader(CArchive& ar)
{
    ar.SetOldFormat(false);
    bool version3 = true;
    if (ar.IsStoring()) {
        ar << m_headerMagic;
    } else {
        std::string magic;
        ar >> magic;
        ar.SetOldFormat(magic == kHeaderMagic2);
        version3 = magic == kHeaderMagic3;
        m_headerMagic = kHeaderMagic3;
    }
    ar.Exchange(m_marginX);
    ar.Exchange(m_marginY);
    ar.ExchangeWord(m_ortho);
    ar.Exchange(m_layerName);
    ar.Exchange(m_color);
    ar.ExchangeWord(m_coordDecimals);
    ar.ExchangeWord(m_angleDecimals);
    ar.Exchange(m_gridStep);
    if (ar.IsStoring()) {
        StoreLogFont(ar, m_textFont);
        StoreLogFont(ar, m_dimFont);
    } else {
        LoadLogFont(ar, m_textFont);
        LoadLogFont(ar, m_dimFont);
    }
    ar.Exchange(m_markName1);
    ar.Exchange(m_markName2);
    if (version3) {
        ar.Exchange(m_thirdName);
        ar.Exchange(m_realA);
        ar.Exchange(m_pointHeight);
    } else {
        m_thirdName = "DEF";
        m_realA = 1.0;
        m_pointHeight = 1.0;
    }
    for (double& p : m_dimParams)
        ar.Exchange(p);
    ar.ExchangeWord(m_extrusionMode);
    ar.Exchange(m_ucsOrigin.x);
    ar.Exchange(m_ucsOrigin.y);
    ar.Exchange(m_extrusionDir.x);
    ar.Exchange(m_extrusionDir.y);
    ar.Exchange(m_extrusionDir.z);
    ar.Exchange(m_currentZ);
    ar.Exchange(m_thickness);
}

void CRectaDoc::SerializeSettings(CArchive& ar)
{
    for (int& w : m_toolWords)
        ar.ExchangeWord(w);
    for (int i = 1; i <= 21; ++i)
        ar.Exchange(m_toolReals[i]);
    for (CPointd& p : m_toolPoints)
        p.Serialize(ar);
    for (int i = 0; i < 6; ++i) {
        m_cameraEye[i].Serialize(ar);
        m_cameraTarget[i].Serialize(ar);
        m_lightPos[i].Serialize(ar);
        m_lightTarget[i].Serialize(ar);
        ar.Exchange(m_cameraLens[i]);
    }
}

void CRectaDoc::SanitizeLoadedSettings()
{
    if (!(m_gridStep >= 0.001) || !std::isfinite(m_gridStep))
        m_gridStep = 0.05;
    m_coordDecimals = std::min(m_coordDecimals, kMaxDecimals);
    m_angleDecimals = std::min(m_angleDecimals, kMaxDecimals);
    for (int index : {TW_CAMERA, TW_LIGHT})
        if (m_toolWords[index] > 5)
            m_toolWords[index] = 0;
    if (!std::isfinite(m_extMin.x) || !std::isfinite(m_extMin.y) || !std::isfinite(m_extMax.x) ||
        !std::isfinite(m_extMax.y)) {
        m_extMin = CPointd(0, 0);
        m_extMax = CPointd(12, 8);
    }
    if (!FiniteWindow(m_windowMin, m_windowMax)) {
        const bool useExtents = FiniteWindow(m_extMin, m_extMax);
        m_windowMin = useExtents ? m_extMin : CPointd(0, 0);
        m_windowMax = useExtents ? m_extMax : CPointd(12, 8);
    }
    m_prevWindowMin = m_windowMin;
    m_prevWindowMax = m_windowMax;
    for (double* margin : {&m_marginX, &m_marginY})
        if (!std::isfinite(*margin))
            *margin = 0.0;
}

// ---------------------------------------------------------------- layers

CLayer* CRectaDoc::AddLayer(COLORREF color, int on)
{
    auto* layer = new CLayer(color, on);
    m_layers.AddTail(layer);
    SetModifiedFlag();
    return layer;
}

int CRectaDoc::FindLayer(std::string_view name, CLayer*& layer) const
{
    for (CObject* obj : m_layers) {
        auto* candidate = static_cast<CLayer*>(obj);
        if (candidate->m_name == name) {
            layer = candidate;
            return 1;
        }
    }
    layer = nullptr;
    return 0;
}

void CRectaDoc::RemoveLayerAt(POSITION pos)
{
    m_layers.DeleteAt(pos);
}

void CRectaDoc::DeleteAllLayers()
{
    m_layers.DeleteAll();
}

bool CRectaDoc::FillsHatches() const
{
    return AppHost().FillsHatches();
}

bool CRectaDoc::ShowsBitmaps() const
{
    return AppHost().ShowsBitmaps();
}
