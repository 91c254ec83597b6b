// Reads an EPL2 job into labels.
#pragma once

#include "label_render/label_job.h"

namespace velkaro::label {

void RenderEpl(JobContext& context);

}  // namespace velkaro::label
