#include "frmsurveillance.h"

#include "basesurveillance.h"
#include "comptes.h"
#include "surveillance.h"

#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

using Etat = ReponseEnregistree::Etat;

QString date(const QDateTime &moment)
{
    return moment.isValid() ? moment.toString(QStringLiteral("dd/MM/yyyy HH:mm")) : QString();
}

// An account's state in words, and its colour as the list window shows it.
std::pair<QString, QColor> etat(const std::optional<EtatCompte> &e)
{
    if (!e)
        return {QStringLiteral("pas encore vérifié"), Qt::gray};
    switch (e->etatAffiche()) {
    case Etat::Disponible:
        return {QStringLiteral("DISPONIBLE"), QColor(0, 160, 0)};
    case Etat::NonDisponible:
        return {QStringLiteral("NON DISPONIBLE"), Qt::red};
    case Etat::Autre:
        return {QStringLiteral("AUTRE"), QColor(230, 120, 0)};
    case Etat::Absent:
        return {QStringLiteral("sans réponse"), Qt::gray};
    case Etat::FinService:
        return {QStringLiteral("fin de service"), Qt::gray};
    case Etat::Erreur:
    case Etat::Echec:
        break;
    }
    return {QStringLiteral("ERREUR"), Qt::gray};
}

} // namespace

FrmSurveillance::FrmSurveillance(Surveillance &surveillance, QWidget *parent)
    : QWidget(parent, Qt::Window), m_surveillance(surveillance), m_table(new QTableWidget(this)),
      m_etat(new QLabel(this))
{
    setObjectName(QStringLiteral("frmSurveillance"));
    setWindowTitle(QStringLiteral("Solvarin — Surveillance des manquants"));
    setWindowIcon(QIcon(QStringLiteral(":/solvarin/solvarin.ico")));
    m_table->setObjectName(QStringLiteral("table"));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->installEventFilter(this);
    m_etat->setObjectName(QStringLiteral("etat"));
    auto *colonne = new QVBoxLayout(this);
    colonne->addWidget(m_table, 1);
    colonne->addWidget(m_etat);
    connect(&m_surveillance, &Surveillance::listeModifiee, this, &FrmSurveillance::actualise);
    connect(&m_surveillance, &Surveillance::tourTermine, this, &FrmSurveillance::actualise);
    resize(900, 360);
    actualise();
}

void FrmSurveillance::actualise()
{
    const QList<qint16> comptes = Comptes::complets();
    QStringList titres{QStringLiteral("Code"), QStringLiteral("Désignation"), QStringLiteral("Depuis"),
                       QStringLiteral("Dernière vérification")};
    for (const qint16 n : comptes)
        titres << Comptes::nom(n);
    titres << QStringLiteral("Date prévue") << QStringLiteral("Remplaçant");
    m_table->clear();
    m_table->setColumnCount(int(titres.size()));
    m_table->setHorizontalHeaderLabels(titres);

    BaseSurveillance *base = m_surveillance.base();
    QString erreur;
    const auto produits = base ? base->produits(&erreur) : std::nullopt;
    m_table->setRowCount(produits ? int(produits->size()) : 0);
    m_etat->setText(
        !produits
            ? QStringLiteral("Surveillance indisponible : ") + erreur
            : QStringLiteral("%1 produit(s) surveillé(s) — Suppr retire la sélection").arg(produits->size()));
    for (int ligne = 0; produits && ligne < produits->size(); ++ligne) {
        const ProduitSurveille &p = produits->at(ligne);
        int colonne = 0;
        const auto cellule = [&](const QString &texte) {
            auto *item = new QTableWidgetItem(texte);
            m_table->setItem(ligne, colonne++, item);
            return item;
        };
        cellule(p.code)->setData(Qt::UserRole, p.code);
        cellule(p.designation);
        cellule(date(p.depuis));
        cellule(date(p.verifie));
        QStringList dates;
        QStringList remplacants;
        for (const qint16 n : comptes) {
            const auto e = p.comptes.contains(n) ? std::optional(p.comptes.value(n)) : std::nullopt;
            const auto [texte, couleur] = etat(e);
            QTableWidgetItem *item = cellule(texte);
            item->setForeground(couleur);
            if (e && !e->echec.isEmpty())
                item->setToolTip(e->echec);
            if (e && !e->datePrevue.isEmpty())
                dates << Comptes::nom(n) + QStringLiteral(" : ") +
                             QDate::fromString(e->datePrevue, Qt::ISODate)
                                 .toString(QStringLiteral("dd/MM/yyyy"));
            if (e && !e->remplacantCode.isEmpty())
                remplacants << Comptes::nom(n) + QStringLiteral(" : ") +
                                   (e->remplacantCode + u' ' + e->remplacantDesignation).trimmed();
        }
        cellule(dates.join(QStringLiteral(" ; ")));
        cellule(remplacants.join(QStringLiteral(" ; ")));
    }
    m_table->resizeColumnsToContents();
}

bool FrmSurveillance::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        retireSelection();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FrmSurveillance::retireSelection()
{
    QStringList codes;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows())
        codes << index.data(Qt::UserRole).toString();
    if (!codes.isEmpty())
        m_surveillance.retire(codes);
}
