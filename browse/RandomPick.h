#pragma once

#include <cstdint>
#include <random>
#include <vector>

// "What shall we watch tonight": a random movie among those offered (their
// handles), never the one picked before while there is another; -1 when
// none is offered.
std::int64_t PickRandomMovie(const std::vector<std::int64_t>& offered, std::int64_t previous, std::mt19937& random);
