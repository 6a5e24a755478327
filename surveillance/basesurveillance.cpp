#include "basesurveillance.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// Qt SQL binds a null text as NULL; the columns hold an empty text instead.
QString texte(const QString &t)
{
    return t.isNull() ? QStringLiteral("") : t;
}

qint64 secondes(const QDateTime &moment)
{
    return moment.isValid() ? moment.toSecsSinceEpoch() : 0;
}

QDateTime moment(const QVariant &secondes)
{
    const qint64 s = secondes.toLongLong();
    return s > 0 ? QDateTime::fromSecsSinceEpoch(s) : QDateTime();
}

} // namespace

BaseSurveillance::BaseSurveillance(ParametresHistorique parametres) : m_base(std::move(parametres)) {}

QString BaseSurveillance::ouvre()
{
    return m_base.ouvre();
}

QString BaseSurveillance::raison(const QSqlQuery &q) const
{
    return m_base.ouverte() ? m_base.raison(q.lastError()) : QStringLiteral("base non ouverte");
}

QString BaseSurveillance::ajoute(const QString &code, const QString &designation, const QDateTime &maintenant)
{
    QSqlQuery q(m_base.connexion());
    const bool ok = m_base.ouverte() &&
                    q.prepare(QStringLiteral(
                        "INSERT INTO surveillance (code, designation, depuis, verifie) VALUES (?, ?, ?, 0) "
                        "ON CONFLICT (code) DO UPDATE SET designation = CASE WHEN surveillance.designation "
                        "= '' THEN excluded.designation ELSE surveillance.designation END"));
    q.addBindValue(code);
    q.addBindValue(texte(designation));
    q.addBindValue(secondes(maintenant));
    return ok && q.exec() ? QString() : raison(q);
}

QString BaseSurveillance::retire(const QString &code)
{
    QSqlDatabase db = m_base.connexion();
    if (!m_base.ouverte() || !db.transaction())
        return m_base.ouverte() ? m_base.raison(db.lastError()) : QStringLiteral("base non ouverte");
    QSqlQuery q(db);
    bool ok = true;
    for (const char *table : {"surveillance_compte", "surveillance"}) {
        ok = ok && q.prepare(QStringLiteral("DELETE FROM %1 WHERE code = ?").arg(QLatin1String(table)));
        q.addBindValue(code);
        ok = ok && q.exec();
    }
    if (ok && db.commit())
        return {};
    const QString erreur = ok ? m_base.raison(db.lastError()) : raison(q);
    db.rollback();
    return erreur;
}

std::optional<QList<ProduitSurveille>> BaseSurveillance::produits(QString *erreur)
{
    QSqlQuery q(m_base.connexion());
    q.setForwardOnly(true);
    const auto echec = [&] {
        if (erreur)
            *erreur = raison(q);
        return std::nullopt;
    };
    if (!m_base.ouverte() ||
        !q.exec(QStringLiteral("SELECT code, designation, depuis, verifie FROM surveillance ORDER BY code")))
        return echec();
    QList<ProduitSurveille> produits;
    while (q.next())
        produits.append(
            {q.value(0).toString(), q.value(1).toString(), moment(q.value(2)), moment(q.value(3)), {}});
    if (!q.exec(QStringLiteral("SELECT code, compte, etat, verifie, echec, date_prevue, remplacant_code, "
                               "remplacant_designation FROM surveillance_compte")))
        return echec();
    while (q.next()) {
        const QString code = q.value(0).toString();
        const auto it =
            std::lower_bound(produits.begin(), produits.end(), code,
                             [](const ProduitSurveille &p, const QString &c) { return p.code < c; });
        if (it == produits.end() || it->code != code)
            continue;
        it->comptes.insert(qint16(q.value(1).toInt()),
                           {ReponseEnregistree::Etat(q.value(2).toInt()), moment(q.value(3)),
                            q.value(4).toString(), q.value(5).toString(), q.value(6).toString(),
                            q.value(7).toString()});
    }
    return produits;
}

