#include "sha256.h"

#include <openssl/evp.h>

#include "pack_error.h"

void Sha256::Free::operator()(evp_md_ctx_st* context) const { EVP_MD_CTX_free(context); }

Sha256::Sha256() : context_(EVP_MD_CTX_new()) {
  if (!context_ || EVP_DigestInit_ex(context_.get(), EVP_sha256(), nullptr) != 1) {
    throw PackError("libcrypto cannot compute SHA-256");
  }
}

void Sha256::Add(const std::uint8_t* bytes, std::size_t n) {
  if (EVP_DigestUpdate(context_.get(), bytes, n) != 1) throw PackError("libcrypto cannot compute SHA-256");
}

std::string Sha256::HexDigest() {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  if (EVP_DigestFinal_ex(context_.get(), digest, &size) != 1) throw PackError("libcrypto cannot compute SHA-256");
  static const char kHex[] = "0123456789abcdef";
  std::string text;
  for (unsigned int i = 0; i < size; ++i) {
    text += kHex[digest[i] >> 4];
    text += kHex[digest[i] & 15];
  }
  return text;
}
