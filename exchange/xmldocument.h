#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

struct _xmlDoc;
struct _xmlNode;

// The XML parser of the exchange (libxml2 underneath). A document never reaches the network or the
// file system: a document that declares an external DTD or an external entity is refused, and it is
// validated only against the definition it carries inline, when it has one. The parser's own limits
// (depth, text size, entity expansion) stay in force, so an entity bomb is refused too. So is, before
// it costs more than a fraction of a second or a few MiB, a document with over 10,000 attributes
// (written or declared) or 50,000 parts (elements, attributes, comments, entity references and the
// like), and one in an encoding other than UTF-8, UTF-16, UTF-32, ASCII, ISO-8859-n and windows-125n.
namespace Xml {

// Why a text did not parse: the parser's reason, the faulty line's number (from 1) and its text.
struct ErreurAnalyse {
    QString raison;
    int ligne = 0;
    QString source;
};

// A node of a document (element, text, comment, processing instruction, document type...). A view:
// valid while its document lives. A default-constructed node is absent.
class Noeud {
public:
    Noeud() = default;

    bool estAbsent() const { return m_noeud == nullptr; }
    bool estElement() const;

    // An element's name without its namespace prefix; "#text", "#comment", "#cdata-section" for
    // those nodes; a processing instruction's target; a document type's name.
    QString nom() const;

    QList<Noeud> enfants() const;
    // The first child element of that name, or an absent node.
    Noeud premierEnfant(QStringView nom) const;
    // The elements of that name below this node, in document order.
    QList<Noeud> elementsParNom(QStringView nom) const;

    // The attribute's value; nullopt when the attribute is missing.
    std::optional<QString> attribut(QStringView nom) const;
    // The text of the node and of everything below it.
    QString texte() const;
    // The element with all its content, as XML text that parses on its own (the namespaces it uses
    // are declared on it).
    QString serialise() const;

private:
    friend class Document;
    explicit Noeud(_xmlNode *noeud) : m_noeud(noeud) {}
    _xmlNode *m_noeud = nullptr;
};

class Document {
public:
    // Parses bytes as received: the encoding named by their XML declaration is honoured (UTF-8 when
    // none is named).
    static Document depuisOctets(QByteArrayView octets);
    // Parses text: any encoding named in its declaration is ignored, the text is already characters.
    static Document depuisTexte(QStringView texte);

    Document(Document &&) noexcept;
    Document &operator=(Document &&) noexcept;
    ~Document();

    // True when the text was well-formed, refers to nothing external and is valid against the
    // definition it carries, if any. Otherwise erreur() tells why and the document is empty.
    bool estAnalyse() const { return m_doc != nullptr; }
    const ErreurAnalyse &erreur() const { return m_erreur; }

    // Whether the text began with an XML declaration ("<?xml ...?>"); the declaration is not a node.
    bool aDeclarationXml() const { return m_declaration; }
    // The document's top-level nodes: document type, comments, processing instructions, root element.
    QList<Noeud> noeudsDeTete() const;
    // The elements of that name in the whole document, in document order.
    QList<Noeud> elementsParNom(QStringView nom) const;

private:
    struct LibereDoc {
        void operator()(_xmlDoc *doc) const;
    };
    Document() = default;
    static Document analyse(QByteArrayView octets, bool ignoreEncodageDeclare);

    std::unique_ptr<_xmlDoc, LibereDoc> m_doc;
    ErreurAnalyse m_erreur;
    bool m_declaration = false;
};

} // namespace Xml
