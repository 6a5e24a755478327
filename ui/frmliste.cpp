#include "frmliste.h"

#include "application.h"
#include "comptes.h"
#include "fichierini.h"
#include "fichierliste.h"
#include "historique.h"
#include "lectureliste.h"
#include "manquants.h"
#include "modeleliste.h"
#include "remplacefichier.h"
#include "tableauliste.h"
#include "verificationliste.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString section = QStringLiteral("Liste");
const QStringList clesPlace{QStringLiteral("Gauche"), QStringLiteral("Haut"), QStringLiteral("Largeur"),
                            QStringLiteral("Hauteur")};

QPushButton *bouton(const QString &texte, const QString &infobulle, QWidget *parent)
{
    auto *b = new QPushButton(texte, parent);
    b->setToolTip(infobulle);
    b->setAutoDefault(false);
    return b;
}

} // namespace

FrmListe::FrmListe(QWidget *parent, std::chrono::milliseconds delai)
    : QWidget(parent, Qt::Window), m_modele(new ModeleListe(this)),
      m_verification(new VerificationListe(this)), m_code(new QLineEdit(this)), m_table(new QTableView(this)),
      m_progression(new QProgressBar(this)), m_etat(new QLabel(this))
{
    setObjectName(QStringLiteral("frmListe"));
    setWindowTitle(QStringLiteral("Solvarin — Vérifier une liste"));
    setWindowIcon(QIcon(QStringLiteral(":/solvarin/solvarin.ico")));
    m_verification->setDelaiAttente(delai);

    auto *libelle = new QLabel(QStringLiteral("&Code CIP :"), this);
    libelle->setBuddy(m_code);
    m_code->setObjectName(QStringLiteral("code"));
    m_code->setPlaceholderText(QStringLiteral("tapez ou scannez un code, puis Entrée"));
    m_code->installEventFilter(this);
    auto *verifier = bouton(QStringLiteral("&Vérifier"), QStringLiteral("Ctrl+Entrée"), this);
    verifier->setObjectName(QStringLiteral("verifier"));
    auto *ouvrir = bouton(QStringLiteral("&Ouvrir…"), QStringLiteral("Ctrl+O"), this);
    auto *exporter = bouton(QStringLiteral("&Exporter…"), QStringLiteral("Ctrl+S"), this);
    auto *vider = bouton(QStringLiteral("Vi&der"), QStringLiteral("Retire toutes les lignes"), this);
    auto *historique = bouton(QStringLiteral("&Historique…"), QStringLiteral("F6"), this);
    auto *surveiller = bouton(QStringLiteral("S&urveiller les manquants"),
                              QStringLiteral("Prévenir quand un répartiteur aura les produits qu'aucun n'a"), this);
    surveiller->setObjectName(QStringLiteral("surveiller"));

    m_table->setObjectName(QStringLiteral("table"));
    m_table->setModel(m_modele);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    connect(m_modele, &QAbstractItemModel::modelReset, this, &FrmListe::dimensionneColonnes);
    m_table->installEventFilter(this);
    m_progression->setObjectName(QStringLiteral("progression"));
    m_progression->setFormat(QStringLiteral("%v / %m réponses"));
    m_progression->setRange(0, 1);
    m_progression->setValue(0);
    m_etat->setObjectName(QStringLiteral("etat"));

    auto *haut = new QHBoxLayout;
    haut->addWidget(libelle);
    haut->addWidget(m_code, 1);
    for (QPushButton *b : {verifier, ouvrir, exporter, vider, historique})
        haut->addWidget(b);
    auto *bas = new QHBoxLayout;
    bas->addWidget(m_progression, 1);
    bas->addWidget(m_etat, 2);
    bas->addWidget(surveiller);
    auto *colonne = new QVBoxLayout(this);
    colonne->addLayout(haut);
    colonne->addWidget(m_table, 1);
    colonne->addLayout(bas);

    connect(m_code, &QLineEdit::returnPressed, this, [this] {
        ajoute(m_code->text());
        m_code->clear();
    });
    connect(verifier, &QPushButton::clicked, this, &FrmListe::verifie);
    connect(ouvrir, &QPushButton::clicked, this, &FrmListe::ouvre);
    connect(exporter, &QPushButton::clicked, this, &FrmListe::demandeExport);
    connect(vider, &QPushButton::clicked, this, &FrmListe::vide);
    connect(historique, &QPushButton::clicked, this, &FrmListe::historiqueDemande);
    connect(surveiller, &QPushButton::clicked, this,
            [this] { emit this->surveiller(Manquants::codes(m_modele->lignes(), m_modele->comptes())); });
    auto *surveillerSelection = new QAction(QStringLiteral("Surveiller ce produit"), m_table);
    m_table->addAction(surveillerSelection);
    connect(surveillerSelection, &QAction::triggered, this, [this] { emit this->surveiller(codesSelectionnes()); });
    const auto raccourci = [this](const QKeySequence &touches, void (FrmListe::*action)()) {
        connect(new QShortcut(touches, this), &QShortcut::activated, this, action);
    };
    raccourci(QKeySequence(Qt::CTRL | Qt::Key_Return), &FrmListe::verifie);
    raccourci(QKeySequence(Qt::CTRL | Qt::Key_Enter), &FrmListe::verifie);
    raccourci(QKeySequence::Paste, &FrmListe::colle);
    raccourci(QKeySequence::Open, &FrmListe::ouvre);
    raccourci(QKeySequence::Save, &FrmListe::demandeExport);
    raccourci(QKeySequence(Qt::Key_Escape), &FrmListe::annule);
    raccourci(QKeySequence(Qt::CTRL | Qt::Key_R), &FrmListe::ajouteRemplacants);
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_table, &QWidget::customContextMenuRequested, this, &FrmListe::menuContextuel);
    raccourci(QKeySequence(Qt::Key_F6), &FrmListe::historiqueDemande);

    connect(m_verification, &VerificationListe::reponses, this, [this](int k, const QStringList &codes) {
        m_modele->setCompte(k, m_verification->comptes()[k], codes);
        Historique::enregistreListe(ReponseEnregistree::Source::Liste, m_verification->comptes()[k], codes);
        afficheEtat();
    });
    connect(m_verification, &VerificationListe::terminee, this, &FrmListe::afficheEtat);

    QList<ReponsesCompte> colonnes;
    for (const qint16 n : Comptes::complets())
        colonnes.append({n, Comptes::nom(n), {}, false, {}});
    m_modele->setComptes(colonnes);
    dimensionneColonnes();
    QString raison;
    const QList<LigneListe> derniere = LectureListe::chargeListe(&raison);
    if (!raison.isEmpty())
        montreErreurFichier(QStringLiteral("Lecture Error"),
                            QStringLiteral("La liste n'a pas pu être lue dans Liste.txt : ") + raison);
    m_modele->setLignes(derniere);
    afficheEtat();
    replace();
    m_code->setFocus();
}

