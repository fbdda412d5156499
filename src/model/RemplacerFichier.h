#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Replaces the content of a file with `octets`; the reason of a failure, in
// the system's words, or nothing when the file holds the new content.
//
// The content is written to a new file beside the target, flushed to disk,
// then renamed over it: whoever reads the file, and whatever stops the
// program, finds the old content or the new one, never a part. The new file
// keeps the permissions of the one it replaces. Its name is the target's
// followed by ".quarlo-" and six letters or digits; such files of the same
// target that a copy stopped while writing left behind (no writer holds
// their lock) are removed first.
//
// When the folder accepts no new file but the file itself may be written,
// the file is rewritten in place instead: it keeps its identity (a hard link
// sees the new content), and if the new content cannot be written whole the
// old content, kept in memory, is written back.
//
// A file that exists and may not be written is refused and left as it is.
std::optional<QString> RemplacerFichier(const QString& chemin, const QByteArray& octets);
