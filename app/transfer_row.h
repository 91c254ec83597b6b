// The row that shows a running send: a progress bar (written / queued, with the rate and the
// time left as its text) and the "停止发送" button, shown only while bytes wait for the device;
// and the label with the bytes sent and received on the current connection.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <cstdint>

class QDialog;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace velkaro {

class ResizeAnchors;

enum TransferControl {
    IDC_TRANSFER_PROGRESS = 1029,
    IDC_STOP_SENDING = 1030,
    IDC_BYTE_COUNTERS = 1031,
};

class TransferRow {
  public:
    // Creates the controls in `dialog` (hidden row, visible counters) and anchors them.
    TransferRow(QDialog* dialog, ResizeAnchors& anchors, QWidget* sendBox);

    // Shows the row with a transfer's counts, or hides it when `queued` is 0.
    void Show(std::uint64_t written, std::uint64_t queued);
    void SetCounters(std::uint64_t sent, std::uint64_t received);

    bool Visible() const;
    QPushButton* StopButton() const { return stop_; }
    QProgressBar* Bar() const { return bar_; }
    QLabel* Counters() const { return counters_; }

    static QString ProgressText(std::uint64_t written, std::uint64_t queued, double bytesPerSecond);

  private:
    ResizeAnchors& anchors_;
    QWidget* sendBox_;
    QProgressBar* bar_;
    QPushButton* stop_;
    QLabel* counters_;
    int rowHeight_;
    QElapsedTimer clock_;  // since the row appeared
    std::uint64_t firstWritten_ = 0;
};

}  // namespace velkaro
