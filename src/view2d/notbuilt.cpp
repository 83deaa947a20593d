// Stubs of the operations this build does not have yet. Building one means
// deleting its row and its stub here.
#include "view2d/notbuilt.h"

#include "view2d/rectaview.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr NotBuiltOperation kNotBuilt[] = {
    {"FilletLines", "Fillet"},
    {"UnifyLines", "Unify"},
    {"CircleTanTanRadius", "Tangent circle"},
    {"ExtendToBoundary", "Extend"},
    {"ExtendAllToBoundary", "Extend all"},
    {"CutEntity", "Cut"},
    {"OffsetSelection", "Offset"},
    {"StretchSelection", "Stretch"},
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

void CRectaView::FilletLines() { Stub("FilletLines"); }
void CRectaView::UnifyLines() { Stub("UnifyLines"); }
void CRectaView::CircleTanTanRadius() { Stub("CircleTanTanRadius"); }
void CRectaView::ExtendToBoundary(const CPointd&, CObject*, int, POSITION) { Stub("ExtendToBoundary"); }
void CRectaView::ExtendAllToBoundary() { Stub("ExtendAllToBoundary"); }
void CRectaView::CutEntity(const CPointd&, CObject*, int, POSITION) { Stub("CutEntity"); }
void CRectaView::OffsetSelection(const CPointd&) { Stub("OffsetSelection"); }
void CRectaView::StretchSelection() { Stub("StretchSelection"); }
