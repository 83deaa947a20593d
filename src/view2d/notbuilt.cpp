// Stubs of the operations this build does not have yet. Building one means
// deleting its row and its stub here.
#include "view2d/notbuilt.h"

#include "view2d/rectaview.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr NotBuiltOperation kNotBuilt[] = {
    {"ExplodeSelection", "Explode"},
    {"ConvertToPLine", "Convert to polyline"},
    {"AddToPLine", "Add to polyline"},
    {"ClosePLine", "Close polyline"},
    {"ChangeLayer", "Layer"},
    {"ChangeColor", "Color"},
    {"ChangeLineType", "Line type"},
    {"ChangeTextHeight", "Text height"},
    {"ChangeTextFont", "Text font"},
    {"ChangeText", "Change text"},
    {"ListEntity", "List"},
    {"IdentifyPoint", "Identify"},
    {"MeasureDistance", "Distance"},
    {"SetDefaultColor", "Default color"},
    {"UpdateDimensionFonts", "Update dimensions"},
    {"RunEspesorLineaDlg", "Line thickness"},
    {"CopyAreaToClipboardAsMetafile", "Metafile copy"},
    {"CopyObjectsToClipboard", "Object copy"},
    {"PasteObjectsFromClipboard", "Paste"},
};

const NotBuiltOperation* Find(std::string_view operation)
{
    const auto it = std::ranges::find_if(kNotBuilt, [&](const NotBuiltOperation& op) { return op.name == operation; });
    return it == std::end(kNotBuilt) ? nullptr : &*it;
}

[[noreturn]] void Stub(std::string_view operation)
{
    const NotBuiltOperation* op = Find(operation);
    throw CNotBuilt(op ? op->command : std::string(operation));
}

}  // namespace

std::span<const NotBuiltOperation> NotBuiltOperations()
{
    return kNotBuilt;
}

bool IsNotBuilt(std::string_view operation)
{
    return Find(operation) != nullptr;
}

void CRectaView::ExplodeSelection() { Stub("ExplodeSelection"); }
void CRectaView::ConvertToPLine(CObject*, int, POSITION) { Stub("ConvertToPLine"); }
void CRectaView::AddToPLine(CObject*, int, POSITION) { Stub("AddToPLine"); }
void CRectaView::ClosePLine(CObject*, int, POSITION) { Stub("ClosePLine"); }
void CRectaView::ChangeLayer() { Stub("ChangeLayer"); }
void CRectaView::ChangeColor() { Stub("ChangeColor"); }
void CRectaView::ChangeLineType() { Stub("ChangeLineType"); }
void CRectaView::ChangeTextHeight() { Stub("ChangeTextHeight"); }
void CRectaView::ChangeTextFont() { Stub("ChangeTextFont"); }
void CRectaView::ChangeText(CObject*) { Stub("ChangeText"); }
void CRectaView::ListEntity(int, CObject*) { Stub("ListEntity"); }
void CRectaView::IdentifyPoint(const CPointd&) { Stub("IdentifyPoint"); }
void CRectaView::MeasureDistance() { Stub("MeasureDistance"); }
void CRectaView::SetDefaultColor() { Stub("SetDefaultColor"); }
void CRectaView::UpdateDimensionFonts() { Stub("UpdateDimensionFonts"); }
int RunEspesorLineaDlg(CRectaView&) { Stub("RunEspesorLineaDlg"); }


void CopyAreaToClipboardAsMetafile(const CPointd&, const CPointd&) { Stub("CopyAreaToClipboardAsMetafile"); }
void CopyObjectsToClipboard() { Stub("CopyObjectsToClipboard"); }
void PasteObjectsFromClipboard() { Stub("PasteObjectsFromClipboard"); }
