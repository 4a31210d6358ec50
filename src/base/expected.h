#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <variant>

namespace velkora {

// The error side of an Expected, so that a function can return either:
//
//   Expected<HostOptions> Parse(...) {
//     if (bad) return Unexpected("unknown option " + name);
//     return options;
//   }
template <typename E>
class Unexpected {
 public:
  explicit Unexpected(E error) : error_(std::move(error)) {}

  const E& error() const& { return error_; }
  E&& error() && { return std::move(error_); }

 private:
  E error_;
};

template <typename E>
Unexpected(E) -> Unexpected<E>;

// A value or the reason there is none: the small part of C++23's
// std::expected the server needs (the C++20 library has none). The names
// are std::expected's, so that the one can replace the other.
//
// value(), operator* and operator-> REQUIRE has_value(); error() REQUIRES
// !has_value(). Neither is checked.
template <typename T, typename E = std::string>
class [[nodiscard]] Expected {
 public:
  template <typename U = T>
  requires std::is_constructible_v<T, U&&> &&
      (!std::is_same_v<std::remove_cvref_t<U>, Expected>)Expected(U&& value)
      : state_(std::in_place_index<0>, std::forward<U>(value)) {}

  template <typename G>
  requires std::is_constructible_v<E, const G&> Expected(const Unexpected<G>& error)
      : state_(std::in_place_index<1>, error.error()) {}

  template <typename G>
  requires std::is_constructible_v<E, G&&> Expected(Unexpected<G>&& error)
      : state_(std::in_place_index<1>, std::move(error).error()) {}

  bool has_value() const { return state_.index() == 0; }
  explicit operator bool() const { return has_value(); }

  T& value() & { return *std::get_if<0>(&state_); }
  const T& value() const& { return *std::get_if<0>(&state_); }
  T&& value() && { return std::move(*std::get_if<0>(&state_)); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T&& operator*() && { return std::move(*this).value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  const E& error() const& { return *std::get_if<1>(&state_); }
  E&& error() && { return std::move(*std::get_if<1>(&state_)); }

 private:
  std::variant<T, E> state_;
};

}  // namespace velkora
