#pragma once
// One list of files stored as blobs in a table of their own, each row belonging to an owner
// (an allocation, a laboratory record, a report, an agreement) or to no one (the templates):
// the listing, the add for one or many owners in one transaction, the open through the temp
// file or a save dialog, the delete, and the save of every listed file under one stem.
// The windows over ghir_pic, zamaem_ghir, az_pic, khadamat_pic and movafeghatname_pic are
// configurations of it.
#include "shared/attachments.h"
#include "shared/delete_command.h"
#include "shared/grid.h"
#include "shared/row_writer.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <optional>

class AppContext;
class DataSet;
class QWidget;

// The table and its columns.
struct AttachmentTable {
    QString table;       // "ghir_pic"
    QString key;         // identity column: "pk" or "id"
    QString owner;       // owner id column ("ghir_id"); empty for a table without owners
    QString ext;         // the extension with its dot ("ext", "pictype", "pictyp")
    QString description; // "cmt"
    QString blob;        // "pic"
    QStringList extra;   // further columns listed and written as given ("ramz")
    // Listing order; empty gives the key's order (the order of storing).
    QString orderBy;
    // The owner's row (column: `owner`): a new file is stored only while it is there. Files
    // already stored stay when it is deleted. An empty table: not checked.
    ParentDef parent = {};
};

// An input box asking the description after the file was chosen; Cancel gives the default.
struct DescriptionBox {
    QString caption;
    QString prompt;
    QString def;
};

class AttachmentList : public QObject {
    Q_OBJECT
public:
    // `window` parents the dialogs and messages. The listing is a dataset owned by the list
    // (named `datasetName`), without the blob: a file's bytes are read when it is opened.
    AttachmentList(AppContext &ctx, const AttachmentTable &table, const QString &datasetName,
                   QWidget *window = nullptr);

    const AttachmentTable &table() const { return m_table; }
    // The listing: key, owner (when the table has owners), description, extension, the extra
    // columns, in that order.
    DataSet *rows() const { return m_rows; }

    // Lists the files of one owner; a null owner lists nothing.
    void listOwner(const QVariant &owner);
    // Lists every file of the table (the templates, the search windows); `where` is a
    // condition over the table's columns with its binds ("" for all).
    void listAll(const QString &where = QString(), const QVariantList &binds = {});
    // Lists with a statement of the window's own (a join for the search windows); its columns
    // hold at least the key, the description and the extension.
    void listQuery(const QString &sql, const QVariantList &binds = {});
    // Runs the last listing again, keeping the current row on the same key.
    void relist();

    // What an add stores.
    struct Add {
        // Owner ids, one row for each; ignored for a table without owners. An empty list (or
        // a null id) stores nothing and says nothing, before any dialog.
        QVariantList owners;
        // The description given, or asked through `ask` after the file was chosen.
        QString description;
        std::optional<DescriptionBox> ask;
        // Shown, before any dialog (and before the owners are looked at), when the given
        // description is empty (no `ask`).
        QString emptyDescription;
        // Open dialog filter (empty: all files).
        QString filter;
        // Values of the extra columns, by column name.
        QVariantMap extra;
        // A last check of the chosen file (its extension): a refusal text, or empty.
        std::function<QString(const StoredFile &)> check;
        // Shown instead of the database's message when the store fails (empty: its message).
        QString failure;
        // A check of the window's refused before the add (its message shown): the dialog still
        // opens and the file is checked, but nothing is stored.
        bool refused = false;
        // Told instead of the table's sentence when an owner is gone (several owners).
        QString ownerGone;
    };
    // Chooses a file through the open dialog (Cancel: nothing, no message) and stores it for
    // every owner in one transaction, then shows "ثبت شد" once and lists again. A description
    // or extension longer than its column is refused with a message naming it, nothing stored.
    // Returns the rows stored.
    int add(const Add &a);
    // Stores an already chosen file, without dialogs or messages; throws AppError on a refusal
    // (db::Refusal: over-long description or extension, an owner gone; a missing owner id) or a
    // database failure.
    int store(const QVariantList &owners, const QString &description, const StoredFile &file,
              const QVariantMap &extra = {}, const QString &ownerGone = {});
    // The names a refusal gives the columns: the grid's titles, a box's caption.
    void setCaptions(std::span<const GridColumn> columns);
    void setCaption(const QString &column, const QString &caption);

    // The stored file of a listed row (the current one by default), read by its key.
    StoredFile file(int row = -1) const;
    // Writes the current row's file to "Tobrenhal" + extension in the temp folder and opens
    // it. Returns the path, empty when nothing was listed or the write failed (told).
    QString openTemp();
    // Asks a file name (the row's description proposed) and writes the file there with its
    // extension; opens it when `openAfter`. Returns the path, empty when cancelled or failed.
    QString saveAs(bool openAfter);
    // Writes every listed file to stem + its number from 1 + its extension, in the listing's
    // order, overwriting; no message. Returns the files written (stops at a failed write, told).
    int saveAll(const QString &stem);

    // Deletes the current row as a delete command: `confirm` gives its question and/or password
    // (and log text); the list fills in its table and key. Nothing on an empty listing; lists
    // again after a delete. Returns true when a row was deleted.
    bool deleteCurrent(const DeleteDef &confirm = {});

private:
    QString selectList() const;

    AppContext &m_ctx;
    AttachmentTable m_table;
    QWidget *m_window;
    DataSet *m_rows;
    QHash<QString, QString> m_captions; // lower-case column -> caption

};
