#include "printer_language/status_stream.h"

#include "printer_language/cpcl_status_decoder.h"
#include "printer_language/epl_status_decoder.h"
#include "printer_language/sgd_reply_decoder.h"

namespace velkaro::printer_language {

std::unique_ptr<StatusDecoder> MakeStatusDecoder(ReplyKind kind, const std::string& sgdName) {
    switch (kind) {
        case ReplyKind::ZplHostStatus:
        case ReplyKind::ZplHostQueryStatus:
        case ReplyKind::ZplHostIdentification:
        case ReplyKind::Unknown:
            return std::make_unique<ZplStatusDecoder>();
        case ReplyKind::EplErrorReport:
            return std::make_unique<EplErrorReportDecoder>();
        case ReplyKind::EplConfiguration:
            return std::make_unique<EplConfigurationDecoder>();
        case ReplyKind::CpclStatus:
        case ReplyKind::CpclExtendedStatus:
            return std::make_unique<CpclStatusDecoder>(kind);
        case ReplyKind::CpclVersion:
            return std::make_unique<CpclVersionDecoder>();
        case ReplyKind::SgdValue:
            return std::make_unique<SgdReplyDecoder>(sgdName);
    }
    return std::make_unique<ZplStatusDecoder>();
}

bool IsUnframed(ReplyKind kind) {
    switch (kind) {
        case ReplyKind::ZplHostStatus:
        case ReplyKind::ZplHostQueryStatus:
        case ReplyKind::ZplHostIdentification:
        case ReplyKind::Unknown:
            return false;
        default:
            return true;
    }
}

void StatusStream::Expect(ReplyKind kind, const std::string& sgdName) {
    // UQ has no end of its own; it is decoded with a decoder that is finished explicitly.
    if (IsUnframed(kind) && kind != ReplyKind::EplConfiguration)
        expected_ = MakeStatusDecoder(kind, sgdName);
}

std::vector<StatusReply> StatusStream::Feed(std::string_view bytes) {
    std::vector<StatusReply> replies;
    zpl_.Feed(bytes, replies);
    if (!expected_) return replies;
    // Only the first reply answers the query; whatever follows it is not taken for another.
    std::vector<StatusReply> answer;
    expected_->Feed(bytes, answer);
    if (!answer.empty()) {
        replies.push_back(std::move(answer.front()));
        expected_.reset();
    }
    return replies;
}

}  // namespace velkaro::printer_language
