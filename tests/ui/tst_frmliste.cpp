#include "frmliste.h"
#include "lectureliste.h"
#include "modeleliste.h"

#include "ui/fenetreessai.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QTableView>

using namespace FenetreEssai;

// The list window on its own, without a wholesaler: what the keyboard does and what the screen shows.
class TestFrmListe : public QObject, public Banc {
    Q_OBJECT
    std::unique_ptr<FrmListe> m_liste;

    QTableView *table() { return m_liste->findChild<QTableView *>("table"); }
    // The list's codes and quantities, "code×quantity" blank-separated, and those of Liste.txt.
    QString liste()
    {
        QStringList codes;
        for (int r = 0; r < table()->model()->rowCount(); ++r)
            codes << table()->model()->index(r, 0).data().toString() + u'×' +
                         table()->model()->index(r, 1).data().toString();
        return codes.join(u' ');
    }
    QString listeTxt()
    {
        QStringList codes;
        for (const LigneListe &l : LectureListe::chargeListe())
            codes << l.code + u'×' + QString::number(l.quantite);
        return codes.join(u' ');
    }

private slots:
    void init()
    {
        prepare();
        m_liste = std::make_unique<FrmListe>();
        m_liste->show();
        m_liste->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_liste.get()));
        verifieModele(table()->model());
    }
    void cleanup() { m_liste.reset(); }

    // The model's signals as accounts come, answer and go, none complete at first.
    void modeleSansCompte()
    {
        ModeleListe modele;
        verifieModele(&modele);
        modele.setComptes({});
        modele.setLignes({{QStringLiteral("3582910"), 1, {}}, {{}, 1, QStringLiteral("x")}});
        modele.setComptes({});
        const ReponsesCompte compte{1, QStringLiteral("PHOENIX"), {}, false, {}};
        modele.setComptes({compte});
        modele.setComptes({compte});
        modele.setCompte(0, {1, QStringLiteral("PHOENIX"), QStringLiteral("échec"), false, {}}, {"3582910"});
        modele.setComptes({compte, compte});
        modele.setLignes({});
        QCOMPARE(modele.columnCount(), modele.colonneMoinsCher() + 1);
    }

    // Steps, blank-separated: "coller:CODE,CODE" (a paste of those lines), "suppr:ROW" (Delete on that
    // row), "vider:oui" / "vider:non" / "vider:entree" (the answer to the question, Enter for the last;
    // "vider:-" when none is to come), "z" (Ctrl+Z in the code field), "zt" (Ctrl+Z in the table),
    // "taper:TEXT" (typed in the code field).
    void annulation_data()
    {
        QTest::addColumn<QString>("etapes");
        QTest::addColumn<QString>("attendue");
        QTest::newRow("Vider confirmed, undone") << "coller:3582910,3153342;3 vider:oui z"
                                                 << "3582910×1 3153342×3";
        QTest::newRow("Vider refused") << "coller:3582910,3153342 vider:non"
                                       << "3582910×1 3153342×1";
        QTest::newRow("Enter answers no") << "coller:3582910 vider:entree"
                                          << "3582910×1";
        QTest::newRow("an empty list is emptied without a question") << "vider:- z"
                                                                     << "";
        QTest::newRow("Delete") << "coller:3582910,3153342,2756339 suppr:1"
                                << "3582910×1 2756339×1";
        QTest::newRow("Delete, then Ctrl+Z in the table") << "coller:3582910,3153342,2756339 suppr:1 zt"
                                                          << "3582910×1 3153342×1 2756339×1";
        QTest::newRow("several steps back, and no further") << "coller:3582910 coller:3153342 suppr:0 z z z z"
                                                            << "";
        QTest::newRow("a paste undone keeps the one before")
            << "coller:3582910 coller:3400935829108,3153342 z"
            << "3582910×1";
        QTest::newRow("Ctrl+Z in a field with text undoes the typing only") << "coller:3582910 taper:315 z"
                                                                            << "3582910×1";
    }

    void annulation()
    {
        QFETCH(QString, etapes);
        auto *code = m_liste->findChild<QLineEdit *>("code");
        for (const QString &etape : etapes.split(u' ')) {
            const QString valeur = etape.section(u':', 1);
            if (etape.startsWith("coller:")) {
                QGuiApplication::clipboard()->setText(QString(valeur).replace(u',', u'\n'));
                code->setFocus();
                QTest::keyClick(code, Qt::Key_V, Qt::ControlModifier);
            } else if (etape.startsWith("suppr:")) {
                table()->setFocus();
                table()->selectRow(valeur.toInt());
                QTest::keyClick(table(), Qt::Key_Delete);
            } else if (etape.startsWith("vider:")) {
                QString vue;
                if (valeur != "entree")
                    repondra(vue, valeur == "oui" ? QMessageBox::Yes : QMessageBox::No);
                else
                    QTimer::singleShot(0, [&vue] {
                        vue = QApplication::activeModalWidget()->windowTitle();
                        QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return);
                    });
                const QString avant = liste();
                m_liste->findChild<QPushButton *>("vider")->click();
                QTest::qWait(0); // the answer prepared for no box goes now, not at a later one
                QCOMPARE(vue.section(u'|', 0, 0),
                         valeur == "-" ? QString() : QStringLiteral("Vider la liste"));
                QCOMPARE(liste(), valeur == "non" || valeur == "entree" ? avant : QString());
            } else if (etape == "z" || etape == "zt") {
                QWidget *cible = etape == "z" ? static_cast<QWidget *>(code) : table();
                cible->setFocus();
                QTest::keyClick(cible, Qt::Key_Z, Qt::ControlModifier);
            } else if (etape.startsWith("taper:")) {
                code->setFocus();
                QTest::keyClicks(code, valeur);
            }
        }
        QTEST(liste(), "attendue");
        // Liste.txt follows the list, undo included.
        QTEST(listeTxt(), "attendue");
    }

    void tabulation()
    {
        m_liste->ajoute("3582910\n3153342");
        m_liste->findChild<QLineEdit *>("code")->setFocus();
        QStringList parcours{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 10; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                            i < 8 ? Qt::NoModifier : Qt::ShiftModifier);
            parcours << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(
            parcours.join(u' '),
            QStringLiteral(
                "code verifier ouvrir exporter vider historique table surveiller code surveiller table"));
        // Escape closes the window, from the table too.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!m_liste->isVisible());
    }

    // Ctrl+S, then "Classeur Excel" in the dialog's types: the name becomes liste.xlsx, a workbook.
    void exportExcel()
    {
        m_liste->ajoute("3400935829108");
        QString nom;
        QTimer::singleShot(0, [this, &nom] {
            auto *dialogue = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialogue);
            dialogue->setDirectory(m_dir->path());
            QTest::keyClick(dialogue->findChild<QComboBox *>("fileTypeCombo"), Qt::Key_Down);
            auto *champ = dialogue->findChild<QLineEdit *>("fileNameEdit");
            nom = champ->text();
            QTest::keyClick(champ, Qt::Key_Return);
        });
        QTest::keyClick(m_liste->findChild<QLineEdit *>("code"), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(nom, QStringLiteral("liste.xlsx"));
        QFile classeur(m_dir->filePath("liste.xlsx"));
        QVERIFY(classeur.open(QIODevice::ReadOnly));
        QCOMPARE(classeur.read(2), "PK");
        QVERIFY(m_liste->findChild<QLabel *>("etat")->text().startsWith("Exportée dans "));
    }

    // Two accounts: at the default size every column shows; no progress before a check.
    void colonnesVisibles()
    {
        m_liste.reset();
        compteLocal(1, 9);
        compteLocal(2, 9);
        m_liste = std::make_unique<FrmListe>();
        m_liste->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_liste.get()));
        QHeaderView *entete = table()->horizontalHeader();
        QCOMPARE(entete->count(), 14);
        QCOMPARE_LE(entete->length(), table()->viewport()->width());
        for (int c = 0; c < entete->count(); ++c)
            QVERIFY2(entete->sectionSize(c) >= 40, qPrintable(QString::number(c)));
        QVERIFY(!m_liste->findChild<QProgressBar *>("progression")->isVisible());
    }
};

QTEST_MAIN(TestFrmListe)
#include "tst_frmliste.moc"
