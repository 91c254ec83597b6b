// Fetches the update file once in the background and hands its text to the owner window as an
// event of type 1425. Only the first kMaxBytes of the body are read; a status outside 200-299
// or any failure hands nothing. The reply never buffers more than kMaxBytes, and the whole
// check ends within a deadline however slowly the server sends. The request belongs to this
// object, so it never outlives the window that owns the object.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QNetworkAccessManager;
class QNetworkReply;

namespace velkaro {

class CHttpDownload : public QObject {
    Q_OBJECT
  public:
    static constexpr qint64 kMaxBytes = 64 * 1024;
    static constexpr int kDefaultDeadlineMs = 30000;

    explicit CHttpDownload(QObject* parent = nullptr);
    ~CHttpDownload() override;
    void StartDownload(QObject* owner, const QString& url);
    // From the start of a download to its end; a download still running then is dropped.
    void SetDeadline(int milliseconds) { m_nDeadlineMs = milliseconds; }
    bool Running() const { return !m_pReply.isNull(); }

    // The body cut into lines at LF, every CR dropped, each line followed by CR LF.
    static QByteArray RebuildLines(const QByteArray& body);

  private:
    void OnReadyRead();
    void OnFinished();

    QPointer<QObject> m_pOwner;
    QNetworkAccessManager* m_pManager = nullptr;
    QPointer<QNetworkReply> m_pReply;
    QByteArray m_body;
    bool m_bTruncated = false;
    int m_nDeadlineMs = kDefaultDeadlineMs;
    QTimer m_Deadline;
};

}  // namespace velkaro
