#pragma once
// A codec's settings as tables of name, default and range, read from its key in the current
// user's hive, written to and read from its state blob with the same tables.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace mxcodec {

// One whole-number setting: its registry value name, default and allowed range.
struct IntSetting {
    const char* name;
    int32_t fallback;
    int32_t min;
    int32_t max;
};

// Reads the values of one key from a snapshot of the current user's hive. What it cannot use
// (a missing key or value, a value of the wrong type or out of range) falls back to the default
// or the nearest allowed value and is noted once; Warnings() lists the notes.
class SettingsReader {
  public:
    explicit SettingsReader(std::string key);

    int32_t Int(const IntSetting& setting);
    int32_t Int(const std::string& name, const IntSetting& limits);  // a numbered name
    std::string Text(const char* name, const std::string& fallback, size_t maxBytes);
    // The binary value `name` when it has exactly `size` bytes, none of them 0; else empty.
    std::vector<uint8_t> Bytes(const char* name, size_t size);
    void Warn(const std::string& text);

    const std::vector<std::string>& Warnings() const { return warnings_; }

  private:
    const platform::RegistryValue* Find(const std::string& name, platform::RegistryValue::Type);

    std::string key_;
    platform::Hive hive_;
    bool usable_ = false;  // the key exists in a readable hive
    platform::RegistryValue found_;
    std::vector<std::string> warnings_;
};

// Writes each warning on standard error, prefixed by the module's file name.
void ReportWarnings(const char* module, const std::vector<std::string>& warnings);

// The state blob: a header (four-character codec mark, layout version, total size) and the
// fields, little-endian, in a fixed layout.
class StateWriter {
  public:
    StateWriter(uint32_t mark, uint32_t version, uint32_t size);
    void Int(int32_t value);
    void Bytes(const uint8_t* data, size_t size);
    void Text(const std::string& text, size_t field);  // NUL-padded to `field` bytes
    std::vector<uint8_t> Finish();  // the blob; its size must be the one announced

  private:
    std::vector<uint8_t> blob_;
    uint32_t size_;
};

// Reads a blob written by StateWriter. The constructor refuses (CodecError) a blob of another
// mark, version or size; the readers refuse a value outside its range, naming the setting.
class StateReader {
  public:
    StateReader(const uint8_t* data, size_t size, uint32_t mark, uint32_t version,
                uint32_t expectedSize);
    int32_t Int(const IntSetting& limits);
    int32_t Int(const std::string& name, const IntSetting& limits);
    void Bytes(uint8_t* out, size_t size);
    std::string Text(const char* name, size_t field);

  private:
    const uint8_t* Take(size_t size);

    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

}  // namespace mxcodec
