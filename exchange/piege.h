#pragma once

#include "modpharmaml.h"

#include <exception>

// How the module's procedures trap an unexpected failure: it is shown with the procedure's name,
// and the procedure ends with what it has. Nothing is thrown out of the module.
template <typename Corps> bool ModPharmaML::piege(const QString &procedure, Forme forme, Corps &&corps) {
    try {
        corps();
        return true;
    } catch (const RuntimeError &e) {
        signaleEchec(procedure, e, forme);
    } catch (const std::exception &e) {
        signaleEchec(procedure, RuntimeError::from(e), forme);
    }
    return false;
}
