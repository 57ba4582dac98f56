#pragma once
// The XviD module's configuration from its registry key and to and from its state blob.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/Settings.h"
#include "xvid/XvidConfig.h"

namespace mxcodec {

inline constexpr const char* kXvidKey = "Software\\GNU\\XviD";

// Every value the module reads; what it cannot use is noted in the reader's warnings.
XvidConfig ReadXvidSettings(SettingsReader& reader);

// The state blob carries the whole configuration. LoadXvidState throws CodecError for a blob of
// another size or version or with a value out of range.
std::vector<uint8_t> SaveXvidState(const XvidConfig& config);
XvidConfig LoadXvidState(const uint8_t* data, size_t size);

// The profile and level names the key may give ("AS @ L5"), as the stream codes them; 0 when
// the name is unknown.
int32_t XvidProfileCode(const std::string& name);

}  // namespace mxcodec
