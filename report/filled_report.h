#pragma once
// Placeholder until the report layer lands.
#include <QHash>
#include <QString>
namespace report {
class FilledReport {
public:
    QString layoutName;
    QHash<QString, QString> labels;
};
} // namespace report
