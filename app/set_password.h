#pragma once
#include <QString>

// `varnoset --set-password USER`: reads the new password twice (on a terminal without echo,
// otherwise the first two lines of standard input), stores its salted hash for USER of
// `karbaran` on the configured database and says what it did. Nothing else is changed: an
// unknown user, an empty password or two different answers store nothing. Returns the exit
// code: 0 when the password was stored.
int setPasswordCommand(const QString &user);
