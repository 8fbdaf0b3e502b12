// Unix symbolic links for the tests under Wine, which reports one to a folder
// as a reparse point owned by the user: Wine's own CreateSymbolicLink makes
// nothing, so /bin/ln makes it (Wine starts Unix programs as they are) and
// /bin/rm removes it at the end, since Wine cannot remove a folder link.
#pragma once

#include <string>

class SymbolicLink {
 public:
  SymbolicLink(const std::string& link, const std::string& target);
  ~SymbolicLink();
  SymbolicLink(const SymbolicLink&) = delete;
  SymbolicLink& operator=(const SymbolicLink&) = delete;

  bool Made() const { return made_; }

 private:
  std::string unix_link_;
  bool made_ = false;
};
