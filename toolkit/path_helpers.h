#pragma once
// Path, file, version and scrambling helpers. Paths use the platform's separator ('/').

#include "product.h"

#include <QString>

namespace toolkit {

// The path with a trailing separator; the empty path gives a single separator.
QString AddTrailingBackslash(const QString &path);
// Folder of the running executable, with a trailing separator.
QString ProgramFolder();
// The running executable's own path.
QString ProgramFilePath();
// Where a program writes its own files: its folder when that is writable, else
// ~/.config/<product word>/ (created on demand). Always ends in a separator.
QString DataFolder(const Product &product);
QString dataFolderFor(const QString &programFolder, const QString &productWord);

// Flags: low eight bits choose the frame (0 " (V...)", 1 plain, 2 " [V...]", else empty);
// bit 256 replaces ".revision" by a letter (none below 100).
QString ProgramVersionText(const Product &product, int flags);
QString ToHexPadded(qint64 value, int width);

// scramble true: text -> hexadecimal digits (four per character plus four for the key), with a
// fresh random key each time. A text holding a character that Windows-1252 cannot hold is not
// scrambled: the result is empty and *ok false. scramble false: the reverse; input that is not a
// scrambled text (too short, not hexadecimal) gives the empty text and *ok false.
QString ScrambleText(const QString &text, bool scramble, bool *ok = nullptr);

int LimitOrDefault(int value, int low, int high, int defaultValue);
// Splits at the last separator; without one, name is the whole path and folder stays as it was.
void SplitPath(const QString &path, QString &folder, QString &name);
QString CutAtNul(const QString &text);
// mode 0: '/' -> '\\'; mode 1: '\\' -> '/'; other modes: unchanged.
QString ConvertSlashes(const QString &path, int mode);
// True for an ordinary, non-hidden file; wildcards in the name match as in a listing.
bool FileExists(const QString &path);
bool FolderExists(const QString &path);
// Lets pending events run on every (n+1)-th call; n <= 0 means 100.
void KeepResponsive(int n);
// No short names exist here: the path itself when it exists, else empty.
QString ShortPath(const QString &path);
// "description (Code number)".
QString LastErrorText(const QString &description, int number);
// The text of errno as this system describes it, formatted like LastErrorText.
QString LastErrnoText(int errnoValue);

// Replaces the file with the text in Windows-1252 (no terminator, no byte-order mark). On failure
// returns false and sets *errorText in the LastErrorText form.
bool WriteWholeFile(const QString &path, const QString &text, QString *errorText = nullptr);

} // namespace toolkit
