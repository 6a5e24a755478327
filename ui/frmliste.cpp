#include "frmliste.h"

#include "application.h"
#include "classeurliste.h"
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
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString section = QStringLiteral("Liste");
// How many changes Ctrl+Z goes back.
constexpr qsizetype etapesAnnulables = 20;
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
      m_progression(new QProgressBar(this)), m_etat(new QLabel(this)), m_echecs(new QLabel(this))
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
    auto *surveiller =
        bouton(QStringLiteral("S&urveiller les manquants"),
               QStringLiteral("Prévenir quand un répartiteur aura les produits qu'aucun n'a"), this);
    historique->setObjectName(QStringLiteral("historique"));
    surveiller->setObjectName(QStringLiteral("surveiller"));
    ouvrir->setObjectName(QStringLiteral("ouvrir"));
    exporter->setObjectName(QStringLiteral("exporter"));
    vider->setObjectName(QStringLiteral("vider"));

    m_table->setObjectName(QStringLiteral("table"));
    m_table->setModel(m_modele);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    // Tab leaves the table for the code field and the buttons rather than going from cell to cell.
    m_table->setTabKeyNavigation(false);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    connect(m_modele, &QAbstractItemModel::modelReset, this, &FrmListe::dimensionneColonnes);
    m_table->installEventFilter(this);
    m_progression->setObjectName(QStringLiteral("progression"));
    m_progression->setFormat(QStringLiteral("%v / %m réponses"));
    m_progression->hide();
    m_etat->setObjectName(QStringLiteral("etat"));
    m_echecs->setObjectName(QStringLiteral("echecs"));
    m_echecs->setWordWrap(true);
    m_echecs->setStyleSheet(QStringLiteral("color: #B00000"));
    m_echecs->hide();

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
    colonne->addWidget(m_echecs);
    colonne->addLayout(bas);
    setTabOrder(m_code, verifier);
    setTabOrder(verifier, ouvrir);
    setTabOrder(ouvrir, exporter);
    setTabOrder(exporter, vider);
    setTabOrder(vider, historique);
    setTabOrder(historique, m_table);
    setTabOrder(m_table, surveiller);

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
    connect(surveillerSelection, &QAction::triggered, this,
            [this] { emit this->surveiller(codesSelectionnes()); });
    const auto raccourci = [this](const QKeySequence &touches, void (FrmListe::*action)()) {
        connect(new QShortcut(touches, this), &QShortcut::activated, this, action);
    };
    raccourci(QKeySequence(Qt::CTRL | Qt::Key_Return), &FrmListe::verifie);
    raccourci(QKeySequence(Qt::CTRL | Qt::Key_Enter), &FrmListe::verifie);
    raccourci(QKeySequence::Paste, &FrmListe::colle);
    raccourci(QKeySequence::Open, &FrmListe::ouvre);
    raccourci(QKeySequence::Save, &FrmListe::demandeExport);
    raccourci(QKeySequence(Qt::Key_Escape), &FrmListe::annuleOuFerme);
    raccourci(QKeySequence::Undo, &FrmListe::annuleModification);
    raccourci(QKeySequence(Qt::CTRL | Qt::Key_R), &FrmListe::ajouteRemplacants);
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_table, &QWidget::customContextMenuRequested, this, &FrmListe::menuContextuel);
    raccourci(QKeySequence(Qt::Key_F6), &FrmListe::historiqueDemande);

    connect(m_verification, &VerificationListe::reponses, this, [this](int k, const QStringList &codes) {
        m_modele->setCompte(k, m_verification->comptes()[k], codes);
        Historique::enregistreListe(ReponseEnregistree::Source::Liste, m_verification->comptes()[k], codes);
        afficheEtat();
    });
    connect(m_verification, &VerificationListe::terminee, this, [this] {
        QStringList echecs;
        for (const ReponsesCompte &compte : m_verification->comptes()) {
            if (!compte.echec.isEmpty())
                echecs << compte.nom + QStringLiteral(" : ") + compte.echec;
        }
        m_echecs->setText(echecs.join(u'\n'));
        m_echecs->setVisible(!echecs.isEmpty());
        afficheEtat();
    });

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
    QList<LigneListe> lignes = m_modele->lignes();
    LectureListe::ajoute(lignes, LectureListe::lis(QGuiApplication::clipboard()->text()));
    modifieListe(lignes);
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
    modifieListe(lignes);
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
    m_echecs->clear();
    m_echecs->hide();
    m_progression->show();
    afficheEtat();
}

