#include "xmldocument.h"

#include <libxml/SAX2.h>
#include <libxml/entities.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/valid.h>
#include <libxml/xmlerror.h>

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <climits>
#include <cstring>
#include <mutex>
#include <new>

namespace {

// Bounds that keep the parse of any text within about a second and a hundred MiB, far above a real
// reply (50 product lines of 10 prices each make about 600 elements and 1,300 attributes).
// The parser checks the attributes of an element against each other and against the defaults
// declared for it before it reports them, so attributes written ("=" in the text) and declared
// are bounded together, the former before the parser starts.
constexpr qsizetype attributsMax = 10'000;
// Elements, attributes, comments, processing instructions, CDATA sections, entity references (in
// attribute values too) and declarations that the parser builds; the text nodes between them are
// at most as many again.
constexpr qsizetype partiesMax = 50'000;

// Whether the bytes, read in the encoding they declare, could hide an "=": every "=" is a 0x3D byte
// in the encodings known here (UTF-16 and UTF-32 included), not in others (EBCDIC, UTF-7...).
bool encodageInconnu(QByteArrayView octets)
{
    static const QRegularExpression connus(
        QStringLiteral("^(UTF-?(8|16|32)(LE|BE)?|UCS-?[24](LE|BE)?|(US-)?ASCII|ISO[-_]?8859[-_]?[0-9]{1,2}|"
                       "LATIN-?[0-9]{1,2}|(WINDOWS|CP)-?125[0-8])$"),
        QRegularExpression::CaseInsensitiveOption);
    if (octets.startsWith("\x4C\x6F\xA7\x94")) // "<?xm" in EBCDIC
        return true;
    // The declaration is ASCII text; in UTF-16 or UTF-32 its characters are apart by zero bytes.
    QByteArray tete = octets.first(std::min<qsizetype>(octets.size(), 512)).toByteArray();
    tete.removeIf([](char c) { return c == 0; });
    if (tete.startsWith("\xEF\xBB\xBF") || tete.startsWith("\xFE\xFF") || tete.startsWith("\xFF\xFE"))
        tete.remove(0, tete.startsWith("\xEF") ? 3 : 2);
    static const QRegularExpression declaration(
        QStringLiteral("^<\\?xml\\s[^>]*?encoding\\s*=\\s*([\"'])([^\"']*)\\1"));
    const QRegularExpressionMatch m = declaration.match(QString::fromLatin1(tete));
    return m.hasMatch() && !connus.match(m.captured(2)).hasMatch();
}

// The first error the parser or the validator reports (later ones follow from it), and what the
// parse has built so far.
struct Collecteur {
    bool vu = false;
    QString raison;
    int ligne = 0;
    qsizetype parties = 0;
    qsizetype attributs = 0; // the "=" of the text, then the attributes declared

