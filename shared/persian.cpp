#include "shared/persian.h"

QString NormalizeKaf(const QString &text)
{
    QString s = text;
    s.replace(QChar(0x06A9), QChar(0x0643));
    return s;
}
