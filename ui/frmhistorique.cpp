#include "frmhistorique.h"

#include "historique.h"
#include "parametreshistorique.h"
#include "remplacefichier.h"
#include "tableauliste.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

using Etat = ReponseEnregistree::Etat;

// At most this many answers are shown, the newest.
constexpr int reponsesAffichees = 5000;

QString date(const QDateTime &moment)
{
    return moment.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

QString texteEtat(Etat etat)
{
    switch (etat) {
    case Etat::Disponible:
        return QStringLiteral("Disponible");
    case Etat::NonDisponible:
        return QStringLiteral("Non disponible");
    case Etat::Autre:
        return QStringLiteral("Autre réponse");
    case Etat::Absent:
        return QStringLiteral("Absent de la réponse");
    case Etat::FinService:
        return QStringLiteral("Fin de service");
    case Etat::Erreur:
    case Etat::Echec:
        break;
    }
    return QStringLiteral("Erreur");
}

// The list window's colours: green available, red not available, orange another answer, grey no answer.
QColor couleurEtat(Etat etat)
{
    switch (etat) {
    case Etat::Disponible:
        return QColor(TableauListe::couleurDisponibilite(Disponibilite::Disponible));
    case Etat::NonDisponible:
        return QColor(TableauListe::couleurDisponibilite(Disponibilite::NonDisponible));
    case Etat::Autre:
        return QColor(TableauListe::couleurDisponibilite(Disponibilite::Autre));
    default:
        return QColor(TableauListe::couleurDisponibilite(std::nullopt));
    }
}

QString source(ReponseEnregistree::Source s)
{
    switch (s) {
    case ReponseEnregistree::Source::Comptoir:
        return QStringLiteral("Comptoir");
    case ReponseEnregistree::Source::Liste:
        return QStringLiteral("Liste");
    case ReponseEnregistree::Source::Surveillance:
        return QStringLiteral("Surveillance");
    case ReponseEnregistree::Source::Console:
        break;
    }
    return QStringLiteral("Ligne de commande");
}

QTableView *tableau(QStandardItemModel *modele, const char *nom, QWidget *parent)
{
    auto *table = new QTableView(parent);
    table->setObjectName(QLatin1String(nom));
    table->setModel(modele);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

QStandardItem *cellule(const QString &texte, const QString &code)
{
    auto *item = new QStandardItem(texte);
    item->setData(code, Qt::UserRole);
    return item;
}

} // namespace

FrmHistorique::FrmHistorique(QWidget *parent)
    : QWidget(parent, Qt::Window), m_onglets(new QTabWidget(this)), m_recherche(new QLineEdit(this)),
      m_periode(new QComboBox(this)), m_etats(new QComboBox(this)), m_reponses(new QStandardItemModel(this)),
      m_ruptures(new QStandardItemModel(this)), m_tableReponses(tableau(m_reponses, "reponses", this)),
      m_tableRuptures(tableau(m_ruptures, "ruptures", this)), m_statut(new QLabel(this))
{
    setObjectName(QStringLiteral("frmHistorique"));
    setWindowTitle(QStringLiteral("Solvarin — Historique"));
    setWindowIcon(QIcon(QStringLiteral(":/solvarin/solvarin.ico")));
    resize(1000, 560);

    m_recherche->setObjectName(QStringLiteral("recherche"));
    m_recherche->setPlaceholderText(QStringLiteral("code ou désignation"));
    m_recherche->setClearButtonEnabled(true);
    m_periode->setObjectName(QStringLiteral("periode"));
    m_periode->addItem(QStringLiteral("Aujourd'hui"), 0);
    m_periode->addItem(QStringLiteral("7 jours"), 7);
    m_periode->addItem(QStringLiteral("30 jours"), 30);
    m_periode->addItem(QStringLiteral("Tout"), -1);
    m_periode->setCurrentIndex(1);
    m_etats->setObjectName(QStringLiteral("etats"));
    m_etats->addItem(QStringLiteral("Tous les états"), QVariantList());
    for (const QList<Etat> &etats : QList<QList<Etat>>{{Etat::Disponible},
                                                       {Etat::NonDisponible},
                                                       {Etat::Autre},
                                                       {Etat::Absent},
                                                       {Etat::Erreur, Etat::FinService, Etat::Echec}}) {
        QVariantList valeurs;
        for (const Etat e : etats)
            valeurs << int(e);
        m_etats->addItem(etats.size() > 1 ? QStringLiteral("Erreur") : texteEtat(etats.first()), valeurs);
    }
    m_reponses->setHorizontalHeaderLabels(
        {QStringLiteral("Date"), QStringLiteral("Origine"), QStringLiteral("Répartiteur"),
         QStringLiteral("Code"), QStringLiteral("Désignation"), QStringLiteral("État"),
         QStringLiteral("Motif"), QStringLiteral("Prix"), QStringLiteral("Date prévue"),
         QStringLiteral("Remplaçant"), QStringLiteral("Commentaire")});
    m_ruptures->setHorizontalHeaderLabels(
        {QStringLiteral("Code"), QStringLiteral("Désignation"), QStringLiteral("Manquant depuis"),
         QStringLiteral("Dernière réponse"), QStringLiteral("Répartiteurs"),
         QStringLiteral("Derniers motifs"), QStringLiteral("Dates prévues")});

    auto *libelle = new QLabel(QStringLiteral("&Rechercher :"), this);
    libelle->setBuddy(m_recherche);
    auto *filtres = new QHBoxLayout;
    filtres->addWidget(libelle);
    filtres->addWidget(m_recherche, 1);
    filtres->addWidget(m_periode);
    filtres->addWidget(m_etats);
    auto *pageReponses = new QWidget(this);
    auto *colonneReponses = new QVBoxLayout(pageReponses);
    colonneReponses->addLayout(filtres);
    colonneReponses->addWidget(m_tableReponses, 1);

    const auto parametres = ParametresHistorique::lis();
    auto *regle = new QLabel(
        QStringLiteral("Produits qu'aucun répartiteur n'a eus disponibles pendant au moins %1 heures, "
                       "demandés à deux répartiteurs quand deux comptes sont configurés.")
            .arg(parametres ? parametres->heuresRupture : ParametresHistorique().heuresRupture),
        this);
    regle->setWordWrap(true);
    auto *pageRuptures = new QWidget(this);
    auto *colonneRuptures = new QVBoxLayout(pageRuptures);
    colonneRuptures->addWidget(regle);
    colonneRuptures->addWidget(m_tableRuptures, 1);

    m_onglets->addTab(pageReponses, QStringLiteral("Réponses"));
    m_onglets->addTab(pageRuptures, QStringLiteral("Ruptures"));
    auto *exporter = new QPushButton(QStringLiteral("&Exporter…"), this);
    exporter->setToolTip(QStringLiteral("Ctrl+S"));
    m_statut->setObjectName(QStringLiteral("statut"));
    auto *bas = new QHBoxLayout;
    bas->addWidget(m_statut, 1);
    bas->addWidget(exporter);
    auto *colonne = new QVBoxLayout(this);
    colonne->addWidget(m_onglets, 1);
    colonne->addLayout(bas);

    m_saisie.setSingleShot(true);
    m_saisie.setInterval(250);
    connect(&m_saisie, &QTimer::timeout, this, &FrmHistorique::actualise);
    connect(m_recherche, &QLineEdit::textChanged, &m_saisie, qOverload<>(&QTimer::start));
    connect(m_periode, &QComboBox::currentIndexChanged, this, &FrmHistorique::actualise);
    connect(m_etats, &QComboBox::currentIndexChanged, this, &FrmHistorique::actualise);
    connect(m_onglets, &QTabWidget::currentChanged, this, &FrmHistorique::actualise);
    connect(exporter, &QPushButton::clicked, this, &FrmHistorique::demandeExport);
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, this,
            &FrmHistorique::demandeExport);
    connect(m_tableReponses, &QTableView::doubleClicked, this, &FrmHistorique::choisit);
    connect(m_tableRuptures, &QTableView::doubleClicked, this, &FrmHistorique::choisit);
    if (Historique *h = Historique::actif()) {
        connect(h, &Historique::trouvees, this, &FrmHistorique::afficheReponses);
        connect(h, &Historique::rupturesTrouvees, this, &FrmHistorique::afficheRuptures);
        connect(h, &Historique::echec, this, &FrmHistorique::afficheEchec);
        connect(h, &Historique::ajoutees, this, [this] {
            if (isVisible())
                actualise();
        });
    } else {
        m_statut->setText(QStringLiteral("Historique indisponible"));
    }
    m_recherche->setFocus();
}

