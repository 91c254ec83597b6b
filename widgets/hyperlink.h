// A hyperlink text: drawn in its normal colour, in the hover colour while the mouse is over it
// and in the visited colour once clicked; a click (or Enter/Space when focused) opens its target
// through the desktop's default handler, and its tooltip shows the target. Screen readers see
// it as a link named by its text.
#pragma once

#include <QColor>
#include <QUrl>
#include <QWidget>
#include <functional>

namespace velkaro {

class CXTHyperLink : public QWidget {
    Q_OBJECT
  public:
    using Opener = std::function<void(const QUrl&)>;

    explicit CXTHyperLink(const QString& text = {}, QWidget* parent = nullptr);

    void SetText(const QString& text);
    QString Text() const { return text_; }
    void SetURL(const QString& target);
    QString URL() const { return target_; }
    void SetUnderline(bool underline);
    bool Underline() const { return underline_; }
    void SetColors(const QColor& normal, const QColor& visited, const QColor& hover);
    // The colour the text is drawn in right now.
    QColor CurrentColor() const;
    bool Visited() const { return visited_; }
    // Opens the target; replaceable so tests and the program's services decide how.
    void SetOpener(Opener opener) { opener_ = std::move(opener); }
    void Click();

    QSize sizeHint() const override;

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void TakeFocusOnlyWhenUsable();

    QString text_;
    QString target_;
    bool underline_ = true;
    bool hovered_ = false;
    bool visited_ = false;
    QColor normal_{0, 0, 255};
    QColor visitedColor_{128, 0, 128};
    QColor hover_{255, 0, 0};
    Opener opener_;
};

// Makes the link reachable by screen readers and automation; called once at start.
void InstallHyperlinkAccessibility();

}  // namespace velkaro
