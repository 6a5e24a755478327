#include "basehistorique.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <map>

namespace {

using Etat = ReponseEnregistree::Etat;

// The columns of an answer, in the order the insert binds them and the searches read them.
const QString colonnes = QStringLiteral(
    "horodatage, source, compte, repartiteur, id_repartiteur, code_demande, code_repondu, designation, etat, "
    "code_reponse, motif, prix, date_prevue, heure_prevue, quantite_prevue, remplacant_code, "
    "remplacant_designation, remplacant_type, commentaire, ref_message");

// Each version's statements; `%1` is the engine's auto-numbered key.
const QList<QStringList> &migrations()
{
    static const QList<QStringList> etapes{
        {QStringLiteral("CREATE TABLE reponse (id %1, horodatage BIGINT NOT NULL, source SMALLINT NOT NULL, "
                        "compte SMALLINT NOT NULL, repartiteur TEXT NOT NULL, id_repartiteur TEXT NOT NULL, "
                        "code_demande TEXT NOT NULL, code_repondu TEXT NOT NULL, designation TEXT NOT NULL, "
                        "etat SMALLINT NOT NULL, code_reponse TEXT NOT NULL, motif TEXT NOT NULL, "
                        "prix TEXT NOT NULL, date_prevue TEXT NOT NULL, heure_prevue TEXT NOT NULL, "
                        "quantite_prevue TEXT NOT NULL, remplacant_code TEXT NOT NULL, "
                        "remplacant_designation TEXT NOT NULL, remplacant_type TEXT NOT NULL, "
                        "commentaire TEXT NOT NULL, ref_message TEXT NOT NULL)"),
         // The code's answers by state and time serve the searches and the shortage record.
         QStringLiteral("CREATE INDEX reponse_code ON reponse (code_demande, etat, horodatage)"),
         QStringLiteral("CREATE INDEX reponse_horodatage ON reponse (horodatage)")},
        // Each product's last "available" answer (-1: none yet), so that the shortage record reads
        // only the answers that came after it.
        {QStringLiteral("CREATE TABLE produit (code TEXT PRIMARY KEY, dernier_disponible BIGINT NOT NULL)"),
         QStringLiteral(
             "INSERT INTO produit (code, dernier_disponible) SELECT code_demande, "
             "MAX(CASE WHEN etat = 0 THEN horodatage ELSE -1 END) FROM reponse GROUP BY code_demande")},
        // The watch: its products, each account's last answer, the round taken by one counter for the
        // whole pharmacy, and the accounts paused by an end of service. A step that can run again over
        // its own tables, as it does when an older version's number was put back.
        {QStringLiteral(
             "CREATE TABLE IF NOT EXISTS surveillance (code TEXT PRIMARY KEY, designation TEXT NOT NULL, "
             "depuis BIGINT NOT NULL, verifie BIGINT NOT NULL)"),
         QStringLiteral(
             "CREATE TABLE IF NOT EXISTS surveillance_compte (code TEXT NOT NULL, compte SMALLINT NOT NULL, "
             "etat SMALLINT NOT NULL, verifie BIGINT NOT NULL, echec TEXT NOT NULL, "
             "date_prevue TEXT NOT NULL, remplacant_code TEXT NOT NULL, "
             "remplacant_designation TEXT NOT NULL, PRIMARY KEY (code, compte))"),
         QStringLiteral(
             "CREATE TABLE IF NOT EXISTS surveillance_tour (id INTEGER PRIMARY KEY, debut BIGINT NOT NULL)"),
         QStringLiteral("INSERT INTO surveillance_tour (id, debut) SELECT 1, 0 WHERE NOT EXISTS "
                        "(SELECT id FROM surveillance_tour)"),
         QStringLiteral("CREATE TABLE IF NOT EXISTS surveillance_pause (compte SMALLINT PRIMARY KEY, jusqua "
                        "BIGINT NOT NULL)")},
    };
    return etapes;
}

QAtomicInt compteurConnexions;

// Qt SQL binds a null text as NULL; the columns hold an empty text instead.
QString nonNul(const QString &texte)
{
    return texte.isNull() ? QStringLiteral("") : texte;
}

ReponseEnregistree lue(const QSqlQuery &q)
{
    ReponseEnregistree r;
    r.horodatage = QDateTime::fromSecsSinceEpoch(q.value(0).toLongLong());
    r.source = ReponseEnregistree::Source(q.value(1).toInt());
    r.compte = qint16(q.value(2).toInt());
    r.repartiteur = q.value(3).toString();
    r.idRepartiteur = q.value(4).toString();
    r.codeDemande = q.value(5).toString();
    r.codeRepondu = q.value(6).toString();
    r.designation = q.value(7).toString();
    r.etat = Etat(q.value(8).toInt());
    r.codeReponse = q.value(9).toString();
    r.motif = q.value(10).toString();
    r.prix = q.value(11).toString();
    r.datePrevue = q.value(12).toString();
    r.heurePrevue = q.value(13).toString();
    r.quantitePrevue = q.value(14).toString();
    r.remplacantCode = q.value(15).toString();
    r.remplacantDesignation = q.value(16).toString();
    r.remplacantType = q.value(17).toString();
    r.commentaire = q.value(18).toString();
    r.refMessage = q.value(19).toString();
    return r;
}

} // namespace

