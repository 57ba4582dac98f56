#pragma once
// Base64 with the standard alphabet, "=" padding and no line breaks.
#include <cstddef>
#include <cstdint>
#include <string>

// Input bytes encoded at a time: a multiple of 3, so the pieces join to the one-piece text.
inline constexpr size_t kBase64BlockBytes = 10944;  // -> 14592 characters

// Appends the encoding of `size` bytes to `out`, in one piece.
void AppendBase64(std::string& out, const uint8_t* data, size_t size);

// The encoding of `size` bytes, made block by block; the blocks join to the one-piece text.
std::string Base64Encode(const uint8_t* data, size_t size);
