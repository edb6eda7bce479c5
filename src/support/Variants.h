#pragma once
#include <cstddef>
#include <utility>
#include <variant>

namespace routelle {

// std::visit for the program's own variants. std::visit and std::get throw
// std::bad_variant_access, which the Mac's libc++ has only from macOS 10.13 on; this
// one looks each alternative up with std::get_if.
template <std::size_t I = 0, typename F, typename... Ts>
auto visitVariant(F&& f, const std::variant<Ts...>& v) {
  if constexpr (I + 1 == sizeof...(Ts)) {
    return f(*std::get_if<I>(&v));
  } else {
    if (v.index() == I) return f(*std::get_if<I>(&v));
    return visitVariant<I + 1>(std::forward<F>(f), v);
  }
}

}  // namespace routelle
