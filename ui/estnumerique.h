#pragma once

#include <QString>

// The general number test the clipboard rule relies on: plain digits, and also a sign, a decimal
// separator (the user's or ".") or an exponent, with blanks around.
bool EstNumerique(const QString &text);

// A clipboard text that start-up and activation take into the CIP field: exactly 7 characters
// that pass the number test, or a CIP13 (13 digits with a correct EAN-13 check digit).
bool EstCipDuPressePapiers(const QString &text);
