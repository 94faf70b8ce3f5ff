#pragma once
#include <QByteArray>
#include <QString>
#include <QVariant>

class AppContext;
class DataSet;

// A file kept as a blob in its owner's table with its extension (with the dot; empty
// when none) and a description.
struct StoredFile {
    QByteArray bytes;
    QString ext;
};

// Reads a file chosen in the open dialog; false when cancelled or unreadable (told).
bool ChooseAttachment(AppContext &ctx, StoredFile *out, QString *fileName = nullptr,
                      const QString &filter = QString());
// Reads a file from disk; throws AppError when it cannot be read, is empty or is larger than
// kMaxAttachmentBytes (a blob the database connection cannot carry).
StoredFile ReadAttachmentFile(const QString &path);
// Writes the bytes to "Tobrenhal" + ext in the temp folder (or, when askName, to a name
// chosen in a save dialog, `proposed` offered, + ext) and opens it with the default program
// unless openAfter is false. Returns the path written, or empty when cancelled or failed (told).
QString OpenAttachment(AppContext &ctx, const StoredFile &file, bool askName = false,
                       const QString &proposed = QString(), bool openAfter = true);
// Writes the bytes to exactly `path`; false after a message when the write failed.
bool WriteAttachment(AppContext &ctx, const StoredFile &file, const QString &path);
// The stored file of a dataset row (the current one by default).
StoredFile StoredFileOf(DataSet *ds, const QString &blobField, const QString &extField, int row = -1);
// The extension of a file's name with its dot ("scan.JPG": ".JPG"); empty when it has none. A
// leading dot is part of the name (".hidden" has no extension).
QString FileExtension(const QString &path);
// The text for a failure that ran out of disk space: `sentence` with the driver's or system's
// text of `failure` below it; empty when `failure` is some other failure. A database failure is
// known by its first line (msg::kDiskFull, from SQLite's SQLITE_FULL or PostgreSQL's SQLSTATE
// 53100), a file's by the system's text for a full disk or an exhausted quota.
QString DiskFullText(const QString &failure, const QString &sentence);
// "The file could not be read": %1 the file, %2 the reason.
extern const QString kAttachmentReadError;
extern const QString kAttachmentTooLarge;
// A file of no bytes: %1 the file.
extern const QString kAttachmentEmpty;
// The disk of the database, or of the file being written (%1), is full.
extern const QString kAttachmentDiskFull;
extern const QString kFileDiskFull;
constexpr qint64 kMaxAttachmentBytes = 256LL * 1024 * 1024;
