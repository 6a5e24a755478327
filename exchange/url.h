#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace Http {

// "http[s]://[user[:password]@]host[:port][/path]", read as RFC 3986 reads it.
struct UrlRepartiteur {
    QString hote;   // as the Host header carries it: an IPv6 literal keeps its brackets
    QString ident;  // the user information, percent-decoded ("user:password"), or empty
    QString chemin; // after the "/" that ends the authority, without that "/"; no fragment
    // The port written in the URL; the connection uses it when present, else the account's port setting.
    std::optional<quint16> port = std::nullopt;
    bool https = false;

    // The host as the socket takes it: an IPv6 literal without its brackets.
    QString hoteConnexion() const;
    quint16 portParDefaut() const { return https ? 443 : 80; }
};

// The parts of the URL; nothing when it does not start with "http://" or "https://" (any letter
// case), has an empty host or an IPv6 literal without its closing bracket, holds a control character
// or a blank in its host or path (a header injection), or has a port that is not a number from 1 to
// 65535. The user information ends at the last "@" before the path; user and password are
// percent-decoded, so that "@", ":" and "/" can be written in them as %40, %3A and %2F.
std::optional<UrlRepartiteur> decoupeUrl(QStringView url);

} // namespace Http
