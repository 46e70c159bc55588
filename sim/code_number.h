// The number a named code (an enum on int, or a code record such as
// cameraview) is kept as in the settings files and compared as by the menu
// bar's rules: the one place where such a code crosses to a plain int.
#pragma once

#include <type_traits>

namespace sim {

template <class T>
constexpr int CodeNumber(T code) {
  if constexpr (std::is_same_v<T, int>) {
    return code;
  } else if constexpr (std::is_enum_v<T>) {
    static_assert(std::is_same_v<std::underlying_type_t<T>, int>);
    return static_cast<int>(code);
  } else {
    return code.Code();
  }
}

// The code a file's number names; a number no code of today names is kept as
// it is, as the int fields did.
template <class T>
constexpr T CodeFromNumber(int number) {
  if constexpr (std::is_enum_v<T>) return static_cast<T>(number);
  else return T::FromCode(number);
}

}  // namespace sim
