#include "http.h"

#include "base64.h"
#include "windows1252.h"

#include <QList>
#include <QStringDecoder>

namespace Http {

namespace {

// Longest size or trailer line we wait for; beyond that the framing cannot be chunked coding.
constexpr qsizetype ligneMax = 8 * 1024;

int valeurHex(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "Basic" over the user information on one line, as for the wholesaler.
QByteArray basic(const QString &ident)
{
    return "Basic " + Base64().EncodeArray64OneLine(Windows1252::fromText(ident)).toLatin1();
}

QByteArray identificationProxy(const Proxy &proxy)
{
    return proxy.ident.isEmpty() ? QByteArray() : "Proxy-Authorization: " + basic(proxy.ident) + "\r\n";
}

bool caractereNom(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.' || uchar(c) >= 0x80;
}

// Longest unfinished end tag kept for the next search: "</" + a prefix + the name + blanks.
constexpr qsizetype margeBalise = 256;

// A body whose encoding is not ASCII-compatible (UTF-16, UTF-32), with or without a byte-order mark.
std::optional<QStringConverter::Encoding> encodageLarge(QByteArrayView corps)
{
    const std::optional<QStringConverter::Encoding> e = QStringConverter::encodingForData(corps, u'<');
    if (e && *e != QStringConverter::Utf8 && *e != QStringConverter::Latin1 && *e != QStringConverter::System)
        return e;
    return std::nullopt;
}

} // namespace

QByteArray requete(const UrlRepartiteur &url, const QString &empreinte, const QByteArray &corps,
                   const Proxy *proxy)
{
    QByteArray r;
    r.reserve(corps.size() + 512);
    if (proxy) {
        const QByteArray port =
            url.port && *url.port != url.portParDefaut() ? ':' + QByteArray::number(*url.port) : QByteArray();
        r += "POST http://" + Windows1252::fromText(url.hote) + port + '/' +
             Windows1252::fromText(url.chemin) + " HTTP/1.1\r\n";
        r += identificationProxy(*proxy);
    } else {
        r += "POST /" + Windows1252::fromText(url.chemin) + " HTTP/1.1\r\n";
    }
    r += "Content-Type: text/xml; charset=\"utf-8\"\r\n";
    r += "Content-pharmaML: " + Windows1252::fromText(empreinte) + "\r\n";
    if (!url.ident.isEmpty())
        r += "Authorization: " + basic(url.ident) + "\r\n";
    r += "Host: " + Windows1252::fromText(url.hote) + "\r\n";
    r += "Content-Length: " + QByteArray::number(corps.size()) + "\r\n";
    r += "\r\n";
    r += corps;
    r += "\r\n";
    return r;
}

QByteArray tunnel(const UrlRepartiteur &url, quint16 port, const Proxy &proxy)
{
    const QByteArray cible = Windows1252::fromText(url.hote) + ':' + QByteArray::number(port);
    return "CONNECT " + cible + " HTTP/1.1\r\nHost: " + cible + "\r\n" + identificationProxy(proxy) + "\r\n";
}

int PML_StatutHttp(QByteArrayView texte)
{
    const QByteArrayView code = texte.sliced(texte.indexOf(' ') + 1); // from the start when no space
    if (code.size() < 3 || (code.size() > 3 && !QByteArrayView(" \t\r\n").contains(code[3])))
        return 0;
    int valeur = 0;
    for (char c : code.first(3)) {
        if (c < '0' || c > '9')
            return 0;
        valeur = valeur * 10 + (c - '0');
    }
    return valeur;
}

std::optional<Entetes> litEntetes(QByteArrayView recu)
{
    const qsizetype fin = recu.indexOf("\r\n\r\n");
    if (fin < 0)
        return std::nullopt;
    Entetes e;
    e.longueur = fin + 4;
    // From the header block alone: what follows it must not change the status, however it arrives.
    e.statut = PML_StatutHttp(recu.first(fin));
    QByteArray codages;
    const QList<QByteArray> lignes = recu.first(fin).toByteArray().split('\n');
    e.ligneStatut = lignes[0].trimmed();
    for (qsizetype i = 1; i < lignes.size(); ++i) {
        const QByteArray &ligne = lignes[i];
        const qsizetype deuxPoints = ligne.indexOf(':');
        if (deuxPoints <= 0)
            continue;
        const QByteArray nom = ligne.left(deuxPoints).trimmed().toLower();
        const QByteArray valeur = ligne.mid(deuxPoints + 1).trimmed();
        if (nom == "transfer-encoding") {
            codages += ',' + valeur;
        } else if (nom == "content-length") {
            bool nombre = false;
            const qint64 longueur = valeur.toLongLong(&nombre);
            if (nombre && longueur >= 0)
                e.longueurCorps = longueur;
        } else if (nom == "proxy-status" || nom == "x-squid-error") {
            e.erreurProxy = true;
        }
    }
    // Chunked must be the last coding applied, so it is the last one listed.
    e.chunked =
        codages.mid(codages.lastIndexOf(',') + 1).trimmed().compare("chunked", Qt::CaseInsensitive) == 0;
    if (e.chunked)
        e.longueurCorps.reset();
    return e;
}

std::optional<QByteArrayView> DecodeurChunks::ligne(QByteArrayView corps)
{
    const qsizetype fin = corps.indexOf('\n', m_position);
    if (fin < 0) {
        if (corps.size() - m_position > ligneMax)
            m_etape = Etape::Malforme;
        return std::nullopt;
    }
    if (fin - m_position > ligneMax) {
        // Judged as when it arrives in pieces: however the body is cut, the outcome is the same.
        m_etape = Etape::Malforme;
        return std::nullopt;
    }
    QByteArrayView l = corps.sliced(m_position, fin - m_position);
    if (l.endsWith('\r'))
        l.chop(1);
    m_position = fin + 1;
    return l;
}

void DecodeurChunks::avance(QByteArrayView corps)
{
    for (;;) {
        switch (m_etape) {
        case Etape::Taille: {
            const auto l = ligne(corps);
            if (!l)
                return;
            qsizetype i = 0;
            qint64 taille = 0;
            for (; i < l->size() && valeurHex((*l)[i]) >= 0; ++i) {
                if (i == 15) { // more than a reply could ever hold
                    m_etape = Etape::Malforme;
                    return;
                }
                taille = taille * 16 + valeurHex((*l)[i]);
            }
            const QByteArrayView apres = l->sliced(i).trimmed();
            if (i == 0 || !(apres.isEmpty() || apres.startsWith(';'))) {
                m_etape = Etape::Malforme;
                return;
            }
            m_reste = taille;
            m_etape = taille == 0 ? Etape::Trailers : Etape::Donnees;
            break;
        }
        case Etape::Donnees: {
            const qsizetype n = std::min<qint64>(m_reste, corps.size() - m_position);
            m_donnees.append(corps.sliced(m_position, n));
            m_position += n;
            m_reste -= n;
            if (m_reste > 0)
                return;
            m_etape = Etape::FinDonnees;
            break;
        }
        case Etape::FinDonnees: {
            const auto l = ligne(corps);
            if (!l)
                return;
            m_etape = l->isEmpty() ? Etape::Taille : Etape::Malforme;
            break;
        }
        case Etape::Trailers: {
            const auto l = ligne(corps);
            if (!l)
                return;
            if (l->isEmpty())
                m_etape = Etape::Fin;
            break;
        }
        case Etape::Fin:
        case Etape::Malforme:
            return;
        }
    }
}

qsizetype finEnveloppe(QByteArrayView texte, qsizetype depuis)
{
    constexpr QByteArrayView nom("CSRP_ENVELOPPE");
    for (qsizetype p = texte.indexOf(nom, depuis); p >= 0; p = texte.indexOf(nom, p + 1)) {
        qsizetype debut = p;
        if (debut > 0 && texte[debut - 1] == ':') {
            --debut;
            while (debut > 0 && caractereNom(texte[debut - 1]))
                --debut;
            if (debut == p - 1)
                continue;
        }
        if (debut < 2 || texte[debut - 2] != '<' || texte[debut - 1] != '/')
            continue;
        qsizetype fin = p + nom.size();
        while (fin < texte.size() && QByteArrayView(" \t\r\n").contains(texte[fin]))
            ++fin;
        if (fin < texte.size() && texte[fin] == '>')
            return fin + 1;
    }
    return -1;
}

void AssembleurRetour::vide()
{
    *this = AssembleurRetour();
}

AssembleurRetour::Etat AssembleurRetour::termine(Etat etat)
{
    m_recu.clear();
    m_entetes.reset();
    m_debut = 0;
    m_dejaCherche = 0;
    return etat;
}

AssembleurRetour::Etat AssembleurRetour::complet(QByteArrayView corps)
{
    // Whatever its framing, and however it arrived: one piece may hold a whole reply too large.
    if (corps.size() > tailleMax)
        return termine(Etat::TropGrand);
    m_retour = corps.toByteArray();
    return termine(Etat::Complet);
}

QByteArrayView AssembleurRetour::corps()
{
    const QByteArrayView brut = QByteArrayView(m_recu).sliced(m_debut + m_entetes->longueur);
    if (!m_chunked)
        return brut;
    m_decodeur.avance(brut);
    return m_decodeur.donnees();
}

AssembleurRetour::Etat AssembleurRetour::ajoute(QByteArrayView donnees)
{
    m_recu += donnees;
    while (!m_entetes) {
        // Only what was not searched yet, plus enough to catch a blank line split across arrivals.
        if (m_recu.indexOf("\r\n\r\n", std::max(m_debut, m_dejaCherche - 3)) < 0) {
            m_dejaCherche = m_recu.size();
            return m_recu.size() > tailleMax ? termine(Etat::TropGrand) : Etat::EnCours;
        }
        const Entetes entetes = *litEntetes(QByteArrayView(m_recu).sliced(m_debut));
        if (entetes.statut >= 100 && entetes.statut < 200) {
            // An interim reply: the real one follows it.
            m_debut += entetes.longueur;
            m_dejaCherche = m_debut;
            continue;
        }
        m_entetes = entetes;
        m_dejaCherche = 0;
        m_statut = entetes.statut;
        m_ligneStatut = entetes.ligneStatut;
        m_erreurProxy = entetes.erreurProxy;
        m_chunked = entetes.chunked;
        if (m_statut != 200)
            return termine(Etat::ErreurHttp);
    }
    const QByteArrayView texte = corps();
    if (const auto encodage = encodageLarge(texte)) {
        // Its end tag is no ASCII text: looked for in the text it encodes.
        const QByteArray utf8 = QStringDecoder(*encodage).decode(texte).operator QString().toUtf8();
        if (finEnveloppe(utf8) >= 0)
            return complet(texte);
    } else {
        // Only what was not searched yet, plus enough to catch a tag split across arrivals.
        const qsizetype fin = finEnveloppe(texte, std::max<qsizetype>(0, m_dejaCherche - margeBalise));
        if (fin >= 0)
            return complet(texte.first(fin));
        m_dejaCherche = texte.size();
    }
    if (m_chunked && m_decodeur.termine())
        return complet(texte);
    if (m_entetes->longueurCorps && texte.size() >= *m_entetes->longueurCorps)
        return complet(texte.first(*m_entetes->longueurCorps));
    // Nothing more can be decoded, so the reply can never complete.
    if (m_chunked && m_decodeur.malforme())
        return termine(Etat::Malforme);
    return m_recu.size() > tailleMax ? termine(Etat::TropGrand) : Etat::EnCours;
}

AssembleurRetour::Etat AssembleurRetour::fin()
{
    if (!m_entetes || m_chunked || m_entetes->longueurCorps)
        return Etat::EnCours;
    return complet(corps());
}

} // namespace Http