FrmListe::~FrmListe()
{
    // The program may end with this window open: its place is kept all the same.
    if (isVisible())
        memorisePlace();
}

void FrmListe::ajoute(const QString &texte)
{
    QList<LigneListe> lignes = m_modele->lignes();
    LectureListe::ajoute(lignes, LectureListe::lis(texte));
    changeListe(lignes);
}

void FrmListe::colle()
{
    ajoute(QGuiApplication::clipboard()->text());
}

void FrmListe::ouvre()
{
    const QString chemin =
        QFileDialog::getOpenFileName(this, QStringLiteral("Ouvrir une liste"), QString(),
                                     QStringLiteral("Listes (*.txt *.csv);;Tous les fichiers (*)"));
    if (chemin.isEmpty())
        return;
    const FichierListe fichier = lisFichierListe(chemin);
    if (!fichier.raison.isEmpty()) {
        m_etat->setText(QStringLiteral("Impossible de lire ") + QDir::toNativeSeparators(chemin) +
                        QStringLiteral(" : ") + fichier.raison);
        return;
    }
    QList<LigneListe> lignes;
    LectureListe::ajoute(lignes, LectureListe::lis(LectureListe::texteDesOctets(fichier.octets)));
    changeListe(lignes);
}

void FrmListe::verifie()
{
    const QList<qint16> comptes = Comptes::complets();
    const bool aEnvoyer = std::any_of(m_modele->lignes().begin(), m_modele->lignes().end(),
                                      [](const LigneListe &l) { return l.valide(); });
    if (comptes.isEmpty() || !aEnvoyer) {
        m_etat->setText(comptes.isEmpty() ? QStringLiteral("Aucun répartiteur n'est paramétré.")
                                          : QStringLiteral("Aucun code à vérifier."));
        return;
    }
    m_verification->lance(m_modele->lignes(), comptes);
    m_modele->setComptes(m_verification->comptes());
    afficheEtat();
}

void FrmListe::dimensionneColonnes()
{
    const QFontMetrics mesure = m_table->fontMetrics();
    const auto largeur = [&mesure](const QString &exemple) { return mesure.horizontalAdvance(exemple) + 12; };
    QHeaderView *entete = m_table->horizontalHeader();
    entete->resizeSection(ModeleListe::colonneCode, largeur(QStringLiteral("3400935829108")));
    entete->resizeSection(ModeleListe::colonneQuantite, largeur(QStringLiteral("99999")));
    entete->resizeSection(ModeleListe::colonneDesignation, largeur(QStringLiteral("SPASFON LYOC 80MG B/10")));
    for (int k = 0; k < int(m_modele->comptes().size()); ++k) {
        entete->resizeSection(ModeleListe::colonneEtat(k), largeur(QStringLiteral("Non disponible")));
        entete->resizeSection(ModeleListe::colonneEtat(k) + 1,
                              largeur(QStringLiteral("1,57 € / 1,49 € / 2,18 €")));
        entete->resizeSection(ModeleListe::colonneEtat(k) + 2,
                              largeur(QStringLiteral("Produit non autorisé")));
    }
    if (m_modele->colonneMoinsCher() >= 0)
        entete->resizeSection(m_modele->colonneMoinsCher(), largeur(QStringLiteral("CERP ROUEN")));
}

