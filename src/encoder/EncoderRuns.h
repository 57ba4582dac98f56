#pragma once
// How the window and the headless program make encoder runs, without the encoder's insides.
#include <cstdint>
#include <memory>

#include "jobs/JobRun.h"

// A run in normal mode, for the queue worker: a TRunFactory.
std::unique_ptr<IJobRun> CreateQueueRun(const TEncRecord& settings, uint32_t abortBaseline);
// A preview run on the settings under edit: a TPreviewFactory.
std::unique_ptr<IPreviewRun> CreatePreviewRun(const TEncRecord& settings, IUiBridge& ui);
