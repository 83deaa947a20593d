// Stubs of the operations this build does not have yet. Building one means
// deleting its row and its stub here.
#include "view2d/notbuilt.h"

#include "view2d/rectaview.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr NotBuiltOperation kNotBuilt[] = {
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

