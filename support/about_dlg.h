// "关于 Velkaro": icon, name and version, rights notice and the contact mail link.
#pragma once

#include <QDialog>

class QAction;
class QMenu;

namespace velkaro {

class CXTHyperLink;

class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent = nullptr, const QString& contactAddress = {});
    CXTHyperLink* EmailLink() const { return m_lnkEmail; }

  private:
    CXTHyperLink* m_lnkEmail = nullptr;
};

// Appends a separator and the About item to `menu`; nothing when `text` is empty.
QAction* AddAboutItem(QMenu& menu, const QString& text);

}  // namespace velkaro
