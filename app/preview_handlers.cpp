// The "预览" button and its "标签预览" tool window.

#include "app/velkaro_dlg.h"
#include "preview/label_preview_window.h"

namespace velkaro {

void CVelkaroDlg::OnBnClickedPreview() {
    if (!m_pPreview) m_pPreview = new LabelPreviewWindow(m_ui, m_edtSend, m_charset, this);
    if (m_pPreview->isVisible()) {
        m_pPreview->hide();
        return;
    }
    m_pPreview->RedrawNow();
    m_pPreview->show();
    m_pPreview->raise();
}

}  // namespace velkaro
