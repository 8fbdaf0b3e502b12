// File times as the package stores them: Windows FILETIME, 100-nanosecond
// units since 1601-01-01 UTC.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

// Seconds between 1601-01-01 and 1970-01-01.
inline constexpr std::int64_t kFileTimeEpochOffset = 11644473600;
inline constexpr std::int64_t kFileTimeUnitsPerSecond = 10000000;

// Nothing when the time lies before 1601.
std::optional<std::uint64_t> FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds);
// The Unix time of a FILETIME, with nanoseconds.
timespec UnixFromFileTime(std::uint64_t file_time);
// ISO 8601 in UTC, with the fraction when there is one: 2026-01-02T03:04:05Z.
std::string FileTimeText(std::uint64_t file_time);
