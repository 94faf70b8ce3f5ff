#pragma once
// The data module: the connections and the named queries that every window shares.
#include "core/dataset.h"
#include "core/profile.h"

#include <QObject>
#include <QSqlDatabase>
#include <functional>

class Tdm : public QObject {
    Q_OBJECT
public:
    explicit Tdm(QObject *parent = nullptr);
    ~Tdm() override;

    // Connects the main database; throws DbError when it cannot be opened.
    void connectMain(const DbProfile &profile);
    // Connects the correspondence database; an unset profile leaves it unconfigured.
    void connectProt(const DbProfile &profile);
    void disconnectAll();

    QSqlDatabase ADOConnection1() const;
    // The profile the main connection was opened with (a second workstation's test opens it again).
    const DbProfile &mainProfile() const { return m_mainProfile; }
    // A second connection to the main database, opened on first use: a long list is read from
    // it row by row while the main connection writes (a PostgreSQL connection serves one
    // statement at a time). Throws DbError when it cannot be opened.
    QSqlDatabase readerConnection();
    QSqlDatabase ADOConn_prot() const;
    bool hasProt() const { return m_protConfigured; }
    bool isPostgres() const { return m_postgres; }
    bool protIsPostgres() const { return m_protPostgres; }

    // Statements on the main connection outside the named queries.
    int exec(const QString &sql, const QVariantList &binds = {});
    QVariant scalar(const QString &sql, const QVariantList &binds = {});
    // Runs fn in one transaction: commits when it returns, rolls back when it throws.
    void transaction(const std::function<void()> &fn);
    // Runs fn in one transaction that first takes the write lock named `lock` (a table's
    // name), so that a test and the write that depends on it (a duplicate test and its
    // insert; an edit's check of the row and its update) cannot interleave with another
    // user's: BEGIN IMMEDIATE on SQLite (the database's write lock), a transaction-scoped
    // advisory lock on PostgreSQL. Commits when fn returns, rolls back when it throws.
    void writeTransaction(const QString &lock, const std::function<void()> &fn);

    // What a register adds to the named queries of every data module (a calculated field),
    // registered from its own file at start-up:
    //   static const bool k = Tdm::addQuerySetup([](Tdm &dm) { dm.ADOQ_naft->addCalculatedField(...); });
    // Returns true, so that it can initialise a static.
    static bool addQuerySetup(std::function<void(Tdm &)> setup);

    // Shared scratch and core queries.
    DataSet *ADOQuery1;
    DataSet *ADOQuery2;
    DataSet *adoq_set;
    DataSet *ADOQ_dastrasi;
    DataSet *ADOQ_abadiha;
    DataSet *ADOQ_prot;      // on the correspondence connection
    // Bitumen.
    DataSet *ADOQ_ghir;      // current row = the current allocation
    DataSet *ADOQ_naft;
    DataSet *ADOQ_peymankar;
    // Technical services.
    DataSet *ADOQ_khadamat;  // current row = the current monthly report
    // Credit register: current rows = the current project and the current credit.
    DataSet *ADOQ_proj;
    DataSet *ADOQ_etb;

private:
    void openConnection(const QString &name, const DbProfile &p, bool *isPg);
    QString m_mainName;
    QString m_readerName;
    DbProfile m_mainProfile;
    QString m_protName;
    bool m_postgres = false;
    bool m_protPostgres = false;
    bool m_protConfigured = false;
};
