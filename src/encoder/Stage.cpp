#include "encoder/Stage.h"

#include <utility>

void TStageTable::Run(const TStage& stage, TRun& run) const {
    const auto standIn = replaced_.find(&stage);
    if (standIn != replaced_.end())
        standIn->second(run);
    else
        stage.Work(run);
}

void TStageTable::Replace(const TStage& stage, TWork work) {
    replaced_[&stage] = std::move(work);
}