void FrmHistorique::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    actualise();
}

void FrmHistorique::actualise()
{
    m_saisie.stop();
    Historique *h = Historique::actif();
    if (!h)
        return;
    if (m_onglets->currentIndex() == 1) {
        m_rechercheRuptures = h->chercheRuptures();
        return;
    }
    BaseHistorique::Filtre filtre;
    filtre.texte = m_recherche->text();
    const int jours = m_periode->currentData().toInt();
    if (jours >= 0)
        filtre.depuis = QDateTime(QDate::currentDate().addDays(-jours), QTime(0, 0));
    for (const QVariant &e : m_etats->currentData().toList())
        filtre.etats << Etat(e.toInt());
    filtre.limite = reponsesAffichees;
    m_rechercheReponses = h->cherche(filtre);
}

void FrmHistorique::afficheReponses(int recherche, const QList<ReponseEnregistree> &reponses)
{
    if (recherche != m_rechercheReponses)
        return;
    m_reponses->removeRows(0, m_reponses->rowCount());
    for (const ReponseEnregistree &r : reponses) {
        const QString &code = r.codeDemande;
        QString remplacant = r.remplacantCode;
        if (!remplacant.isEmpty())
            remplacant =
                QStringList{r.remplacantType, r.remplacantCode, r.remplacantDesignation}.join(u' ').trimmed();
        QString prevue = r.datePrevue;
        if (!prevue.isEmpty())
            prevue = QDate::fromString(prevue, Qt::ISODate).toString(QStringLiteral("dd/MM/yyyy"));
        QList<QStandardItem *> rangee{
            cellule(date(r.horodatage), code),
            cellule(source(r.source), code),
            cellule(QStringLiteral("%1 — %2").arg(r.compte).arg(r.repartiteur), code),
            cellule(code, code),
            cellule(r.designation, code),
            cellule(texteEtat(r.etat), code),
            cellule(r.motif, code),
            cellule(QString(r.prix).replace(u';', QStringLiteral(" ; ")), code),
            cellule(prevue, code),
            cellule(remplacant, code),
            cellule(r.commentaire, code)};
        rangee[5]->setBackground(couleurEtat(r.etat));
        m_reponses->appendRow(rangee);
    }
    m_tableReponses->resizeColumnsToContents();
    m_statut->setText(reponses.size() >= reponsesAffichees
                          ? QStringLiteral("Les %1 réponses les plus récentes").arg(reponses.size())
                          : QStringLiteral("%1 réponse(s)").arg(reponses.size()));
}

