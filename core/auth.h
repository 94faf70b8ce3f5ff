#pragma once
#include <QString>

// Salted PBKDF2 password hashes as kept in karbaran.pass: "pbkdf2-sha256$iterations$salt$hash".
QString hashPassword(const QString &password);
bool verifyPassword(const QString &password, const QString &stored);
