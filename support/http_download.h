// Fetches the update file once in the background and hands its text to the owner window as an
// event of type 1425. Only the first kMaxBytes of the body are read; a status outside 200-299
// or any failure hands nothing. The request belongs to this object, so it never outlives the
// window that owns the object.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>

class QNetworkAccessManager;
class QNetworkReply;

namespace velkaro {

class CHttpDownload : public QObject {
    Q_OBJECT
  public:
    static constexpr qint64 kMaxBytes = 64 * 1024;

    explicit CHttpDownload(QObject* parent = nullptr);
    ~CHttpDownload() override;
    void StartDownload(QObject* owner, const QString& url);

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
};

}  // namespace velkaro