BaseHistorique::BaseHistorique(ParametresHistorique parametres)
    : m_parametres(std::move(parametres)),
      m_connexion(QStringLiteral("historique-%1").arg(compteurConnexions.fetchAndAddRelaxed(1)))
{}

BaseHistorique::~BaseHistorique()
{
    if (QSqlDatabase::contains(m_connexion)) {
        QSqlDatabase::database(m_connexion, false).close();
        QSqlDatabase::removeDatabase(m_connexion);
    }
}

QSqlDatabase BaseHistorique::connexion() const
{
    return QSqlDatabase::database(m_connexion, false);
}

QString BaseHistorique::raison(const QSqlError &erreur) const
{
    QString texte = erreur.text().trimmed();
    if (!m_parametres.motDePasse.isEmpty())
        texte.replace(m_parametres.motDePasse, QStringLiteral("***"));
    return texte.isEmpty() ? QStringLiteral("erreur inconnue") : texte;
}

QString BaseHistorique::ouvre()
{
    m_misDeCote.clear();
    QString erreur = ouvreConnexion();
    if (erreur.isEmpty() && m_parametres.moteur == ParametresHistorique::Moteur::SQLite)
        erreur = miseDeCoteSiEndommagee();
    if (erreur.isEmpty())
        erreur = prepareSchema();
    m_ouverte = erreur.isEmpty();
    return erreur;
}

