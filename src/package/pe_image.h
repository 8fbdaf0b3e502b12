// Just enough of the PE headers to find an Authenticode signature and the
// image's CheckSum field.
//
// Signing a setup appends a certificate table behind the package trailer and
// names it in the security entry of the optional header's data directory.
// The trailer of a signed setup is therefore not the file's last four bytes
// but the four bytes before that table.
//
// https://learn.microsoft.com/windows/win32/debug/pe-format#the-attribute-certificate-table-image-only
#pragma once

#include <cstddef>
#include <cstdint>

// How many bytes from the file's start are enough to read the headers.
inline constexpr std::size_t kPeHeadSize = 4096;

struct PeImageInfo {
  bool is_pe = false;                    // MZ header, PE signature and a known optional header
  bool is_64_bit = false;                // PE32+
  std::uint32_t certificate_offset = 0;  // the security entry as stored; 0 when unsigned
  std::uint32_t certificate_size = 0;
  std::size_t checksum_field = 0;  // file offset of the optional header's CheckSum
  std::uint32_t checksum = 0;      // its value
  std::size_t security_entry = 0;  // file offset of the security entry; 0 when there is none
};

// Reads the headers from the first bytes of a file.
PeImageInfo ReadPeImageInfo(const std::uint8_t* head, std::size_t length);

// The end of the appended data (the offset just behind the package trailer):
// the start of the certificate table when one closes the file, else the
// file's size.
std::uint64_t PackageDataEnd(const std::uint8_t* head, std::size_t length, std::uint64_t file_size);
