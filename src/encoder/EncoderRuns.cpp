#include "encoder/EncoderRuns.h"

#include "encoder/encoder.h"

namespace {

class TPreviewRun : public IPreviewRun {
  public:
    TPreviewRun(const TEncRecord& settings, IUiBridge& ui) : run_(settings, true, &ui) {}
    void Start() override { run_.Start(); }
    bool Finished() const override { return run_.Finished(); }
    void WaitFor() override { run_.WaitFor(); }

  private:
    TMXEncoder run_;
};

}  // namespace

std::unique_ptr<IJobRun> CreateQueueRun(const TEncRecord& settings, uint32_t abortBaseline) {
    auto run = std::make_unique<TMXEncoder>(settings, false);
    run->SetAbortBaseline(abortBaseline);
    return run;
}

std::unique_ptr<IPreviewRun> CreatePreviewRun(const TEncRecord& settings, IUiBridge& ui) {
    return std::make_unique<TPreviewRun>(settings, ui);
}