QString BaseSurveillance::enregistre(const QList<MiseAJour> &misesAJour)
{
    QSqlDatabase db = m_base.connexion();
    if (!m_base.ouverte() || !db.transaction())
        return m_base.ouverte() ? m_base.raison(db.lastError()) : QStringLiteral("base non ouverte");
    QSqlQuery etat(db);
    QSqlQuery produit(db);
    bool ok =
        etat.prepare(QStringLiteral(
            "INSERT INTO surveillance_compte (code, compte, etat, verifie, echec, date_prevue, "
            "remplacant_code, "
            "remplacant_designation) VALUES (?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT (code, compte) DO UPDATE "
            "SET "
            "etat = excluded.etat, verifie = excluded.verifie, echec = excluded.echec, date_prevue = "
            "excluded.date_prevue, remplacant_code = excluded.remplacant_code, remplacant_designation = "
            "excluded.remplacant_designation")) &&
        produit.prepare(QStringLiteral("UPDATE surveillance SET verifie = ?, designation = CASE WHEN ? = '' "
                                       "THEN designation ELSE ? END WHERE code = ?"));
    for (qsizetype i = 0; ok && i < misesAJour.size(); ++i) {
        const MiseAJour &m = misesAJour[i];
        etat.addBindValue(m.code);
        etat.addBindValue(int(m.compte));
        etat.addBindValue(int(m.etat.etat));
        etat.addBindValue(secondes(m.etat.verifie));
        for (const QString *t :
             {&m.etat.echec, &m.etat.datePrevue, &m.etat.remplacantCode, &m.etat.remplacantDesignation})
            etat.addBindValue(texte(*t));
        produit.addBindValue(secondes(m.etat.verifie));
        produit.addBindValue(texte(m.designation));
        produit.addBindValue(texte(m.designation));
        produit.addBindValue(m.code);
        ok = etat.exec() && produit.exec();
    }
    if (ok && db.commit())
        return {};
    const QString erreur =
        ok ? m_base.raison(db.lastError()) : raison(etat.lastError().isValid() ? etat : produit);
    db.rollback();
    return erreur;
}

bool BaseSurveillance::prendTour(const QDateTime &maintenant, std::chrono::seconds intervalle, bool force,
                                 QString *erreur)
{
    QSqlQuery q(m_base.connexion());
    // One statement, so that two counters asking at once cannot both get it; a start in the future
    // (a clock set back) does not hold the round.
    const bool ok = m_base.ouverte() &&
                    q.prepare(QStringLiteral("UPDATE surveillance_tour SET debut = ? WHERE id = 1 AND "
                                             "(? = 1 OR debut <= ? OR debut > ?)"));
    const qint64 s = secondes(maintenant);
    q.addBindValue(s);
    q.addBindValue(force ? 1 : 0);
    q.addBindValue(s - qint64(intervalle.count()));
    q.addBindValue(s);
    if (!ok || !q.exec()) {
        if (erreur)
            *erreur = raison(q);
        return false;
    }
    return q.numRowsAffected() == 1;
}

QString BaseSurveillance::pause(qint16 n, const QDateTime &jusqua)
{
    QSqlQuery q(m_base.connexion());
    const bool ok = m_base.ouverte() &&
                    q.prepare(QStringLiteral("INSERT INTO surveillance_pause (compte, jusqua) VALUES (?, ?) "
                                             "ON CONFLICT (compte) DO UPDATE SET jusqua = excluded.jusqua"));
    q.addBindValue(int(n));
    q.addBindValue(secondes(jusqua));
    return ok && q.exec() ? QString() : raison(q);
}

QList<qint16> BaseSurveillance::enPause(const QDateTime &maintenant, QString *erreur)
{
    QSqlQuery q(m_base.connexion());
    q.setForwardOnly(true);
    const bool ok = m_base.ouverte() &&
                    q.prepare(QStringLiteral("SELECT compte FROM surveillance_pause WHERE jusqua > ?"));
    q.addBindValue(secondes(maintenant));
    QList<qint16> comptes;
    if (!ok || !q.exec()) {
        if (erreur)
            *erreur = raison(q);
        return comptes;
    }
    while (q.next())
        comptes.append(qint16(q.value(0).toInt()));
    return comptes;
}
