#include "webinfos.h"

#include <QDesktopServices>
#include <QNetworkReply>
#include <QStringDecoder>

#include <utility>

WebInfos::WebInfos(QWidget *parent) : QTextBrowser(parent)
{
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &WebInfos::openLink);
    connect(&m_network, &QNetworkAccessManager::finished, this, &WebInfos::onFinished);
}

void WebInfos::navigate(const QUrl &url)
{
    // The old reply is forgotten before it is aborted, so that its end is not taken for this page's.
    const QPointer<QNetworkReply> previous = std::exchange(m_reply, nullptr);
    if (previous)
        previous->abort();
    m_url = url;
    m_loaded = false;
    QNetworkRequest request(url);
    request.setTransferTimeout(m_timeout);
    m_reply = m_network.get(request);
}

void WebInfos::refresh()
{
    if (m_url.isValid())
        navigate(m_url);
}

QString WebInfos::texte() const
{
    return document()->toPlainText().trimmed();
}

void WebInfos::onFinished(QNetworkReply *reply)
{
    reply->deleteLater();
    // A reply replaced by a newer navigation is dropped.
    if (reply != m_reply)
        return;
    if (reply->error() == QNetworkReply::NoError) {
        const QByteArray body = reply->readAll();
        const QString type = reply->header(QNetworkRequest::ContentTypeHeader).toString();
        QStringDecoder decoder = QStringDecoder::decoderForHtml(body);
        const QString text = decoder.isValid() ? decoder.decode(body) : QString::fromUtf8(body);
        if (type.startsWith(QLatin1String("text/plain"), Qt::CaseInsensitive))
            setPlainText(text);
        else
            setHtml(text);
    } else {
        setHtml(tr("<p style=\"color:#5b6670\">Les informations de votre fournisseur ne sont pas "
                   "joignables pour le moment.</p>"));
    }
    m_loaded = true;
    emit downloadComplete();
}

void WebInfos::openLink(const QUrl &link)
{
    QDesktopServices::openUrl(m_url.resolved(link));
}
