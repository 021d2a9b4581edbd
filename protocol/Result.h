// SPDX-License-Identifier: MIT
#pragma once

#include <type_traits>
#include <utility>
#include <variant>

// The one shape of "a value or the reason there is none" across the cores: frame builders,
// the profile reader and the device client all hand back a Result, and every caller reads it
// the same way.
namespace protocol {

template <typename T, typename E> class Result {
    static_assert(!std::is_same_v<T, E>, "a value and a fault of the same type cannot be told apart");

public:
    Result(T value) : m_state(std::in_place_index<0>, std::move(value)) {}
    Result(E fault) : m_state(std::in_place_index<1>, std::move(fault)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    // Only when ok().
    const T& value() const& { return std::get<0>(m_state); }
    T& value() & { return std::get<0>(m_state); }
    T&& value() && { return std::get<0>(std::move(m_state)); }
    // Only when !ok().
    const E& fault() const { return std::get<1>(m_state); }

    const T* valueIf() const { return std::get_if<0>(&m_state); }
    const E* faultIf() const { return std::get_if<1>(&m_state); }

    bool operator==(const Result&) const = default;

private:
    std::variant<T, E> m_state;
};

// The value of a Result whose success carries nothing more.
struct Done {
    bool operator==(const Done&) const = default;
};

} // namespace protocol