void FrmHistorique::afficheRuptures(int recherche, const QList<Rupture> &ruptures)
{
    if (recherche != m_rechercheRuptures)
        return;
    m_ruptures->removeRows(0, m_ruptures->rowCount());
    for (const Rupture &r : ruptures) {
        QStringList comptes;
        for (const qint16 c : r.comptes)
            comptes << QString::number(c);
        QStringList dates;
        for (const QString &d : r.datesPrevues) {
            if (!d.isEmpty())
                dates << QDate::fromString(d, Qt::ISODate).toString(QStringLiteral("dd/MM/yyyy"));
        }
        m_ruptures->appendRow({cellule(r.code, r.code), cellule(r.designation, r.code),
                               cellule(date(r.depuis), r.code), cellule(date(r.derniere), r.code),
                               cellule(comptes.join(QStringLiteral(", ")), r.code),
                               cellule(r.motifs.join(QStringLiteral(" ; ")), r.code),
                               cellule(dates.join(QStringLiteral(" ; ")), r.code)});
    }
    m_tableRuptures->resizeColumnsToContents();
    m_statut->setText(QStringLiteral("%1 produit(s) en rupture").arg(ruptures.size()));
}

void FrmHistorique::afficheEchec(int recherche, const QString &message)
{
    if (recherche == m_rechercheReponses || recherche == m_rechercheRuptures)
        m_statut->setText(message);
}

void FrmHistorique::choisit(const QModelIndex &index)
{
    const QString code = index.data(Qt::UserRole).toString();
    if (!code.isEmpty())
        emit codeChoisi(code);
}

bool FrmHistorique::exporte(const QString &chemin)
{
    const QStandardItemModel *modele = m_onglets->currentIndex() == 1 ? m_ruptures : m_reponses;
    QList<QStringList> rangees{{}};
    for (int c = 0; c < modele->columnCount(); ++c)
        rangees.first() << modele->headerData(c, Qt::Horizontal).toString();
    for (int r = 0; r < modele->rowCount(); ++r) {
        QStringList rangee;
        for (int c = 0; c < modele->columnCount(); ++c)
            rangee << modele->item(r, c)->text();
        rangees << rangee;
    }
    return remplaceFichier(chemin, TableauListe::csvDeRangees(rangees)) == QFileDevice::NoError;
}

void FrmHistorique::demandeExport()
{
    const QString nom =
        m_onglets->currentIndex() == 1 ? QStringLiteral("ruptures.csv") : QStringLiteral("historique.csv");
    const QString chemin =
        QFileDialog::getSaveFileName(this, QStringLiteral("Exporter"), nom, QStringLiteral("CSV (*.csv)"));
    if (chemin.isEmpty())
        return;
    m_statut->setText(exporte(chemin)
                          ? QStringLiteral("Exporté dans ") + QDir::toNativeSeparators(chemin)
                          : QStringLiteral("Impossible d'écrire ") + QDir::toNativeSeparators(chemin));
}
