#include "http.h"

#include "base64.h"
#include "windows1252.h"

#include <QList>

namespace Http {

namespace {

// Longest size or trailer line we wait for; beyond that the framing cannot be chunked coding.
constexpr qsizetype ligneMax = 8 * 1024;

bool injecte(QStringView texte) {
    for (QChar c : texte) {
        if (c.isSpace() || c.category() == QChar::Other_Control)
            return true;
    }
    return false;
}

int valeurHex(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::optional<UrlRepartiteur> decoupeUrl(QStringView url) {
    if (url.left(7).compare(u"http://", Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const QStringView reste = url.mid(7);
    const qsizetype barre = reste.indexOf(u'/');
    if (barre < 0)
        return std::nullopt;
    UrlRepartiteur u;
    u.hote = reste.left(barre).toString();
    u.chemin = reste.mid(barre + 1).toString();
    const qsizetype arobase = u.hote.indexOf(u'@');
    if (arobase >= 0) {
        u.ident = u.hote.left(arobase);
        u.hote = u.hote.mid(arobase + 1);
    }
    const qsizetype deuxPoints = u.hote.lastIndexOf(u':');
    if (deuxPoints >= 0 && deuxPoints > u.hote.lastIndexOf(u']')) {
        const QStringView chiffres = QStringView(u.hote).sliced(deuxPoints + 1);
        bool nombre = !chiffres.isEmpty() && chiffres.size() <= 5;
        for (QChar c : chiffres)
            nombre = nombre && c >= u'0' && c <= u'9';
        const uint port = nombre ? chiffres.toUInt() : 0;
        if (port < 1 || port > 65535)
            return std::nullopt;
        u.port = quint16(port);
        u.hote.truncate(deuxPoints);
    }
    if (injecte(u.hote) || injecte(u.chemin))
        return std::nullopt;
    return u;
}

QByteArray requete(const UrlRepartiteur &url, const QString &empreinte, const QByteArray &corps) {
    QByteArray r;
    r.reserve(corps.size() + 512);
    r += "POST /" + Windows1252::fromText(url.chemin) + " HTTP/1.1\r\n";
    r += "Content-Type: text/xml; charset=\"utf-8\"\r\n";
    r += "Content-pharmaML: " + Windows1252::fromText(empreinte) + "\r\n";
    if (!url.ident.isEmpty())
        r += "Authorization: Basic " +
             Base64().EncodeArray64OneLine(Windows1252::fromText(url.ident)).toLatin1() + "\r\n";
    r += "Host: " + Windows1252::fromText(url.hote) + "\r\n";
    r += "Content-Length: " + QByteArray::number(corps.size()) + "\r\n";
    r += "\r\n";
    r += corps;
    r += "\r\n";
    return r;
}

int statut(QByteArrayView texte) {
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

std::optional<Entetes> litEntetes(QByteArrayView recu) {
    const qsizetype fin = recu.indexOf("\r\n\r\n");
    if (fin < 0)
        return std::nullopt;
    Entetes e;
    e.longueur = fin + 4;
    // From the header block alone: what follows it must not change the status, however it arrives.
    e.statut = statut(recu.first(fin));
    const QByteArrayView bloc = recu.first(fin);
    e.ligneStatut = bloc.first(bloc.contains('\n') ? bloc.indexOf('\n') : fin).trimmed().toByteArray();
    QByteArray codages;
    const QList<QByteArray> lignes = recu.first(fin).toByteArray().split('\n');
    for (qsizetype i = 1; i < lignes.size(); ++i) {
        const QByteArray &ligne = lignes[i];
        const qsizetype deuxPoints = ligne.indexOf(':');
        if (deuxPoints > 0 &&
            ligne.left(deuxPoints).trimmed().compare("Transfer-Encoding", Qt::CaseInsensitive) == 0)
            codages += ',' + ligne.mid(deuxPoints + 1);
    }
    // Chunked must be the last coding applied, so it is the last one listed.
    e.chunked =
        codages.mid(codages.lastIndexOf(',') + 1).trimmed().compare("chunked", Qt::CaseInsensitive) == 0;
    return e;
}

std::optional<QByteArrayView> DecodeurChunks::ligne(QByteArrayView corps) {
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

void DecodeurChunks::avance(QByteArrayView corps) {
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

void AssembleurRetour::vide() {
    *this = AssembleurRetour();
}

AssembleurRetour::Etat AssembleurRetour::termine(Etat etat) {
    m_recu.clear();
    m_entetes.reset();
    m_debut = 0;
    m_dejaCherche = 0;
    return etat;
}

AssembleurRetour::Etat AssembleurRetour::ajoute(QByteArrayView donnees) {
    m_recu += donnees;
    while (!m_entetes) {
        // Only what was not searched yet, plus enough to catch a blank line split across arrivals.
        if (m_recu.indexOf("\r\n\r\n", std::max(m_debut, m_dejaCherche - 3)) < 0) {
            m_dejaCherche = m_recu.size();
            break;
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
        m_chunked = entetes.chunked;
        if (m_statut != 200)
            return termine(Etat::ErreurHttp);
    }
    if (m_entetes) {
        const QByteArrayView corps = QByteArrayView(m_recu).sliced(m_debut + m_entetes->longueur);
        QByteArrayView texte = corps;
        if (m_chunked) {
            m_decodeur.avance(corps);
            texte = m_decodeur.donnees();
        }
        // Only what was not searched yet, plus enough to catch a tag split across arrivals.
        const qsizetype longueurBalise = qsizetype(sizeof(baliseFin) - 1);
        const qsizetype fin =
            texte.indexOf(baliseFin, std::max<qsizetype>(0, m_dejaCherche - longueurBalise + 1));
        if (fin >= 0) {
            m_retour = texte.first(fin + longueurBalise).toByteArray();
            return termine(Etat::Complet);
        }
        m_dejaCherche = texte.size();
        // Nothing more can be decoded, so the end tag can never come.
        if (m_chunked && m_decodeur.malforme())
            return termine(Etat::Malforme);
    }
    if (m_recu.size() > tailleMax)
        return termine(Etat::TropGrand);
    return Etat::EnCours;
}

} // namespace Http
