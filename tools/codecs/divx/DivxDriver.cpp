// divx.dll: the DivX codec. It answers the driver messages for the handlers "DIVX" and "DX50",
// keeps the configuration read from "Software\DivXNetworks\DivX4Windows" (or set from a state
// blob) and runs libavcodec's MPEG-4 encoder on it; its streams carry the code "DX50".
#include <memory>

#include "common/DriverEntry.h"
#include "divx/DivxSession.h"
#include "divx/DivxSettings.h"

namespace mxcodec {

namespace {

class DivxInstance : public CodecInstance {
  public:
    DivxInstance() {
        SettingsReader reader(kDivxKey);
        config_ = ReadDivxSettings(reader);
        ReportWarnings("divx.dll", reader.Warnings());
    }

  protected:
    std::vector<uint8_t> SaveState() const override { return SaveDivxState(config_); }
    void LoadState(const uint8_t* data, size_t size) override {
        config_ = LoadDivxState(data, size);
    }
    uint32_t StartRun(const MxVideoFormat& format) override {
        session_ = std::make_unique<DivxSession>(config_, format);
        return MxFourCC('D', 'X', '5', '0');
    }
    void EncodeFrame(MxCompressFrame& frame) override { session_->Encode(frame); }
    bool DrainFrame(MxCompressFrame& frame) override { return session_->Drain(frame); }
    void FinishRun() override {
        session_->Finish();
        session_.reset();
    }
    void AbandonRun() noexcept override { session_.reset(); }

  private:
    DivxConfig config_;
    std::unique_ptr<DivxSession> session_;
};

const DriverInfo kDriver{{MxFourCC('D', 'I', 'V', 'X'), MxFourCC('D', 'X', '5', '0')},
                         [] { return static_cast<CodecInstance*>(new DivxInstance); }};

}  // namespace

}  // namespace mxcodec

MX_EXPORT intptr_t MxDriverProc(intptr_t instance, uint32_t message, intptr_t p1, intptr_t p2) {
    return mxcodec::DriverEntry(mxcodec::kDriver, instance, message, p1, p2);
}