    void retiens(const xmlError *e)
    {
        if (vu || e == nullptr || e->level < XML_ERR_ERROR)
            return;
        vu = true;
        raison = QString::fromUtf8(e->message ? e->message : "").trimmed();
        ligne = e->line;
    }
};

void surErreurAnalyse(void *contexte, xmlErrorPtr erreur)
{
    auto *analyseur = static_cast<xmlParserCtxtPtr>(contexte);
    static_cast<Collecteur *>(analyseur->_private)->retiens(erreur);
}

// The validator reports through a printf-like channel; the error itself is already recorded.
void surErreurValidite(void *contexte, const char *, ...)
{
    static_cast<Collecteur *>(contexte)->retiens(xmlGetLastError());
}

void silencieux(void *, const char *, ...) {}

// Counts what the parser builds; past a bound, refuses the document and stops the parser at once.
bool compte(void *contexte, qsizetype parties, qsizetype attributsDeclares = 0)
{
    auto *analyseur = static_cast<xmlParserCtxtPtr>(contexte);
    auto *collecteur = static_cast<Collecteur *>(analyseur->_private);
    collecteur->parties += parties;
    collecteur->attributs += attributsDeclares;
    if (collecteur->parties <= partiesMax && collecteur->attributs <= attributsMax)
        return true;
    if (!collecteur->vu) {
        collecteur->vu = true;
        collecteur->raison = collecteur->attributs > attributsMax ? QStringLiteral("Too many attributes")
                                                                  : QStringLiteral("Document too large");
        collecteur->ligne = xmlSAX2GetLineNumber(contexte);
    }
    analyseur->wellFormed = 0;
    xmlStopParser(analyseur);
    return false;
}

// A parser callback that counts one part before the tree builder's own callback runs.
template <auto Constructeur> struct Compte;
template <typename... Arguments, void (*Constructeur)(void *, Arguments...)> struct Compte<Constructeur> {
    static void appel(void *contexte, Arguments... arguments)
    {
        if (compte(contexte, 1))
            Constructeur(contexte, arguments...);
    }
};

// An attribute value holding entity references becomes a list of nodes.
void debutElement(void *contexte, const xmlChar *nom, const xmlChar *prefixe, const xmlChar *uri,
                  int nbEspaces, const xmlChar **espaces, int nbAttributs, int nbDefaut,
                  const xmlChar **attributs)
{
    qsizetype references = 0;
    for (int i = 0; i < nbAttributs; ++i)
        references += std::count(attributs[5 * i + 3], attributs[5 * i + 4], '&');
    if (compte(contexte, 1 + nbEspaces + nbAttributs + references))
        xmlSAX2StartElementNs(contexte, nom, prefixe, uri, nbEspaces, espaces, nbAttributs, nbDefaut,
                              attributs);
}

// The enumeration belongs to the callback.
void declarationAttribut(void *contexte, const xmlChar *element, const xmlChar *nom, int type, int defaut,
                         const xmlChar *valeur, xmlEnumerationPtr enumeration)
{
    if (compte(contexte, 1, 1))
        xmlSAX2AttributeDecl(contexte, element, nom, type, defaut, valeur, enumeration);
    else
        xmlFreeEnumeration(enumeration);
}

void compteLesParties(xmlSAXHandler *sax)
{
    sax->startElementNs = debutElement;
    sax->attributeDecl = declarationAttribut;
    sax->comment = Compte<xmlSAX2Comment>::appel;
    sax->processingInstruction = Compte<xmlSAX2ProcessingInstruction>::appel;
    sax->cdataBlock = Compte<xmlSAX2CDataBlock>::appel;
    sax->reference = Compte<xmlSAX2Reference>::appel;
    sax->elementDecl = Compte<xmlSAX2ElementDecl>::appel;
    sax->entityDecl = Compte<xmlSAX2EntityDecl>::appel;
    sax->notationDecl = Compte<xmlSAX2NotationDecl>::appel;
}

xmlParserInputPtr refuseExterne(const char *, const char *, xmlParserCtxtPtr)
{
    return nullptr;
}

// While a document is parsed or validated, nothing external can be loaded and nothing is printed.
class Confinement {
public:
    Confinement()
        : m_chargeur(xmlGetExternalEntityLoader()), m_erreur(xmlGenericError),
          m_contexteErreur(xmlGenericErrorContext)
    {
        static std::once_flag initialise;
        std::call_once(initialise, xmlInitParser);
        xmlSetExternalEntityLoader(refuseExterne);
        xmlSetGenericErrorFunc(nullptr, silencieux);
    }
    ~Confinement()
    {
        xmlSetGenericErrorFunc(m_contexteErreur, m_erreur);
        xmlSetExternalEntityLoader(m_chargeur);
    }
    Confinement(const Confinement &) = delete;
    Confinement &operator=(const Confinement &) = delete;

private:
    xmlExternalEntityLoader m_chargeur;
    xmlGenericErrorFunc m_erreur;
    void *m_contexteErreur;
};

// Why a document refers to something outside itself, or "" when it does not.
QString referenceExterne(xmlDocPtr doc)
{
    const xmlDtdPtr dtd = doc->intSubset;
    if (dtd == nullptr)
        return {};
    if (dtd->ExternalID != nullptr || dtd->SystemID != nullptr)
        return QStringLiteral("External DTD refused");
    for (xmlNodePtr n = dtd->children; n != nullptr; n = n->next) {
        if (n->type != XML_ENTITY_DECL)
            continue;
        switch (reinterpret_cast<xmlEntityPtr>(n)->etype) {
        case XML_EXTERNAL_GENERAL_PARSED_ENTITY:
        case XML_EXTERNAL_GENERAL_UNPARSED_ENTITY:
        case XML_EXTERNAL_PARAMETER_ENTITY:
            return QStringLiteral("External entity refused");
        default:
            break;
        }
    }
    return {};
}

// The parser keeps entity references as they are and expands them only when text is read, so a
// small document can hold gigabytes of text. This measures what reading everything would give.
class MesureExpansion {
public:
    static constexpr qint64 limite = 10'000'000; // the parser's own limit for one text

