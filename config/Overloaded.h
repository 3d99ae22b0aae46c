#pragma once

// Lambdas joined into one visitor for std::visit.
template <typename... F>
struct TOverloaded : F... {
  using F::operator()...;
};
template <typename... F>
TOverloaded(F...) -> TOverloaded<F...>;