QString BaseHistorique::ouvreConnexion()
{
    if (QSqlDatabase::contains(m_connexion)) {
        QSqlDatabase::database(m_connexion, false).close();
        QSqlDatabase::removeDatabase(m_connexion);
    }
    const bool sqlite = m_parametres.moteur == ParametresHistorique::Moteur::SQLite;
    QSqlDatabase db =
        QSqlDatabase::addDatabase(sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL"), m_connexion);
    if (!db.isValid())
        return QStringLiteral("pilote %1 absent").arg(db.driverName());
    if (sqlite) {
        // The history is the pharmacy's business alone: a new file is its owner's only.
        QFile fichier(m_parametres.fichier);
        if (!fichier.exists() && fichier.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            fichier.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        db.setDatabaseName(m_parametres.fichier);
        // Another program holding the file gets a moment before a write gives up.
        db.setConnectOptions(
            QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_parametres.attenteVerrou.count()));
    } else {
        db.setHostName(m_parametres.hote);
        db.setPort(m_parametres.port);
        db.setDatabaseName(m_parametres.base);
        db.setUserName(m_parametres.utilisateur);
        db.setPassword(m_parametres.motDePasse);
        db.setConnectOptions(QStringLiteral("connect_timeout=5"));
    }
    if (!db.open())
        return raison(db.lastError());
    if (sqlite) {
        // Concurrent readers and quick commits; a file that cannot be written keeps its journal mode.
        QSqlQuery q(db);
        q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    }
    return {};
}

int BaseHistorique::version()
{
    QSqlQuery q(QSqlDatabase::database(m_connexion, false));
    if (!q.exec(QStringLiteral("SELECT version FROM version_schema")) || !q.next())
        return 0;
    return q.value(0).toInt();
}

QString BaseHistorique::prepareSchema()
{
    QSqlDatabase db = QSqlDatabase::database(m_connexion, false);
    const bool sqlite = m_parametres.moteur == ParametresHistorique::Moteur::SQLite;
    int courante = db.tables().contains(QStringLiteral("version_schema")) ? version() : 0;
    if (courante > versionSchema)
        return QStringLiteral("base d'une version plus récente de Solvarin (schéma %1)").arg(courante);
    const QString cle =
        sqlite ? QStringLiteral("INTEGER PRIMARY KEY") : QStringLiteral("BIGSERIAL PRIMARY KEY");
    while (courante < versionSchema) {
        if (!db.transaction())
            return raison(db.lastError());
        QSqlQuery q(db);
        bool ok = true;
        if (courante == 0)
            ok = q.exec(QStringLiteral("CREATE TABLE version_schema (version INTEGER NOT NULL)")) &&
                 q.exec(QStringLiteral("INSERT INTO version_schema (version) VALUES (0)"));
        for (const QString &instruction : migrations()[courante]) {
            if (ok)
                ok = q.exec(instruction.contains(QLatin1String("%1")) ? instruction.arg(cle) : instruction);
        }
        if (ok) {
            q.prepare(QStringLiteral("UPDATE version_schema SET version = ?"));
            q.addBindValue(courante + 1);
            ok = q.exec();
        }
        if (!ok || !db.commit()) {
            const QString texte = raison(ok ? db.lastError() : q.lastError());
            db.rollback();
            return texte;
        }
        ++courante;
    }
    return {};
}

QString BaseHistorique::miseDeCoteSiEndommagee()
{
    QString texte;
    QString code;
    {
        // Reading the catalogue is what tells a damaged file or one that is no database.
        QSqlQuery q(QSqlDatabase::database(m_connexion, false));
        if (q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
            return {};
        texte = raison(q.lastError());
        code = q.lastError().nativeErrorCode();
    }
    // SQLITE_CORRUPT (11) and SQLITE_NOTADB (26): the file cannot be used as it is.
    if (code != QLatin1String("11") && code != QLatin1String("26"))
        return texte;
    QSqlDatabase::database(m_connexion, false).close();
    QSqlDatabase::removeDatabase(m_connexion);
    const QString aCote = m_parametres.fichier + QStringLiteral(".corrompu-") +
                          QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!QFile::rename(m_parametres.fichier, aCote))
        return texte;
    for (const char *suffixe : {"-wal", "-shm"})
        QFile::remove(m_parametres.fichier + QLatin1String(suffixe));
    m_misDeCote = aCote;
    return ouvreConnexion();
}

QString BaseHistorique::enregistre(const QList<ReponseEnregistree> &reponses)
{
    if (!m_ouverte)
        return QStringLiteral("base non ouverte");
    QSqlDatabase db = QSqlDatabase::database(m_connexion, false);
    if (!db.transaction())
        return raison(db.lastError());
    QSqlQuery q(db);
    QSqlQuery produit(db);
    bool ok =
        q.prepare(QStringLiteral("INSERT INTO reponse (") + colonnes +
                  QStringLiteral(") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")) &&
        produit.prepare(QStringLiteral(
            "INSERT INTO produit (code, dernier_disponible) VALUES (?, ?) ON CONFLICT (code) DO UPDATE SET "
            "dernier_disponible = CASE WHEN excluded.dernier_disponible > produit.dernier_disponible "
            "THEN excluded.dernier_disponible ELSE produit.dernier_disponible END"));
    for (qsizetype i = 0; ok && i < reponses.size(); ++i) {
        const ReponseEnregistree &r = reponses[i];
        produit.addBindValue(nonNul(r.codeDemande));
        produit.addBindValue(r.etat == Etat::Disponible ? r.horodatage.toSecsSinceEpoch() : qint64(-1));
        if (!produit.exec())
            break;
        const QString *textes[] = {&r.repartiteur, &r.idRepartiteur, &r.codeDemande, &r.codeRepondu,
                                   &r.designation};
        q.addBindValue(r.horodatage.toSecsSinceEpoch());
        q.addBindValue(int(r.source));
        q.addBindValue(int(r.compte));
        for (const QString *t : textes)
            q.addBindValue(nonNul(*t));
        q.addBindValue(int(r.etat));
        for (const QString *t :
             {&r.codeReponse, &r.motif, &r.prix, &r.datePrevue, &r.heurePrevue, &r.quantitePrevue,
              &r.remplacantCode, &r.remplacantDesignation, &r.remplacantType, &r.commentaire, &r.refMessage})
            q.addBindValue(nonNul(*t));
        ok = q.exec();
    }
    if (ok && produit.lastError().type() == QSqlError::NoError && db.commit())
        return {};
    const QString texte = raison(!ok                                                ? q.lastError()
                                 : produit.lastError().type() != QSqlError::NoError ? produit.lastError()
                                                                                    : db.lastError());
    db.rollback();
    return texte;
}

std::optional<QList<ReponseEnregistree>> BaseHistorique::cherche(const Filtre &filtre, QString *erreur)
{
    QStringList conditions;
    QVariantList valeurs;
    if (!filtre.code.isEmpty()) {
        conditions << QStringLiteral("code_demande = ?");
        valeurs << filtre.code;
    }
    const QString texte = filtre.texte.trimmed();
    const bool chiffres =
        !texte.isEmpty() && std::all_of(texte.begin(), texte.end(), [](QChar c) { return c.isDigit(); });
    if (chiffres) {
        // A range rather than LIKE, so that the index serves it on both engines.
        conditions << QStringLiteral("code_demande >= ? AND code_demande < ?");
        valeurs << texte << texte + QChar(u'9' + 1);
    } else if (!texte.isEmpty()) {
        QString motif = texte;
        motif.replace(u'!', QStringLiteral("!!"))
            .replace(u'%', QStringLiteral("!%"))
            .replace(u'_', QStringLiteral("!_"));
        conditions << QStringLiteral("LOWER(designation) LIKE LOWER(?) ESCAPE '!'");
        valeurs << u'%' + motif + u'%';
    }
    if (filtre.depuis.isValid()) {
        conditions << QStringLiteral("horodatage >= ?");
        valeurs << filtre.depuis.toSecsSinceEpoch();
    }
    if (!filtre.etats.isEmpty()) {
        QStringList marques;
        for (const Etat e : filtre.etats) {
            marques << QStringLiteral("?");
            valeurs << int(e);
        }
        conditions << QStringLiteral("etat IN (") + marques.join(u',') + u')';
    }
    QSqlQuery q(QSqlDatabase::database(m_connexion, false));
    q.setForwardOnly(true);
    const QString requete =
        QStringLiteral("SELECT ") + colonnes + QStringLiteral(" FROM reponse") +
        (conditions.isEmpty() ? QString()
                              : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "))) +
        QStringLiteral(" ORDER BY horodatage DESC, id DESC LIMIT ?");
    valeurs << filtre.limite;
    bool ok = m_ouverte && q.prepare(requete);
    for (const QVariant &v : std::as_const(valeurs))
        q.addBindValue(v);
    if (!ok || !q.exec()) {
        if (erreur)
            *erreur = m_ouverte ? raison(q.lastError()) : QStringLiteral("base non ouverte");
        return std::nullopt;
    }
    QList<ReponseEnregistree> reponses;
    while (q.next())
        reponses.append(lue(q));
    return reponses;
}

std::optional<QList<Rupture>> BaseHistorique::ruptures(int heures, int comptesExiges, QString *erreur)
{
    const auto echec = [&](const QSqlQuery &q) {
        if (erreur)
            *erreur = m_ouverte ? raison(q.lastError()) : QStringLiteral("base non ouverte");
        return std::nullopt;
    };
    QSqlDatabase db = QSqlDatabase::database(m_connexion, false);
    // The missing answers after each code's last "available" one, found through the index from it; the
    // details are read only for the codes that qualify.
    const QString manquantes =
        QStringLiteral("FROM produit p JOIN reponse r ON r.code_demande = p.code AND r.etat IN (%1, %2) "
                       "AND r.horodatage > p.dernier_disponible")
            .arg(int(Etat::NonDisponible))
            .arg(int(Etat::Autre));
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!m_ouverte ||
        !q.prepare(QStringLiteral("SELECT p.code, MIN(r.horodatage), MAX(r.horodatage) ") + manquantes +
                   QStringLiteral(" GROUP BY p.code HAVING MAX(r.horodatage) - "
                                  "MIN(r.horodatage) >= ? AND COUNT(DISTINCT r.compte) >= ? "
                                  "ORDER BY MIN(r.horodatage), p.code")))
        return echec(q);
    q.addBindValue(qint64(heures) * 3600);
    q.addBindValue(comptesExiges);
    if (!q.exec())
        return echec(q);
    QList<Rupture> liste;
    while (q.next()) {
        Rupture r;
        r.code = q.value(0).toString();
        r.depuis = QDateTime::fromSecsSinceEpoch(q.value(1).toLongLong());
        r.derniere = QDateTime::fromSecsSinceEpoch(q.value(2).toLongLong());
        liste.append(r);
    }
    QSqlQuery details(db);
    details.setForwardOnly(true);
    if (!details.prepare(QStringLiteral("SELECT compte, motif, date_prevue, designation FROM reponse "
                                        "WHERE code_demande = ? AND etat IN (?, ?) AND horodatage >= ? "
                                        "ORDER BY horodatage, id")))
        return echec(details);
    for (Rupture &r : liste) {
        details.addBindValue(r.code);
        details.addBindValue(int(Etat::NonDisponible));
        details.addBindValue(int(Etat::Autre));
        details.addBindValue(r.depuis.toSecsSinceEpoch());
        if (!details.exec())
            return echec(details);
        std::map<qint16, std::pair<QString, QString>> parCompte; // the last reason and date, by account
        while (details.next()) {
            parCompte[qint16(details.value(0).toInt())] = {details.value(1).toString(),
                                                           details.value(2).toString()};
            if (!details.value(3).toString().isEmpty())
                r.designation = details.value(3).toString();
        }
        for (const auto &[compte, derniers] : parCompte) {
            r.comptes << compte;
            r.motifs << derniers.first;
            r.datesPrevues << derniers.second;
        }
    }
    return liste;
}

QString BaseHistorique::purge(int jours)
{
    if (!m_ouverte)
        return QStringLiteral("base non ouverte");
    QSqlQuery q(QSqlDatabase::database(m_connexion, false));
    q.prepare(QStringLiteral("DELETE FROM reponse WHERE horodatage < ?"));
    q.addBindValue(QDateTime::currentDateTime().addDays(-jours).toSecsSinceEpoch());
    return q.exec() ? QString() : raison(q.lastError());
}
