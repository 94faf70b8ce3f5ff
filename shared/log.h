#pragma once
#include <QString>

class AppContext;

// The last IPv4 address of the local host, and the host name of an address (empty when none).
QString LocalIP();
QString IPAddrToName(const QString &address);

// Appends one row to the activity log: user, IP address, host name, time, today's Solar
// date and the description; saat_sys takes the database's default.
void WriteLog(AppContext &ctx, const QString &description);
