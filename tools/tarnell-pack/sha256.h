// SHA-256 through OpenSSL's libcrypto, for the file digests that
// `list --sha256` prints so that a publisher can compare a setup's files
// with the build's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

struct evp_md_ctx_st;

class Sha256 {
 public:
  Sha256();
  void Add(const std::uint8_t* bytes, std::size_t n);
  // The digest as 64 lower-case hex digits; the object is spent afterwards.
  std::string HexDigest();

 private:
  struct Free {
    void operator()(evp_md_ctx_st* context) const;
  };
  std::unique_ptr<evp_md_ctx_st, Free> context_;
};
