#pragma once
// An instance of a codec whose configuration is one value (read from the registry at opening,
// replaced by a state blob) and whose runs are sessions made from it. Traits name the types, the
// key and the functions:
//   struct Traits {
//       using Config = …; using Session = …;   // Session(const Config&, const MxVideoFormat&)
//       static constexpr const char* kKey = …;     // below the current user's root
//       static constexpr const char* kModule = …;  // the file name, for warnings
//       static Config Read(SettingsReader&);
//       static std::vector<uint8_t> Save(const Config&);
//       static Config Load(const uint8_t*, size_t);   // throws CodecError
//   };
// A session has StreamCode(), Encode(frame), Drain(frame) and Finish().
#include <memory>
#include <vector>

#include "common/CodecInstance.h"
#include "common/Settings.h"

namespace mxcodec {

template <class Traits>
class ConfiguredInstance : public CodecInstance {
  public:
    using Config = typename Traits::Config;
    using Session = typename Traits::Session;

    explicit ConfiguredInstance(Config config) : config_(std::move(config)) {}

  protected:
    std::vector<uint8_t> SaveState() const override { return Traits::Save(config_); }
    void LoadState(const uint8_t* data, size_t size) override {
        config_ = Traits::Load(data, size);
    }
    uint32_t StartRun(const MxVideoFormat& format) override {
        session_ = std::make_unique<Session>(config_, format);
        return session_->StreamCode();
    }
    void EncodeFrame(MxCompressFrame& frame) override { session_->Encode(frame); }
    bool DrainFrame(MxCompressFrame& frame) override { return session_->Drain(frame); }
    void FinishRun() override {
        session_->Finish();
        session_.reset();
    }
    void AbandonRun() noexcept override { session_.reset(); }

  private:
    Config config_;
    std::unique_ptr<Session> session_;
};

// Opens an instance on the settings in the registry, reporting once what it could not use.
template <class Traits>
CodecInstance* OpenConfigured() {
    SettingsReader reader(Traits::kKey);
    typename Traits::Config config = Traits::Read(reader);
    ReportWarnings(Traits::kModule, reader.Warnings());
    return new ConfiguredInstance<Traits>(std::move(config));
}

}  // namespace mxcodec
