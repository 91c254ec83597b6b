// Help, the update notice and the About box.
#include <QDir>
#include <QFile>

#include "app/ui_language.h"
#include "app/velkaro_dlg.h"
#include "support/help_file.h"
#include "support/program_strings.h"
#include "support/update_notice.h"
#include "widgets/hyperlink.h"
#include "window_services/ui_services.h"

// The help page is compiled into the program's library; this pulls it in.
static void InitHelpResource() {
    Q_INIT_RESOURCE(velkaro);
}

namespace velkaro {

void CVelkaroDlg::OnBnClickedHelp() {
    InitHelpResource();
    QFile resource(HelpPageResource(CurrentUiLanguage()));
    const QString path =
        resource.open(QIODevice::ReadOnly)
            ? WriteHelpFile(resource.readAll(), qEnvironmentVariable("XDG_RUNTIME_DIR"),
                            QDir::tempPath())
            : QString();
    if (path.isEmpty()) {
        ShowError(tr("无法打开帮助文件"));
        return;
    }
    m_ui.OpenUrl(QUrl::fromLocalFile(path));
}

void CVelkaroDlg::CheckForUpdate() {
    m_lnkUpdate->SetText(QString());
    m_HttpDownload.StartDownload(this, m_env.updateUrl);
}

void CVelkaroDlg::OnUpdateDone(const PortMessage& message) {
    const auto notice = ReadUpdateNotice(QByteArray::fromStdString(message.bytes),
                                         QString::fromUtf8(kProgramVersion));
    if (!notice) return;
    m_lnkUpdate->SetText(tr("最新版本下载：") + notice->version);
    m_lnkUpdate->SetUnderline(false);
    m_lnkUpdate->SetURL(notice->link);
    m_lnkUpdate->setToolTip(notice->host);
    m_lnkUpdate->SetColors(QColor(255, 0, 0), QColor(0, 0, 255), QColor(255, 0, 0));
}

}  // namespace velkaro
