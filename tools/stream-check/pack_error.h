// The one failure of the package builder: a one-line reason that the command
// prints on standard error before it exits with a non-zero status.
#pragma once

#include <stdexcept>
#include <string>

class PackError : public std::runtime_error {
 public:
  explicit PackError(const std::string& reason) : std::runtime_error(reason) {}
};
