// While a network connect attempt runs, the window keeps painting and taking port messages but
// ignores the user's input, except what ends the attempt: a click (or key) on "打开端口", which
// reaches the button, and Escape anywhere in the window, which cancels at once.
#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace velkaro {

class ConnectGate : public QObject {
  public:
    // Filters the whole application's input while it lives.
    ConnectGate(QWidget* window, QWidget* openButton, std::function<void()> cancel);
    ~ConnectGate() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* window_;
    QWidget* openButton_;
    std::function<void()> cancel_;
};

}  // namespace velkaro
