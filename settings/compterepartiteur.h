#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Everything an exchange with the wholesaler of account n (1 or 2) needs from the settings file,
// read in one go when a query, a list check or a watch round starts: an edit in the settings pane
// reaches the next one, never one under way. A value is absent (nullopt) when the file or its key
// is: each user applies its own default, and some differ (the client number is "000000" in the
// request's headers but pads the credential from nothing).
struct CompteRepartiteur {
    // The section and the key stems of the file, spelled here only. An account's key is its stem
    // followed by the account's number ("NumeroCli1"); the pharmacy's own keys have no number.
    struct Cles {
        static inline const QString section = QStringLiteral("Infos");
        static inline const QString nomRepart = QStringLiteral("NomRepart");
        static inline const QString idRepart = QStringLiteral("IdRepart");
        static inline const QString codeRepart = QStringLiteral("CodeRepart");
        static inline const QString adrRepart = QStringLiteral("AdrRepart");
        static inline const QString urlRepart = QStringLiteral("URLRepart");
        static inline const QString portRepart = QStringLiteral("PortRepart");
        static inline const QString urlSecours = QStringLiteral("URLSecours");
        static inline const QString portSecours = QStringLiteral("PortSecours");
        static inline const QString numeroCli = QStringLiteral("NumeroCli");
        static inline const QString clefCli = QStringLiteral("ClefCli");
        static inline const QString adrPharmacie = QStringLiteral("AdrPharmacie");
        static inline const QString proxy = QStringLiteral("Proxy");
        static inline const QString certificatsAC = QStringLiteral("CertificatsAC");
    };
    // The six stems an account needs to be complete, in the order the settings pane shows them.
    static const QStringList &clesCompletes();
    // The key of account n for that stem.
    static QString cle(const QString &stem, int n) { return stem + QString::number(n); }

    // Every setting held here: its stem, whether it is the account's own (numbered) or the
    // pharmacy's, and its member.
    struct Reglage {
        const QString &stem;
        bool duCompte;
        std::optional<QString> CompteRepartiteur::*valeur;
    };
    static const QList<Reglage> &reglages();

    // Account n as Solvarin.ini holds it now.
    static CompteRepartiteur lis(qint16 n);

    // The key of this account for that stem, as validation messages name it.
    QString cle(const QString &stem) const { return cle(stem, numero); }
    QString cle(const Reglage &reglage) const { return reglage.duCompte ? cle(reglage.stem) : reglage.stem; }
    // Its six settings of clesCompletes() are all there and non-empty.
    bool complet() const;

    qint16 numero = 0;
    std::optional<QString> nomRepart;
    std::optional<QString> idRepart;
    std::optional<QString> codeRepart;
    std::optional<QString> adrRepart;
    std::optional<QString> urlRepart;
    std::optional<QString> portRepart;
    std::optional<QString> urlSecours;
    std::optional<QString> portSecours;
    std::optional<QString> numeroCli;
    std::optional<QString> clefCli;
    // The pharmacy's, shared by both accounts.
    std::optional<QString> adrPharmacie;
    std::optional<QString> proxy;
    std::optional<QString> certificatsAC;
};
