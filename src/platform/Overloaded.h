#pragma once

// One lambda per alternative of a std::variant: std::visit(Overloaded{...}, value).
template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
// Spelled out for compilers without aggregate deduction (clang before 17 builds the fuzz targets).
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;
