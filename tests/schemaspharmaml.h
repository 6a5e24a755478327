#pragma once

#include <QFile>
#include <QString>

#include <libxml/parser.h>
#include <libxml/xmlschemas.h>

// The shared Pharma-ML reference folder (samples and schemas), beside the project.
inline QString dossierPharmaML(const QString &nom = {})
{
    return QStringLiteral(SOLVARIN_SOURCE_DIR "/../shared/pharmaml/") + nom;
}

// Empty when the document satisfies the Pharma-ML schemas, else libxml2's complaints.
inline QString erreursSchemas(const QByteArray &xml)
{
    QString erreurs;
    const xmlStructuredErrorFunc note = [](void *ctx, xmlErrorPtr e) {
        *static_cast<QString *>(ctx) += QString::fromUtf8(e->message);
    };
    xmlSchemaParserCtxtPtr analyse =
        xmlSchemaNewParserCtxt(QFile::encodeName(dossierPharmaML(QStringLiteral("xsd/pharmaml-all.xsd"))));
    xmlSchemaPtr schema = xmlSchemaParse(analyse);
    xmlSchemaValidCtxtPtr controle = xmlSchemaNewValidCtxt(schema);
    xmlSchemaSetValidStructuredErrors(controle, note, &erreurs);
    xmlDocPtr doc = xmlReadMemory(xml.constData(), int(xml.size()), "message.xml", nullptr, XML_PARSE_NONET);
    if (!schema || !doc)
        erreurs += QStringLiteral("schemas or document unreadable");
    else if (xmlSchemaValidateDoc(controle, doc) != 0 && erreurs.isEmpty())
        erreurs += QStringLiteral("invalid");
    xmlFreeDoc(doc);
    xmlSchemaFreeValidCtxt(controle);
    xmlSchemaFree(schema);
    xmlSchemaFreeParserCtxt(analyse);
    return erreurs;
}