void FrmListe::annule()
{
    m_verification->annule();
}

bool FrmListe::exporte(const QString &chemin)
{
    // A document for the spreadsheet and whoever it is sent to, not one of the program's own files.
    return remplaceFichier(chemin, TableauListe::csv(m_modele->lignes(), m_modele->comptes()), Acces::Document) ==
           QFileDevice::NoError;
}

void FrmListe::demandeExport()
{
    const QString chemin =
        QFileDialog::getSaveFileName(this, QStringLiteral("Exporter la liste"), QStringLiteral("liste.csv"),
                                     QStringLiteral("CSV (*.csv)"));
    if (chemin.isEmpty())
        return;
    m_etat->setText(exporte(chemin)
                        ? QStringLiteral("Exportée dans ") + QDir::toNativeSeparators(chemin)
                        : QStringLiteral("Impossible d'écrire ") + QDir::toNativeSeparators(chemin));
}

void FrmListe::vide()
{
    changeListe({});
}

QStringList FrmListe::codesSelectionnes() const
{
    QStringList codes;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows()) {
        const LigneListe &ligne = m_modele->lignes().at(index.row());
        if (ligne.valide())
            codes << ligne.code;
    }
    return codes;
}

void FrmListe::supprimeSelection()
{
    QList<LigneListe> lignes = m_modele->lignes();
    QList<int> rangees;
    for (const QModelIndex &i : m_table->selectionModel()->selectedRows())
        rangees.append(i.row());
    std::sort(rangees.begin(), rangees.end(), std::greater<>());
    for (int r : rangees)
        lignes.removeAt(r);
    changeListe(lignes);
}

void FrmListe::changeListe(const QList<LigneListe> &lignes)
{
    m_modele->setLignes(lignes);
    // The list outlives the program: Liste.txt follows every change. A change that cannot be kept
    // is told, once until the file can be written again.
    QString raison;
    const bool enregistree = LectureListe::enregistreListe(lignes, &raison);
    if (!enregistree && !m_enregistrementRefuse)
        montreErreurFichier(QStringLiteral("Ecriture Error"),
                            QStringLiteral("La liste n'a pas pu être enregistrée dans Liste.txt : ") + raison);
    m_enregistrementRefuse = !enregistree;
    afficheEtat();
}

void FrmListe::afficheEtat()
{
    const QList<LigneListe> &lignes = m_modele->lignes();
    const auto invalides =
        std::count_if(lignes.begin(), lignes.end(), [](const LigneListe &l) { return !l.valide(); });
    m_progression->setRange(0, std::max(1, m_verification->reponsesAttendues()));
    m_progression->setValue(m_verification->reponsesRecues());
    QString texte = QStringLiteral("%1 ligne(s)").arg(lignes.size());
    if (invalides > 0)
        texte += QStringLiteral(", %1 sans code valide").arg(invalides);
    if (m_verification->enCours())
        texte += QStringLiteral(" — vérification en cours, Échap pour annuler");
    m_etat->setText(texte);
}

bool FrmListe::eventFilter(QObject *watched, QEvent *event)
{
    // The code field would paste into itself; a paste always goes to the list.
    if (watched == m_code &&
        (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) &&
        static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste)) {
        if (event->type() == QEvent::KeyPress)
            colle();
        event->accept();
        return true;
    }
    if (watched == m_table && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->matches(QKeySequence::Delete)) {
        supprimeSelection();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FrmListe::closeEvent(QCloseEvent *event)
{
    while (m_verification->enCours())
        m_verification->annule();
    memorisePlace();
    QWidget::closeEvent(event);
}

void FrmListe::replace()
{
    QList<int> valeurs;
    for (const QString &cle : clesPlace) {
        bool ok = false;
        const int valeur = FichierINI::LireIni(section, cle, QString()).toInt(&ok);
        if (ok)
            valeurs << valeur;
    }
    const QRect place = valeurs.size() == 4 ? QRect(valeurs[0], valeurs[1], valeurs[2], valeurs[3]) : QRect();
    const QScreen *ecran = place.isValid() ? QGuiApplication::screenAt(place.center()) : nullptr;
    if (ecran) {
        resize(place.size());
        move(place.topLeft());
        return;
    }
    resize(960, 540);
    if (const QScreen *s = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

void FrmListe::memorisePlace()
{
    const QRect place(pos(), size());
    const QList<int> valeurs{place.x(), place.y(), place.width(), place.height()};
    for (qsizetype i = 0; i < clesPlace.size(); ++i)
        FichierINI::EcrireIni(section, clesPlace[i], QString::number(valeurs[i]));
}
