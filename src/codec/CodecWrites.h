#pragma once
// Shared by the codec writers: fixed values as tables, and the quantizer type of both XviD
// layouts.
#include <cstdint>

#include "codec/NewRegistry.h"
#include "codec/reg.h"

struct TDwordSetting {
    const char* name;
    int32_t value;
};

template <size_t N>
void WriteDwords(TNewRegistry& reg, const TDwordSetting (&table)[N]) {
    for (const auto& setting : table) reg.WriteInteger(setting.name, setting.value);
}

// Opens `key` for writing, creating it. A refusal is not reported here: the first write then
// raises the registry's error naming that value.
void OpenForWriting(TNewRegistry& reg, const char* key);

// "quant_type" and, for custom matrices of set 0 or 1, "qmatrix_inter" and "qmatrix_intra".
void WriteQuantizerType(TNewRegistry& reg, int32_t matrixType, bool essMarker);
