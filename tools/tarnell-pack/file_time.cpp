#include "file_time.h"

#include <cstdio>

std::optional<std::uint64_t> FileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds) {
  std::int64_t since_1601 = seconds + kFileTimeEpochOffset;
  if (since_1601 < 0) return std::nullopt;
  return static_cast<std::uint64_t>(since_1601) * kFileTimeUnitsPerSecond +
         static_cast<std::uint64_t>(nanoseconds / 100);
}

timespec UnixFromFileTime(std::uint64_t file_time) {
  timespec time{};
  time.tv_sec =
      static_cast<time_t>(static_cast<std::int64_t>(file_time / kFileTimeUnitsPerSecond) - kFileTimeEpochOffset);
  time.tv_nsec = static_cast<long>(file_time % kFileTimeUnitsPerSecond * 100);
  return time;
}

std::string FileTimeText(std::uint64_t file_time) {
  timespec time = UnixFromFileTime(file_time);
  std::tm parts{};
  gmtime_r(&time.tv_sec, &parts);
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", parts.tm_year + 1900, parts.tm_mon + 1,
                parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
  std::string result = text;
  if (time.tv_nsec != 0) {
    std::snprintf(text, sizeof text, ".%07ld", time.tv_nsec / 100);
    result += text;
  }
  return result + "Z";
}
