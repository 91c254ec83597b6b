// The "打印机状态" tool window. "查询" sends the status query of the chosen language over the
// main window's open connection; the replies, and any status reply that appears in the
// received stream whoever asked for it, are shown as a table of fields (name, value, meaning;
// errors red, warnings amber) under a one-line summary. The raw bytes stay in the receive box.
#pragma once

#include <QColor>
#include <QWidget>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "printer_language/status_stream.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimer;

namespace velkaro {

class PrinterStatusWindow : public QWidget {
    Q_OBJECT
  public:
    // Sends bytes over the open connection; false when there is none.
    using SendFunction = std::function<bool(const std::string& bytes)>;

    enum class QueryLanguage { Zpl, Epl, Cpcl, Sgd };

    static inline const QColor kErrorColor{0xC6, 0x28, 0x28};
    static inline const QColor kWarningColor{0xB2, 0x6A, 0x00};
    static constexpr int kReplyTimeoutMs = 3000;

    explicit PrinterStatusWindow(SendFunction send, QWidget* parent = nullptr);

    // Everything the printer sent, as it arrives.
    void Feed(const char* data, std::size_t size);
    // Sends the query of the chosen language, as "查询" does.
    void Query();

    void SetLanguage(QueryLanguage language);
    void SetSgdVariable(const QString& name);
    // How long "查询" waits before saying "无应答" (kReplyTimeoutMs unless changed).
    void SetReplyTimeout(int ms);
    QString Summary() const;
    const std::vector<printer_language::StatusReply>& Replies() const { return replies_; }

  protected:
    // Escape closes the window, as it would a dialog.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildControls();
    void OnLanguageChosen();
    void OnReplyTimeout();
    void Keep(printer_language::StatusReply reply);
    void ShowSummary(const QString& text, printer_language::Severity severity);
    void Refresh();
    void AddHeaderRow(const printer_language::StatusReply& reply);
    void AddFieldRow(const QString& name, const QString& value, const QString& meaning,
                     printer_language::Severity severity);

    SendFunction send_;
    printer_language::StatusStream stream_;
    std::vector<printer_language::StatusReply> replies_;
    bool awaitingReply_ = false;

    QLabel* summary_ = nullptr;
    QComboBox* language_ = nullptr;
    QLineEdit* variable_ = nullptr;
    QPushButton* query_ = nullptr;
    QTableWidget* table_ = nullptr;
    QTimer* replyTimer_ = nullptr;
};

}  // namespace velkaro
