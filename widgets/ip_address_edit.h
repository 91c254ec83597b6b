// An IPv4 address entry of four fields, 0 to 255 each. Its text is the dotted address, each
// field a plain decimal number without leading zeros; with
// every field blank the text is empty, and a partly blank address gives a text such as
// "192.168..5" that no address parser accepts, so it can never turn into 0.0.0.0 silently.
#pragma once

#include <QWidget>
#include <array>

class QLineEdit;

namespace velkaro {

class CIPAddressCtrl : public QWidget {
    Q_OBJECT
  public:
    explicit CIPAddressCtrl(QWidget* parent = nullptr);

    QString Text() const;
    // Fills the fields from dotted text; parts that are not numbers from 0 to 255 stay blank.
    void SetText(const QString& text);
    QLineEdit* Field(int index) const { return fields_.at(index); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void LayoutFields();
    std::array<QLineEdit*, 4> fields_{};
};

}  // namespace velkaro
