#pragma once

#include "url.h"

#include <QProcessEnvironment>
#include <QString>

#include <optional>

namespace Http {

// An HTTP proxy: the host as the socket takes it, its port, and its user information percent-decoded.
struct Proxy {
    QString hote;
    quint16 port = 0;
    QString ident;
};

// Which proxy, if any, carries a request to `url`, as curl chooses it.
struct ChoixProxy {
    std::optional<Proxy> proxy;
    // The setting or environment variable whose value is no usable proxy address; empty when fine.
    QString invalide;
};

// `reglage` is the account-independent setting: empty for the environment, "aucun" (any letter case)
// for no proxy, else "http://[user:password@]host[:port]", which applies to every address. From the
// environment: "http_proxy" (lower case only) for http addresses, "https_proxy" then "HTTPS_PROXY"
// for https ones, a missing scheme read as "http://", port 1080 when none is written; "no_proxy" then
// "NO_PROXY" lists exceptions ("*", host names that also cover their subdomains, addresses and
// networks such as 10.0.0.0/8); localhost, 127.0.0.0/8 and ::1 never go through it.
ChoixProxy choisitProxy(const UrlRepartiteur &url, const QString &reglage,
                        const QProcessEnvironment &environnement = QProcessEnvironment::systemEnvironment());

} // namespace Http
