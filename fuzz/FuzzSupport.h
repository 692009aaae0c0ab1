#pragma once

// What the fuzz targets share: an application object (Qt's file and text classes want one), a
// home folder of the process's own (nothing of the user's is ever touched), and files made from
// the fuzzer's bytes for readers that take a path.
#include "app/ApplicationPaths.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace fuzz {

inline QString home()
{
    static const QString path = [] {
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        static QCoreApplication application(argc, argv);
        static QTemporaryDir dir;
        qputenv("HOME", QFile::encodeName(dir.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path() + QStringLiteral("/.config")));
        ApplicationPaths::setApplicationDataPath(dir.path());
        QDir().mkpath(dir.path() + QStringLiteral("/KORDA"));
        return dir.path();
    }();
    return path;
}

inline QByteArray bytes(const uint8_t* aData, size_t aSize)
{
    return QByteArray(reinterpret_cast<const char*>(aData), static_cast<qsizetype>(aSize));
}

// aContent as the file aName below the home folder; its path.
inline QString file(const QString& aName, const QByteArray& aContent)
{
    const QString path = home() + QLatin1Char('/') + aName;
    QDir().mkpath(path.section(QLatin1Char('/'), 0, -2));
    QFile out(path);
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(aContent);
    return path;
}

// The input cut in two at its first 0xFF 0xFE pair (two files, two fields).
inline std::pair<QByteArray, QByteArray> split(const QByteArray& aData)
{
    const qsizetype at = aData.indexOf(QByteArray("\xFF\xFE", 2));
    if (at < 0)
        return {aData, QByteArray()};
    return {aData.left(at), aData.mid(at + 2)};
}

} // namespace fuzz
