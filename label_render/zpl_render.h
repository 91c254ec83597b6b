// Reads a ZPL II job into labels.
#pragma once

#include "label_render/label_job.h"

namespace velkaro::label {

void RenderZpl(JobContext& context);

// Expands ^GF field data (ASCII hex with ZPL run-length compression, or :B64:/:Z64:) into
// `totalBytes` bytes of rows `rowBytes` bytes long.
QByteArray ExpandGraphicField(const QByteArray& data, char format, int totalBytes, int rowBytes);

}  // namespace velkaro::label
