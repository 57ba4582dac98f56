// xvidvfw.dll: the XviD codec's driver. It answers the driver messages for the handler "XVID",
// keeps the configuration read from "Software\GNU\XviD" (or set from a state blob) and runs the
// encoder of xvidcore.dll on it.
#include <memory>

#include "common/DriverEntry.h"
#include "xvid/XvidSession.h"
#include "xvid/XvidSettings.h"

namespace mxcodec {

namespace {

class XvidInstance : public CodecInstance {
  public:
    XvidInstance() {
        SettingsReader reader(kXvidKey);
        config_ = ReadXvidSettings(reader);
        ReportWarnings("xvidvfw.dll", reader.Warnings());
    }

  protected:
    std::vector<uint8_t> SaveState() const override { return SaveXvidState(config_); }
    void LoadState(const uint8_t* data, size_t size) override {
        config_ = LoadXvidState(data, size);
    }
    uint32_t StartRun(const MxVideoFormat& format) override {
        session_ = std::make_unique<XvidSession>(config_, format);
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
    XvidConfig config_;
    std::unique_ptr<XvidSession> session_;
};

const DriverInfo kDriver{{MxFourCC('X', 'V', 'I', 'D')},
                         [] { return static_cast<CodecInstance*>(new XvidInstance); }};

}  // namespace

}  // namespace mxcodec

MX_EXPORT intptr_t MxDriverProc(intptr_t instance, uint32_t message, intptr_t p1, intptr_t p2) {
    return mxcodec::DriverEntry(mxcodec::kDriver, instance, message, p1, p2);
}
