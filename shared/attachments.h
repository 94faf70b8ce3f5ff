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
// Reads a file from disk; throws AppError when it cannot be read or is larger than
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
// "The file could not be read": %1 the file, %2 the reason.
extern const QString kAttachmentReadError;
extern const QString kAttachmentTooLarge;
constexpr qint64 kMaxAttachmentBytes = 256LL * 1024 * 1024;
