// Reads a CPCL job (one or more "! ... PRINT" sessions) into labels.
#pragma once

#include "label_render/label_job.h"

namespace velkaro::label {

void RenderCpcl(JobContext& context);

}  // namespace velkaro::label
