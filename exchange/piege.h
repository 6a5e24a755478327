#pragma once

#include "runtimeerror.h"

#include <QString>

#include <exception>

// How the exchange's procedures trap an unexpected failure: it becomes a message made of the
// procedure's name and the failure, and the procedure ends with what it has. Nothing is thrown out.
namespace Echec {

// "name : description (number)", or "name : description" CR number.
enum class Forme { Parentheses, RetourChariot };

inline QString texte(const QString &procedure, const RuntimeError &erreur, Forme forme)
{
    const QString numero = QString::number(erreur.number);
    return procedure + QStringLiteral(" : ") + erreur.description +
           (forme == Forme::Parentheses ? QStringLiteral(" (") + numero + u')' : u'\r' + numero);
}

// Runs `corps`; a failure is handed to `signale` as its message. False when one was trapped.
template <typename Signale, typename Corps>
bool piege(const QString &procedure, Forme forme, Signale &&signale, Corps &&corps)
{
    try {
        corps();
        return true;
    } catch (const RuntimeError &e) {
        signale(texte(procedure, e, forme));
    } catch (const std::exception &e) {
        signale(texte(procedure, RuntimeError::from(e), forme));
    }
    return false;
}

} // namespace Echec
