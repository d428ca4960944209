#ifndef KELVANE_PLATFORM_FILE_ERROR_H_
#define KELVANE_PLATFORM_FILE_ERROR_H_

#include <cstddef>
#include <filesystem>
#include <string_view>

#include "platform/system_error.h"

namespace kelvane {

// Throws RunError(kFile) with the message "<path>: <problem>".
[[noreturn]] void RefuseFile(const std::filesystem::path& path, std::string_view problem);

// Throws RunError(kFile) with the message "<path>: <problem>: <the system's reason>".
[[noreturn]] void FailFile(const std::filesystem::path& path, std::string_view problem,
                           SystemError error);

// Throws "<path>: is <size> bytes, <too_large>" when `size` is beyond `max_bytes`.
void CheckFileSize(const std::filesystem::path& path, unsigned long long size,
                   std::size_t max_bytes, std::string_view too_large);

}  // namespace kelvane

#endif  // KELVANE_PLATFORM_FILE_ERROR_H_