    explicit MesureExpansion(xmlDocPtr doc) : m_doc(doc) {}

    bool depasse()
    {
        qint64 total = 0;
        for (xmlNodePtr n = m_doc->children; n != nullptr;) {
            if (n->type == XML_ENTITY_REF_NODE)
                total = borne(total + taille(xmlGetDocEntity(m_doc, n->name)));
            if (n->type == XML_ELEMENT_NODE)
                for (xmlAttrPtr a = n->properties; a != nullptr; a = a->next)
                    for (xmlNodePtr v = a->children; v != nullptr; v = v->next)
                        if (v->type == XML_ENTITY_REF_NODE)
                            total = borne(total + taille(xmlGetDocEntity(m_doc, v->name)));
            if (total > limite)
                return true;
            if (n->children != nullptr && n->type != XML_ENTITY_REF_NODE && n->type != XML_DTD_NODE) {
                n = n->children;
                continue;
            }
            while (n != nullptr && n->next == nullptr)
                n = n->parent == reinterpret_cast<xmlNodePtr>(m_doc) ? nullptr : n->parent;
            if (n != nullptr)
                n = n->next;
        }
        return false;
    }

private:
    static qint64 borne(qint64 v) { return qMin(v, limite + 1); }

    // Length of the entity's replacement text once every reference in it is expanded; a cycle
    // counts as beyond the limit.
    qint64 taille(xmlEntityPtr e)
    {
        if (e == nullptr || e->content == nullptr)
            return 0;
        if (e->etype == XML_INTERNAL_PREDEFINED_ENTITY)
            return 1;
        if (const auto connu = m_tailles.constFind(e); connu != m_tailles.cend())
            return *connu;
        if (m_enCours.contains(e))
            return limite + 1;
        m_enCours.insert(e);
        const QByteArrayView contenu(reinterpret_cast<const char *>(e->content));
        qint64 total = 0;
        for (qsizetype i = 0; i < contenu.size() && total <= limite; ++i) {
            const qsizetype fin = contenu[i] == '&' ? contenu.indexOf(';', i) : -1;
            if (fin < 0) {
                ++total;
                continue;
            }
            if (contenu[i + 1] == '#') {
                ++total;
            } else {
                const QByteArray nom = contenu.sliced(i + 1, fin - i - 1).toByteArray();
                total =
                    borne(total +
                          taille(xmlGetDocEntity(m_doc, reinterpret_cast<const xmlChar *>(nom.constData()))));
            }
            i = fin;
        }
        m_enCours.remove(e);
        m_tailles.insert(e, total);
        return total;
    }

    xmlDocPtr m_doc;
    QHash<xmlEntityPtr, qint64> m_tailles;
    QSet<xmlEntityPtr> m_enCours;
};

// The text of line `ligne` (from 1) of the input, without its line break.
QString texteDeLigne(QByteArrayView octets, int ligne)
{
    qsizetype debut = 0;
    for (int i = 1; i < ligne && debut < octets.size(); ++i) {
        const qsizetype fin = octets.indexOf('\n', debut);
        if (fin < 0)
            return {};
        debut = fin + 1;
    }
    qsizetype fin = octets.indexOf('\n', debut);
    if (fin < 0)
        fin = octets.size();
    if (fin > debut && octets[fin - 1] == '\r')
        --fin;
    return QString::fromUtf8(octets.sliced(debut, fin - debut));
}

int ligneDe(QByteArrayView octets, QByteArrayView motif)
{
    const qsizetype position = octets.indexOf(motif);
    return position < 0 ? 1 : int(octets.first(position).count('\n')) + 1;
}

QByteArray enUtf8(QStringView nom)
{
    return nom.toUtf8();
}

bool aPourNom(const xmlNode *n, const QByteArray &nom)
{
    return n->type == XML_ELEMENT_NODE &&
           std::strcmp(reinterpret_cast<const char *>(n->name), nom.constData()) == 0;
}

// Element descendants of `racine` in document order; entity references and document types are not
// entered (their content belongs to the definitions).
QList<Xml::Noeud> descendantsNommes(xmlNodePtr premier, xmlNodePtr racine, const QByteArray &nom,
                                    Xml::Noeud (*fabrique)(xmlNodePtr))
{
    QList<Xml::Noeud> trouves;
    xmlNodePtr n = premier;
    while (n != nullptr) {
        if (aPourNom(n, nom))
            trouves.append(fabrique(n));
        if (n->children != nullptr && n->type != XML_ENTITY_REF_NODE && n->type != XML_DTD_NODE) {
            n = n->children;
            continue;
        }
        while (n != nullptr && n->next == nullptr) {
            n = n->parent;
            if (n == racine)
                return trouves;
        }
        if (n != nullptr)
            n = n->next;
    }
    return trouves;
}

struct LibereChaine {
    void operator()(xmlChar *s) const { xmlFree(s); }
};
using Chaine = std::unique_ptr<xmlChar, LibereChaine>;

QString enTexte(const Chaine &s)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(s.get()));
}

} // namespace