void FrmListe::dimensionneColonnes()
{
    const QFontMetrics mesure = m_table->fontMetrics();
    const auto largeur = [&mesure](const QString &exemple) { return mesure.horizontalAdvance(exemple) + 12; };
    // Codes, quantities, states and expected returns keep their width; the designation, prices, reasons
    // and replacements share the rest (at least enough for a few letters), elided, their tooltip saying
    // more.
    QList<std::pair<int, int>> fixes{{ModeleListe::colonneCode, largeur(QStringLiteral("3400935829108"))},
                                     {ModeleListe::colonneQuantite, largeur(QStringLiteral("99999"))}};
    QList<std::pair<int, int>> souples{
        {ModeleListe::colonneDesignation, largeur(QStringLiteral("SPASFON LYOC 80MG B/10"))}};
    using ColonnesCompte::Champ;
    for (int k = 0; k < int(m_modele->comptes().size()); ++k) {
        fixes.append({ModeleListe::colonne(k, Champ::Etat), largeur(QStringLiteral("Non disponible"))});
        souples.append(
            {ModeleListe::colonne(k, Champ::Prix), largeur(QStringLiteral("1,57 € / 1,49 € / 2,18 €"))});
        souples.append(
            {ModeleListe::colonne(k, Champ::Motif), largeur(QStringLiteral("Produit non autorisé"))});
        fixes.append({ModeleListe::colonne(k, Champ::RetourPrevu), largeur(QStringLiteral("Retour prévu"))});
        souples.append(
            {ModeleListe::colonne(k, Champ::Remplacant), largeur(QStringLiteral("3400935829108 DOLIPRANE"))});
    }
    if (m_modele->colonneMoinsCher() >= 0)
        fixes.append({m_modele->colonneMoinsCher(), largeur(QStringLiteral("CERP ROUEN"))});

    int reste = m_table->viewport()->width();
    for (const auto &[colonne, l] : std::as_const(fixes))
        reste -= l;
    int voulu = 0;
    for (const auto &[colonne, l] : std::as_const(souples))
        voulu += l;
    QHeaderView *entete = m_table->horizontalHeader();
    for (const auto &[colonne, l] : std::as_const(fixes))
        entete->resizeSection(colonne, l);
    for (const auto &[colonne, l] : std::as_const(souples))
        entete->resizeSection(
            colonne, reste >= voulu ? l : std::max(largeur(QStringLiteral("Produit")), l * reste / voulu));
}

void FrmListe::annuleOuFerme()
{
    if (m_verification->enCours())
        m_verification->annule();
    else
        close();
}

bool FrmListe::exporte(const QString &chemin)
{
    if (chemin.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        return ClasseurListe::ecrit(chemin, m_modele->lignes(), m_modele->comptes()).isEmpty();
    // A document for the spreadsheet and whoever it is sent to, not one of the program's own files.
    return remplaceFichier(chemin, TableauListe::csv(m_modele->lignes(), m_modele->comptes()),
                           Acces::Document) == QFileDevice::NoError;
}

void FrmListe::demandeExport()
{
    const QString csv = QStringLiteral("CSV (*.csv)");
    const QString excel = QStringLiteral("Classeur Excel (*.xlsx)");
    QFileDialog dialogue(this, QStringLiteral("Exporter la liste"), QString(),
                         csv + QStringLiteral(";;") + excel);
    dialogue.setObjectName(QStringLiteral("exportListe"));
    dialogue.setAcceptMode(QFileDialog::AcceptSave);
    dialogue.setDefaultSuffix(QStringLiteral("csv"));
    dialogue.selectFile(QStringLiteral("liste.csv"));
    // The type chosen renames the file, so that choosing "Classeur Excel" is enough to get a workbook.
    connect(&dialogue, &QFileDialog::filterSelected, &dialogue, [&dialogue, &excel](const QString &filtre) {
        const QString suffixe = filtre == excel ? QStringLiteral("xlsx") : QStringLiteral("csv");
        dialogue.setDefaultSuffix(suffixe);
        const QString nom = QFileInfo(dialogue.selectedFiles().value(0)).completeBaseName();
        dialogue.selectFile((nom.isEmpty() ? QStringLiteral("liste") : nom) + u'.' + suffixe);
    });
    if (dialogue.exec() != QDialog::Accepted || dialogue.selectedFiles().isEmpty())
        return;
    const QString chemin = dialogue.selectedFiles().first();
    m_etat->setText(exporte(chemin)
                        ? QStringLiteral("Exportée dans ") + QDir::toNativeSeparators(chemin)
                        : QStringLiteral("Impossible d'écrire ") + QDir::toNativeSeparators(chemin));
}

void FrmListe::vide()
{
    const qsizetype n = m_modele->lignes().size();
    if (n > 0) {
        // No by default: Alt+D then Enter, the browsers' habit, must not empty the list.
        if (QMessageBox::question(this, QStringLiteral("Vider la liste"),
                                  QStringLiteral("Retirer les %1 ligne(s) de la liste ?\n"
                                                 "Ctrl+Z la rétablit.")
                                      .arg(n),
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
            return;
        modifieListe({});
    }
    if (!m_verification->enCours())
        m_progression->hide();
}

void FrmListe::annuleModification()
{
    if (m_precedentes.isEmpty())
        return;
    changeListe(m_precedentes.takeLast());
}

void FrmListe::modifieListe(const QList<LigneListe> &lignes)
{
    m_precedentes.append(m_modele->lignes());
    if (m_precedentes.size() > etapesAnnulables)
        m_precedentes.removeFirst();
    changeListe(lignes);
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
    if (rangees.isEmpty())
        return;
    for (int r : rangees)
        lignes.removeAt(r);
    modifieListe(lignes);
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
                            QStringLiteral("La liste n'a pas pu être enregistrée dans Liste.txt : ") +
                                raison);
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
    // The code field would paste into itself; a paste always goes to the list. Ctrl+Z undoes the
    // field's typing while it holds some, and the list's last change once it is empty.
    if (watched == m_code &&
        (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
        const auto *touche = static_cast<QKeyEvent *>(event);
        const bool collage = touche->matches(QKeySequence::Paste);
        if (collage || (touche->matches(QKeySequence::Undo) && m_code->text().isEmpty())) {
            if (event->type() == QEvent::KeyPress)
                collage ? colle() : annuleModification();
            event->accept();
            return true;
        }
    }
    if (watched == m_table && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->matches(QKeySequence::Delete)) {
        supprimeSelection();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FrmListe::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Once the table has its width, the columns share it; later the user's widths stay.
    if (!std::exchange(m_dimensionnee, true))
        dimensionneColonnes();
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
    // Wide enough for every column of two accounts, the designation, prices and reasons elided.
    resize(1240, 560);
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
