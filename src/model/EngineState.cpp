#include "EngineState.h"

#include <algorithm>
#include <array>
#include <utility>

namespace halvic::engine {

namespace {

using namespace Qt::Literals::StringLiterals;

constexpr std::array<std::pair<State, QLatin1StringView>, 6> wireNames{{
    {State::Off, "off"_L1},
    {State::Booting, "booting"_L1},
    {State::Listening, "listening"_L1},
    {State::Thinking, "thinking"_L1},
    {State::Speaking, "speaking"_L1},
    {State::Restarting, "restarting"_L1},
}};

} // namespace

State fromWireName(QStringView name)
{
    const auto found
        = std::find_if(wireNames.begin(), wireNames.end(), [name](const auto &entry) { return entry.second == name; });
    return found == wireNames.end() ? State::Other : found->first;
}

QLatin1StringView wireName(State state)
{
    const auto found
        = std::find_if(wireNames.begin(), wireNames.end(), [state](const auto &entry) { return entry.first == state; });
    return found == wireNames.end() ? QLatin1StringView() : found->second;
}

bool isBusy(State state)
{
    return state == State::Booting || state == State::Thinking || state == State::Speaking
        || state == State::Restarting;
}

} // namespace halvic::engine
