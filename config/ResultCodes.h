#pragma once

#include <cstdint>

// The result codes that the browser host and the "movie" protocol answer
// with, as the web control of the platform the catalogs come from knows
// them: success, success with nothing more, and the failures.
namespace ResultCode {
constexpr std::int32_t kOk = 0;
constexpr std::int32_t kFalse = 1;
constexpr std::int32_t kNotImplemented = static_cast<std::int32_t>(0x80004001u);
constexpr std::int32_t kNoInterface = static_cast<std::int32_t>(0x80004002u);
constexpr std::int32_t kFail = static_cast<std::int32_t>(0x80004005u);
constexpr std::int32_t kPending = static_cast<std::int32_t>(0x8000000Au);
constexpr std::int32_t kObjectNotFound = static_cast<std::int32_t>(0x800C0006u);
}  // namespace ResultCode
