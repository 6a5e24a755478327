#pragma once

#include <QString>
#include <QUrl>

// The maker's web site: one base address, which the optional setting "URLEditeur" of section
// "Infos" replaces (it is never written by the program).
namespace SiteEditeur {

QUrl adresseBase();

// The information page for the pharmacy: /Infos.php?ADL= followed by the ADELI number,
// percent-encoded.
QUrl pageInfos(const QString &adeli);

// The online help page, /solvarin.php.
QUrl pageAide();

// The home page, and the address as the link label shows it.
QUrl pageAccueil();
QString texteAccueil();

// The host name that the help question names.
QString nomHote();

} // namespace SiteEditeur
