#pragma once

#include <QString>

// What a track's local file is, before anything copies or converts it. Only a regular file at an
// absolute path of this computer is copied: a path written on another computer ("Z:/Music/..."
// or "//server/share/...") is never looked for relative to the working folder, and a FIFO or a
// device node named by a library would block the copy or never end it.
class SourceFile
{
public:
    enum Status
    {
        Present,    // a regular file
        Missing,    // no such file on this computer
        Foreign,    // a path of another computer: a drive letter or a network share
        NotRegular, // there, but a folder, a FIFO, a device or the like
    };

    // aSize, when given, receives a present file's size.
    static Status check(const QString& aPath, qint64* aSize = nullptr);
    static bool isPresent(const QString& aPath) { return check(aPath) == Present; }
    // A path of another computer: "X:/", "X:\", "//host/share/" or "\\host\share\".
    static bool isForeign(const QString& aPath);
    // The part of a foreign path a user maps to a folder here: "Z:/" or "//host/share/".
    static QString foreignPrefix(const QString& aPath);
    // Why a track with this local file can't be copied, in words for the user; empty when it can.
    static QString problem(const QString& aPath);
};