namespace Xml {

bool Noeud::estElement() const
{
    return m_noeud != nullptr && m_noeud->type == XML_ELEMENT_NODE;
}

QString Noeud::nom() const
{
    if (m_noeud == nullptr)
        return {};
    switch (m_noeud->type) {
    case XML_TEXT_NODE:
        return QStringLiteral("#text");
    case XML_CDATA_SECTION_NODE:
        return QStringLiteral("#cdata-section");
    case XML_COMMENT_NODE:
        return QStringLiteral("#comment");
    default:
        return m_noeud->name ? QString::fromUtf8(reinterpret_cast<const char *>(m_noeud->name)) : QString();
    }
}

QList<Noeud> Noeud::enfants() const
{
    QList<Noeud> liste;
    if (m_noeud == nullptr || m_noeud->type == XML_ENTITY_REF_NODE || m_noeud->type == XML_DTD_NODE)
        return liste;
    for (xmlNodePtr n = m_noeud->children; n != nullptr; n = n->next)
        liste.append(Noeud(n));
    return liste;
}

Noeud Noeud::premierEnfant(QStringView nom) const
{
    if (!estElement())
        return {};
    const QByteArray cle = enUtf8(nom);
    for (xmlNodePtr n = m_noeud->children; n != nullptr; n = n->next)
        if (aPourNom(n, cle))
            return Noeud(n);
    return {};
}

QList<Noeud> Noeud::elementsParNom(QStringView nom) const
{
    if (!estElement())
        return {};
    return descendantsNommes(m_noeud->children, m_noeud, enUtf8(nom), [](xmlNodePtr n) { return Noeud(n); });
}

std::optional<QString> Noeud::attribut(QStringView nom) const
{
    if (!estElement())
        return std::nullopt;
    const Chaine valeur(xmlGetProp(m_noeud, reinterpret_cast<const xmlChar *>(enUtf8(nom).constData())));
    if (!valeur)
        return std::nullopt;
    return enTexte(valeur);
}

QString Noeud::texte() const
{
    if (m_noeud == nullptr)
        return {};
    return enTexte(Chaine(xmlNodeGetContent(m_noeud)));
}

QString Noeud::serialise() const
{
    if (!estElement())
        return {};
    // A copy in a document of its own carries the namespace declarations it inherited.
    std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> seul(xmlNewDoc(reinterpret_cast<const xmlChar *>("1.0")),
                                                      xmlFreeDoc);
    if (!seul)
        throw std::bad_alloc();
    const xmlNodePtr copie = xmlDocCopyNode(m_noeud, seul.get(), 1);
    if (copie == nullptr)
        throw std::bad_alloc();
    xmlDocSetRootElement(seul.get(), copie);
    std::unique_ptr<xmlBuffer, void (*)(xmlBufferPtr)> tampon(xmlBufferCreate(), xmlBufferFree);
    if (!tampon || xmlNodeDump(tampon.get(), seul.get(), copie, 0, 0) < 0)
        throw std::bad_alloc();
    return QString::fromUtf8(reinterpret_cast<const char *>(xmlBufferContent(tampon.get())),
                             xmlBufferLength(tampon.get()));
}

void Document::LibereDoc::operator()(_xmlDoc *doc) const
{
    xmlFreeDoc(doc);
}

Document::Document(Document &&) noexcept = default;
Document &Document::operator=(Document &&) noexcept = default;
Document::~Document() = default;

Document Document::depuisOctets(QByteArrayView octets)
{
    return analyse(octets, false);
}

Document Document::depuisTexte(QStringView texte)
{
    return analyse(texte.toUtf8(), true);
}

Document Document::analyse(QByteArrayView octets, bool ignoreEncodageDeclare)
{
    Document d;
    if (octets.size() > INT_MAX) {
        d.m_erreur = {QStringLiteral("Document too large"), 1, {}};
        return d;
    }
    Collecteur collecteur;
    collecteur.attributs = octets.count('=');
    if (!ignoreEncodageDeclare && encodageInconnu(octets))
        d.m_erreur = {QStringLiteral("Unsupported encoding"), 1, texteDeLigne(octets, 1)};
    else if (collecteur.attributs > attributsMax)
        d.m_erreur = {QStringLiteral("Too many attributes"), 1, texteDeLigne(octets, 1)};
    if (!d.m_erreur.raison.isEmpty())
        return d;

    const Confinement confinement;
    const std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)> analyseur(xmlNewParserCtxt(),
                                                                               xmlFreeParserCtxt);
    if (!analyseur)
        throw std::bad_alloc();
    analyseur->_private = &collecteur;
    analyseur->sax->serror = surErreurAnalyse;
    compteLesParties(analyseur->sax);

