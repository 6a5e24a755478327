#include "fichierliste.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr qint64 tailleMax = 16 * 1024 * 1024;

} // namespace

FichierListe lisFichierListe(const QString &chemin)
{
    const QFileInfo info(chemin);
    if (!info.exists())
        return {{}, QStringLiteral("fichier absent"), true};
    // Checked before opening: opening a pipe waits for a writer.
    if (!info.isFile())
        return {{}, QStringLiteral("ce n'est pas un fichier ordinaire"), false};
    if (info.size() > tailleMax)
        return {{}, QStringLiteral("fichier trop volumineux (plus de 16 Mio)"), false};
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("fichier illisible"), false};
    // Read no further than the limit even when the file grows meanwhile.
    return {fichier.read(tailleMax), {}, false};
}
