// "标签预览": a non-modal tool window that draws the send box's content as the printer would
// print it, 300 ms after typing stops, with what the renderer did not understand listed below.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

#include "label_render/label_render.h"

class QComboBox;
class QDoubleSpinBox;
class QHBoxLayout;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QTabBar;

namespace velkaro {

class IUiServices;

class LabelPreviewWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kRedrawDelayMs = 300;

    // Follows `source` (the send box) and encodes its text in `charset` as sending does.
    LabelPreviewWindow(IUiServices& ui, QPlainTextEdit* source, const QByteArray& charset,
                       QWidget* parent = nullptr);

    // Draws the send box now (otherwise this happens kRedrawDelayMs after the last change).
    void RedrawNow();
    bool RedrawPending() const { return m_redrawTimer.isActive(); }
    // "导出PNG…": saves the label on show at its own dots.
    void ExportPng();
    // Selects in the send box what the row of the not-understood list points at.
    void SelectProblem(int row);

    const label::RenderResult& Result() const { return m_result; }
    int CurrentPage() const;
    QImage CurrentLabel() const;
    label::RenderOptions Options() const;

    // The toolbar, for tests and accessibility checks.
    QComboBox* DotsPerMmBox() const { return m_dotsPerMm; }
    QComboBox* UnitBox() const { return m_unit; }
    QDoubleSpinBox* WidthBox() const { return m_width; }
    QDoubleSpinBox* HeightBox() const { return m_height; }
    QComboBox* ZoomBox() const { return m_zoom; }
    QComboBox* LanguageBox() const { return m_language; }
    QTabBar* Pages() const { return m_pages; }
    QListWidget* ProblemList() const { return m_problems; }
    QLabel* LabelView() const { return m_view; }

  private:
    void BuildToolbar(QHBoxLayout* bar);
    void ScheduleRedraw();
    void OnUnitChanged();
    void ShowPage();

    IUiServices& m_ui;
    QPlainTextEdit* m_source;
    QByteArray m_charset;
    QTimer m_redrawTimer;
    label::RenderResult m_result;
    QString m_renderedText;
    bool m_inches = true;

    QComboBox* m_dotsPerMm = nullptr;
    QDoubleSpinBox* m_width = nullptr;
    QDoubleSpinBox* m_height = nullptr;
    QComboBox* m_unit = nullptr;
    QComboBox* m_zoom = nullptr;
    QComboBox* m_language = nullptr;
    QPushButton* m_export = nullptr;
    QTabBar* m_pages = nullptr;
    QScrollArea* m_scroll = nullptr;
    QLabel* m_view = nullptr;
    QLabel* m_summary = nullptr;
    QListWidget* m_problems = nullptr;
};

}  // namespace velkaro
