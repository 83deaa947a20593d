#include "res/commands.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr StarterInfo kStarters[] = {
#include "res/starters.inc"
};

template <class Match>
const StarterInfo* FirstRow(Match match)
{
    const auto it = std::ranges::find_if(kStarters, match);
    return it == std::end(kStarters) ? nullptr : &*it;
}

}  // namespace

std::span<const StarterInfo> Starters()
{
    return kStarters;
}

const StarterInfo* FindStarter(int id)
{
    return FirstRow([&](const StarterInfo& s) { return s.id == id; });
}

const StarterInfo* FindStarter(int id, CommandCode code)
{
    return FirstRow([&](const StarterInfo& s) { return s.id == id && s.code == code; });
}

const StarterInfo* FindRepeat(CommandCode code, int mode, int textAlign)
{
    auto ofState = [&](const StarterInfo& row) { return row.code == code && row.mode == mode; };
    auto aligned = [&](const StarterInfo& row) { return ofState(row) && row.textAlign == textAlign; };
    if (const StarterInfo* s = FirstRow(aligned))
        return s;
    return FirstRow(ofState);
}
