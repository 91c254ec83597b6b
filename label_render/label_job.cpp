#include "label_render/label_job.h"

namespace velkaro::label {

LabelSize BoundedSize(long widthDots, long heightDots) {
    LabelSize size;
    size.width = static_cast<int>(std::clamp<long>(widthDots, 1, kMaxLabelSide));
    size.height = static_cast<int>(std::clamp<long>(heightDots, 1, kMaxLabelSide));
    if (static_cast<long>(size.width) * size.height > kMaxLabelArea) {
        size.height = static_cast<int>(kMaxLabelArea / size.width);
    }
    return size;
}

JobContext::JobContext(const std::string& jobBytes, const RenderOptions& renderOptions,
                       RenderResult& renderResult)
    : job(jobBytes), options(renderOptions), result(renderResult) {
    const int dpmm = renderOptions.dotsPerMm;
    m_dotsPerMm = dpmm == 6 || dpmm == 12 || dpmm == 24 ? dpmm : 8;
    m_defaultSize = BoundedSize(std::lround(renderOptions.widthMm * m_dotsPerMm),
                                std::lround(renderOptions.heightMm * m_dotsPerMm));
}

void JobContext::NotUnderstood(const QString& command, std::size_t offset, std::size_t length) {
    result.notUnderstood.push_back({command, offset, length});
}

void JobContext::EmitLabel(LabelCanvas& canvas, bool upsideDown) {
    if (result.labels.size() < kMaxLabels) result.labels.push_back(canvas.Finish(upsideDown));
    canvas.Clear();
}

int ParseInt(const QString& text, int fallback) {
    const QString trimmed = text.trimmed();
    int end = 0;
    if (end < trimmed.size() && (trimmed[end] == '-' || trimmed[end] == '+')) ++end;
    while (end < trimmed.size() && trimmed[end].isDigit() && end < 9) ++end;
    bool ok = false;
    const int value = trimmed.left(end).toInt(&ok);
    return ok ? value : fallback;
}

double ParseDouble(const QString& text, double fallback) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : fallback;
}

}  // namespace velkaro::label
