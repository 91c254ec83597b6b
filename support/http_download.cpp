#include "support/http_download.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>

#include "window_services/port_event.h"

namespace velkaro {

CHttpDownload::CHttpDownload(QObject* parent) : QObject(parent) {
    m_Deadline.setSingleShot(true);
    connect(&m_Deadline, &QTimer::timeout, this, [this] {
        if (!m_pReply) return;
        m_pReply->disconnect(this);
        m_pReply->abort();
        m_pReply->deleteLater();
        m_pReply = nullptr;
    });
}

CHttpDownload::~CHttpDownload() {
    if (m_pReply) {
        m_pReply->disconnect(this);
        m_pReply->abort();
    }
}

void CHttpDownload::StartDownload(QObject* owner, const QString& url) {
    m_pOwner = owner;
    if (url.isEmpty() || m_pReply) return;
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    if (!m_pManager) m_pManager = new QNetworkAccessManager(this);
    QNetworkRequest request{QUrl(url)};
    request.setTransferTimeout(30000);
    m_body.clear();
    m_bTruncated = false;
    m_pReply = m_pManager->get(request);
    // The network thread stops fetching once this much waits unread, so a huge or endless body
    // is never held in memory.
    m_pReply->setReadBufferSize(kMaxBytes);
    m_Deadline.start(m_nDeadlineMs);
    connect(m_pReply, &QNetworkReply::readyRead, this, &CHttpDownload::OnReadyRead);
    connect(m_pReply, &QNetworkReply::finished, this, &CHttpDownload::OnFinished);
}

void CHttpDownload::OnReadyRead() {
    if (m_bTruncated) return;
    m_body += m_pReply->read(kMaxBytes - m_body.size());
    if (m_body.size() >= kMaxBytes) {  // enough: the rest is ignored and not even fetched
        m_bTruncated = true;
        m_pReply->abort();
    }
}

void CHttpDownload::OnFinished() {
    QNetworkReply* reply = m_pReply;
    if (!reply) return;
    m_Deadline.stop();
    reply->deleteLater();
    m_pReply = nullptr;
    if (!m_bTruncated) {
        m_body += reply->read(kMaxBytes - m_body.size());
        if (reply->error() != QNetworkReply::NoError) return;
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status < 200 || status > 299 || !m_pOwner) return;
    PortMessage message{WM_UPDATE_DONE, RebuildLines(m_body).toStdString(), 0};
    QCoreApplication::postEvent(m_pOwner, new PortEvent(std::move(message)));
}

QByteArray CHttpDownload::RebuildLines(const QByteArray& body) {
    QByteArray text;
    QByteArray line;
    for (char c : body) {
        if (c == '\r') continue;
        if (c == '\n') {
            text += line + "\r\n";
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.isEmpty()) text += line + "\r\n";
    return text;
}

}  // namespace velkaro
