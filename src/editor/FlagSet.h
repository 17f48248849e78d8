#pragma once

#include <type_traits>

namespace m3d {

// Opts an enum class whose enumerators are single bits into the set
// operators below: specialise as `template <> struct IsFlagSet<E> : std::true_type {};`.
template <typename E>
struct IsFlagSet : std::false_type {
};

template <typename E>
concept FlagSet = std::is_enum_v<E> && IsFlagSet<E>::value;

template <FlagSet E>
constexpr E operator|(E a, E b)
{
    using U = std::underlying_type_t<E>;
    return E(U(a) | U(b));
}

template <FlagSet E>
constexpr E operator&(E a, E b)
{
    using U = std::underlying_type_t<E>;
    return E(U(a) & U(b));
}

template <FlagSet E>
constexpr E operator~(E a)
{
    using U = std::underlying_type_t<E>;
    return E(~U(a));
}

template <FlagSet E>
constexpr E& operator|=(E& a, E b)
{
    return a = a | b;
}

// true when set holds any bit of flags.
template <FlagSet E>
constexpr bool HasAny(E set, E flags)
{
    using U = std::underlying_type_t<E>;
    return (U(set) & U(flags)) != 0;
}

}  // namespace m3d
