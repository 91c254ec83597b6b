// The find bar of the receive box (Ctrl+F): text in the box's character set or hexadecimal
// bytes, next and previous, and how many matches there are.
#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace velkaro {

class ReceiveView;

class ReceiveFindBar : public QWidget {
  public:
    explicit ReceiveFindBar(ReceiveView& view);

    void Open();
    // Puts the bar under the rows, above the horizontal scroll bar.
    void Place();
    // Shows the current match and the count again.
    void Refresh();
    QLineEdit* Query() const { return query_; }
    QCheckBox* HexBytes() const { return hex_; }
    QLabel* Count() const { return count_; }

  protected:
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Search();
    void Step(bool backward);

    ReceiveView& view_;
    QLineEdit* query_;
    QCheckBox* hex_;
    QLabel* count_;
    bool badHex_ = false;
};

}  // namespace velkaro
