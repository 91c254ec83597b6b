#include "app/transfer_row.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

#include "widgets/dialog_template.h"
#include "widgets/dialog_units.h"
#include "widgets/resize_anchors.h"

namespace velkaro {
namespace {

// Dialog units. The row sits along the bottom of the send box, which gives up that much room
// while the row is shown; the counters sit in the free space right of the "数据发送" label.
constexpr int kRowTop = 319, kRowHeight = 14, kRowGap = 2;
constexpr int kBarLeft = 64, kBarWidth = 387;
constexpr int kStopLeft = 455, kStopWidth = 56;
constexpr int kCountersLeft = 100, kCountersTop = 172, kCountersWidth = 200, kCountersHeight = 8;

QString Size(double bytes) {
    if (bytes >= 1024.0 * 1024.0) return QStringLiteral("%1 MB").arg(bytes / 1048576.0, 0, 'f', 1);
    if (bytes >= 1024.0) return QStringLiteral("%1 KB").arg(bytes / 1024.0, 0, 'f', 1);
    return QStringLiteral("%1 B").arg(bytes, 0, 'f', 0);
}

QString Duration(double seconds) {
    const auto s = static_cast<long long>(seconds + 0.5);
    if (s >= 3600)
        return QStringLiteral("%1:%2:%3")
            .arg(s / 3600)
            .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
            .arg(s % 60, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

TransferRow::TransferRow(QDialog* dialog, ResizeAnchors& anchors, QWidget* sendBox)
    : anchors_(anchors), sendBox_(sendBox) {
    const DialogUnits units(dialog->font());
    bar_ = new QProgressBar(dialog);
    bar_->setObjectName(ControlName(IDC_TRANSFER_PROGRESS));
    bar_->setAccessibleName(QCoreApplication::translate("velkaro::TransferRow", "发送进度"));
    bar_->setRange(0, 1000);
    bar_->setTextVisible(true);
    bar_->setAlignment(Qt::AlignCenter);
    bar_->setGeometry(units.Rect(kBarLeft, kRowTop, kBarWidth, kRowHeight));
    stop_ =
        new QPushButton(QCoreApplication::translate("velkaro::TransferRow", "停止发送"), dialog);
    stop_->setObjectName(ControlName(IDC_STOP_SENDING));
    stop_->setAccessibleName(QCoreApplication::translate("velkaro::TransferRow", "停止发送"));
    stop_->setGeometry(units.Rect(kStopLeft, kRowTop, kStopWidth, kRowHeight));
    counters_ = new QLabel(dialog);
    counters_->setObjectName(ControlName(IDC_BYTE_COUNTERS));
    counters_->setAccessibleName(QCoreApplication::translate("velkaro::TransferRow", "收发字节数"));
    counters_->setGeometry(
        units.Rect(kCountersLeft, kCountersTop, kCountersWidth, kCountersHeight));
    rowHeight_ = units.Y(kRowHeight + kRowGap);
    bar_->hide();
    stop_->hide();
    anchors.SetAnchor(bar_, {0, 1}, {1, 1});
    anchors.SetAnchor(stop_, {1, 1}, {1, 1});
    SetCounters(0, 0);
}

bool TransferRow::Visible() const {
    return !bar_->isHidden();
}

void TransferRow::Show(std::uint64_t written, std::uint64_t queued) {
    if (queued == 0) {
        if (!Visible()) return;
        bar_->hide();
        stop_->hide();
        anchors_.SetBottomInset(sendBox_, 0);
        return;
    }
    if (!Visible()) {
        clock_.start();
        firstWritten_ = written;
        anchors_.SetBottomInset(sendBox_, rowHeight_);
        bar_->show();
        stop_->show();
    }
    const double seconds = static_cast<double>(clock_.elapsed()) / 1000.0;
    const double rate =
        seconds > 0.2 ? static_cast<double>(written - std::min(written, firstWritten_)) / seconds
                      : 0.0;
    bar_->setValue(static_cast<int>(std::min<std::uint64_t>(written, queued) * 1000 / queued));
    bar_->setFormat(ProgressText(written, queued, rate));
}

QString TransferRow::ProgressText(std::uint64_t written, std::uint64_t queued,
                                  double bytesPerSecond) {
    QString text = QCoreApplication::translate("velkaro::TransferRow", "%1 / %2 字节")
                       .arg(written)
                       .arg(queued);
    if (bytesPerSecond <= 0.0) return text;
    const double left = static_cast<double>(queued - std::min(written, queued)) / bytesPerSecond;
    return text + QCoreApplication::translate("velkaro::TransferRow", " · %1/s · 剩余 %2")
                      .arg(Size(bytesPerSecond), Duration(left));
}

void TransferRow::SetCounters(std::uint64_t sent, std::uint64_t received) {
    counters_->setText(
        QCoreApplication::translate("velkaro::TransferRow", "发送 %1 字节 · 接收 %2 字节")
            .arg(sent)
            .arg(received));
}

}  // namespace velkaro
