#pragma once

#include <QNetworkAccessManager>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

class QNetworkReply;

// The web pane: shows the maker's information page. Pages are fetched over HTTP and shown as rich
// text; links open in the user's browser.
class WebInfos : public QTextBrowser {
    Q_OBJECT
public:
    explicit WebInfos(QWidget *parent = nullptr);

    // Starts loading the page; the previous document stays until the new one has arrived.
    void navigate(const QUrl &url);
    // Loads the current page again.
    void refresh();

    QUrl adresse() const { return m_url; }
    // Whether the last navigation has ended (with the page, or with a notice that it is unreachable).
    bool documentCharge() const { return m_loaded; }
    // The loaded document's text.
    QString texte() const;

    // Time after which a page that does not come is given up.
    void setDelaiMaximal(int milliseconds) { m_timeout = milliseconds; }

signals:
    void downloadComplete();

private:
    void onFinished(QNetworkReply *reply);
    void openLink(const QUrl &link);

    QNetworkAccessManager m_network;
    QPointer<QNetworkReply> m_reply;
    QUrl m_url;
    bool m_loaded = false;
    int m_timeout = 15000;
};
