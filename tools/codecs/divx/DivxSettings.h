#pragma once
// The DivX module's configuration from its registry key and to and from its state blob.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/Settings.h"
#include "divx/DivxConfig.h"

namespace mxcodec {

inline constexpr const char* kDivxKey = "Software\\DivXNetworks\\DivX4Windows";

DivxConfig ReadDivxSettings(SettingsReader& reader);
std::vector<uint8_t> SaveDivxState(const DivxConfig& config);
// Throws CodecError for a blob of another size or version or with a value out of range.
DivxConfig LoadDivxState(const uint8_t* data, size_t size);

}  // namespace mxcodec
