#include "common/Settings.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>

#include "common/CodecError.h"
#include "platform/paths.h"
#include "platform/vfw_abi.h"

namespace mxcodec {

namespace {

using Type = platform::RegistryValue::Type;

std::string Quoted(const std::string& name) {
    return "\"" + name + "\"";
}

void Refuse(const std::string& text) {
    throw CodecError(MXICERR_BADPARAM, "The codec state is refused: " + text);
}

}  // namespace

SettingsReader::SettingsReader(std::string key) : key_(std::move(key)) {
    const std::string path = platform::CurrentUserHivePath();
    try {
        hive_ = platform::LoadHive(path);
    } catch (const std::exception& e) {
        Warn(std::string(e.what()) + "; every setting takes its default");
        return;
    }
    usable_ = hive_.KeyExists(key_);
    if (!usable_)
        Warn("There is no key " + key_ + " in " + path + "; every setting takes its default");
}

void SettingsReader::Warn(const std::string& text) {
    warnings_.push_back(text);
}

const platform::RegistryValue* SettingsReader::Find(const std::string& name, Type type) {
    if (!usable_) return nullptr;
    std::optional<platform::RegistryValue> value = hive_.GetValue(key_, name);
    if (!value) {
        Warn(key_ + " has no value " + Quoted(name));
        return nullptr;
    }
    if (value->type != type) {
        Warn(key_ + " value " + Quoted(name) + " is of the wrong type");
        return nullptr;
    }
    found_ = std::move(*value);
    return &found_;
}

int32_t SettingsReader::Int(const IntSetting& setting) {
    return Int(setting.name, setting);
}

int32_t SettingsReader::Int(const std::string& name, const IntSetting& limits) {
    const platform::RegistryValue* value = Find(name, Type::Dword);
    if (!value) {
        if (usable_) warnings_.back() += "; using " + std::to_string(limits.fallback);
        return limits.fallback;
    }
    const int32_t read = int32_t(value->dword);
    const int32_t used = std::clamp(read, limits.min, limits.max);
    if (used != read) {
        Warn(key_ + " value " + Quoted(name) + " is " + std::to_string(read) + ", outside " +
             std::to_string(limits.min) + " to " + std::to_string(limits.max) + "; using " +
             std::to_string(used));
    }
    return used;
}

std::string SettingsReader::Text(const char* name, const std::string& fallback, size_t maxBytes) {
    const platform::RegistryValue* value = Find(name, Type::String);
    if (!value) {
        if (usable_) warnings_.back() += "; using \"" + fallback + "\"";
        return fallback;
    }
    if (value->text.size() > maxBytes || value->text.find('\0') != std::string::npos) {
        Warn(key_ + " value " + Quoted(name) + " is longer than " + std::to_string(maxBytes) +
             " bytes or holds a NUL; using \"" + fallback + "\"");
        return fallback;
    }
    return value->text;
}

std::vector<uint8_t> SettingsReader::Bytes(const char* name, size_t size) {
    const platform::RegistryValue* value = Find(name, Type::Binary);
    if (!value) return {};
    const std::vector<uint8_t>& bytes = value->binary;
    if (bytes.size() != size || std::find(bytes.begin(), bytes.end(), 0) != bytes.end()) {
        Warn(key_ + " value " + Quoted(name) + " is not " + std::to_string(size) +
             " non-zero bytes");
        return {};
    }
    return bytes;
}

void ReportWarnings(const char* module, const std::vector<std::string>& warnings) {
    for (const std::string& text : warnings) std::fprintf(stderr, "%s: %s\n", module, text.c_str());
}

StateWriter::StateWriter(uint32_t mark, uint32_t version, uint32_t size) : size_(size) {
    blob_.reserve(size);
    Int(int32_t(mark));
    Int(int32_t(version));
    Int(int32_t(size));
}

void StateWriter::Int(int32_t value) {
    for (int i = 0; i < 4; ++i) blob_.push_back(uint8_t(uint32_t(value) >> (8 * i)));
}

void StateWriter::Bytes(const uint8_t* data, size_t size) {
    blob_.insert(blob_.end(), data, data + size);
}

void StateWriter::Text(const std::string& text, size_t field) {
    const size_t n = std::min(text.size(), field - 1);  // the last byte stays NUL
    blob_.insert(blob_.end(), text.begin(), text.begin() + long(n));
    blob_.insert(blob_.end(), field - n, 0);
}

std::vector<uint8_t> StateWriter::Finish() {
    if (blob_.size() != size_) throw std::logic_error("state layout and size disagree");
    return std::move(blob_);
}

StateReader::StateReader(const uint8_t* data, size_t size, uint32_t mark, uint32_t version,
                         uint32_t expectedSize)
    : data_(data), size_(size) {
    if (size != expectedSize) {
        Refuse("it has " + std::to_string(size) + " bytes where " + std::to_string(expectedSize) +
               " are expected");
    }
    const IntSetting any{"header", 0, INT32_MIN, INT32_MAX};
    if (uint32_t(Int(any)) != mark) Refuse("it belongs to another codec");
    const uint32_t got = uint32_t(Int(any));
    if (got != version) {
        Refuse("it has layout version " + std::to_string(got) + ", this codec reads version " +
               std::to_string(version));
    }
    if (uint32_t(Int(any)) != expectedSize) Refuse("its header gives another size");
}

const uint8_t* StateReader::Take(size_t size) {
    if (size > size_ - at_) Refuse("it ends early");
    const uint8_t* p = data_ + at_;
    at_ += size;
    return p;
}

int32_t StateReader::Int(const IntSetting& limits) {
    return Int(limits.name, limits);
}

int32_t StateReader::Int(const std::string& name, const IntSetting& limits) {
    const uint8_t* p = Take(4);
    const int32_t value =
        int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
    if (value < limits.min || value > limits.max) {
        Refuse(Quoted(name) + " is " + std::to_string(value) + ", outside " +
               std::to_string(limits.min) + " to " + std::to_string(limits.max));
    }
    return value;
}

void StateReader::Bytes(uint8_t* out, size_t size) {
    std::memcpy(out, Take(size), size);
}

std::string StateReader::Text(const char* name, size_t field) {
    const uint8_t* p = Take(field);
    const size_t n = strnlen(reinterpret_cast<const char*>(p), field);
    if (n == field) Refuse(Quoted(name) + " is not terminated");
    return std::string(reinterpret_cast<const char*>(p), n);
}

}  // namespace mxcodec
