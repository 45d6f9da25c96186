#pragma once

// The two-way exchange every query performs: on fetch the host writes its stored values into
// the caller's variables, on store it takes them. The stored values and the caller's pointers
// are matched by position and must agree in type exactly, so a slip in an argument list does
// not compile.

#include <cstddef>
#include <tuple>
#include <type_traits>
#include <utility>

#include "host/PcbApiEntries.h"

namespace standin {

// Plain function types of the entry points (no calling convention), to derive stored blocks.
namespace signature {
#define ZZ_STANDIN_SIGNATURE(Name, Ret, Neutral, Params, Args) using Name = Ret Params;
ZZ_PCBAPI_ENTRIES(ZZ_STANDIN_SIGNATURE)
#undef ZZ_STANDIN_SIGNATURE
}  // namespace signature

// The values behind an entry point's pointer parameters from position Skip on, as a tuple.
template <typename Signature, std::size_t Skip>
struct StoredValuesOf;

template <typename R, typename... A, std::size_t Skip>
struct StoredValuesOf<R(A...), Skip> {
 private:
  using All = std::tuple<A...>;
  template <std::size_t... I>
  static auto Make(std::index_sequence<I...>)
      -> std::tuple<std::remove_pointer_t<std::tuple_element_t<Skip + I, All>>...>;

 public:
  using type = decltype(Make(std::make_index_sequence<sizeof...(A) - Skip>{}));
};

template <typename Signature, std::size_t Skip>
using StoredValues = typename StoredValuesOf<Signature, Skip>::type;

// 1 = fetch, 0 = store; anything else is refused with a non-zero status.
inline bool IsDirection(zz::TSyncDirection direction) { return direction == zz::kFetch || direction == zz::kStore; }

namespace detail {

template <typename T>
void Put(T* to, const T& from) {
  if (to != nullptr) *to = from;
}

template <typename T>
void Take(T& to, const T* from) {
  if (from != nullptr) to = *from;
}

// A caller's text may carry any length byte; keep only what fits.
template <std::size_t N>
void Take(zz::TShortString<N>& to, const zz::TShortString<N>* from) {
  if (from != nullptr) to.Assign(from->View());
}

template <typename Tuple, std::size_t... I, typename... P>
void ExchangeAt(bool fetch, Tuple& stored, std::index_sequence<I...>, P*... callers) {
  if (fetch) {
    (Put(callers, std::get<I>(stored)), ...);
  } else {
    (Take(std::get<I>(stored), callers), ...);
  }
}

}  // namespace detail

// Exchanges a stored tuple (or a std::tie of stored fields) with the caller's variables.
template <typename Tuple, typename... P>
void Exchange(zz::TSyncDirection direction, Tuple&& stored, P*... callers) {
  static_assert(std::tuple_size_v<std::remove_reference_t<Tuple>> == sizeof...(P), "one pointer per stored value");
  detail::ExchangeAt(direction == zz::kFetch, stored, std::make_index_sequence<sizeof...(P)>{}, callers...);
}

}  // namespace standin