    // No DTD loading, no entity substitution, no network: see referenceExterne for the rest.
    const int options = XML_PARSE_NONET | (ignoreEncodageDeclare ? XML_PARSE_IGNORE_ENC : 0);
    const char *donnees = octets.isEmpty() ? "" : octets.data();
    std::unique_ptr<_xmlDoc, LibereDoc> doc(
        xmlCtxtReadMemory(analyseur.get(), donnees, int(octets.size()), nullptr,
                          ignoreEncodageDeclare ? "UTF-8" : nullptr, options));

    if (doc && analyseur->wellFormed && analyseur->nsWellFormed && !collecteur.vu) {
        const QString refus = referenceExterne(doc.get());
        if (!refus.isEmpty()) {
            collecteur.vu = true;
            collecteur.raison = refus;
            collecteur.ligne = ligneDe(octets, "<!DOCTYPE");
        } else if (doc->intSubset != nullptr && MesureExpansion(doc.get()).depasse()) {
            collecteur.vu = true;
            collecteur.raison = QStringLiteral("Entity expansion too large");
            collecteur.ligne = ligneDe(octets, "<!ENTITY");
        } else if (doc->intSubset != nullptr) {
            const std::unique_ptr<xmlValidCtxt, void (*)(xmlValidCtxtPtr)> validateur(xmlNewValidCtxt(),
                                                                                      xmlFreeValidCtxt);
            if (!validateur)
                throw std::bad_alloc();
            validateur->userData = &collecteur;
            validateur->error = surErreurValidite;
            validateur->warning = silencieux;
            if (!xmlValidateDocument(validateur.get(), doc.get()) && !collecteur.vu) {
                collecteur.vu = true;
                collecteur.raison = QStringLiteral("Document is not valid");
                collecteur.ligne = 1;
            }
        }
    } else if (!collecteur.vu) {
        collecteur.vu = true;
        collecteur.raison = QStringLiteral("Document is not well-formed");
        collecteur.ligne = 1;
    }

    if (collecteur.vu) {
        d.m_erreur = {collecteur.raison, collecteur.ligne, texteDeLigne(octets, collecteur.ligne)};
        return d;
    }
    // Without an XML declaration the parser leaves `standalone` at -1.
    d.m_declaration = doc->standalone != -1;
    d.m_doc = std::move(doc);
    return d;
}

QList<Noeud> Document::noeudsDeTete() const
{
    QList<Noeud> liste;
    if (m_doc)
        for (xmlNodePtr n = m_doc->children; n != nullptr; n = n->next)
            liste.append(Noeud(n));
    return liste;
}

QList<Noeud> Document::elementsParNom(QStringView nom) const
{
    if (!m_doc)
        return {};
    const xmlNodePtr racine = reinterpret_cast<xmlNodePtr>(m_doc.get());
    return descendantsNommes(m_doc->children, racine, enUtf8(nom), [](xmlNodePtr n) { return Noeud(n); });
}

} // namespace Xml
