// Lets GoogleTest print pixels as {blue,green,red,alpha} in failure messages.
#pragma once

#include <ostream>

#include "graphics/colours.h"

inline void PrintTo(const Pixel& p, std::ostream* out) {
  *out << "{" << int{p.blue} << "," << int{p.green} << "," << int{p.red} << "," << int{p.alpha} << "}";
}
