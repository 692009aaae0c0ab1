#include "ui/SiteLink.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>

namespace SiteLink {

QString address()
{
    return QStringLiteral(VELTRANE_SITE_ADDRESS);
}

QString guideFile()
{
    const QString program = QCoreApplication::applicationDirPath();
    const QString language = QLocale().name().left(2);
    for (const QString& root :
         {program + QStringLiteral("/guide"), program + QStringLiteral("/../share/veltrane/guide")}) {
        for (const QString& written : {language, QStringLiteral("en")}) {
            const QFileInfo guide(root + QLatin1Char('/') + written + QStringLiteral("/index.html"));
            if (guide.isFile())
                return QDir::cleanPath(guide.absoluteFilePath());
        }
    }
    return QString();
}

QString topic(const QString& aSitePath, const QString& aSection)
{
    if (!address().isEmpty())
        return address() + aSitePath;
    const QString guide = guideFile();
    if (guide.isEmpty())
        return QString();
    QUrl url = QUrl::fromLocalFile(guide);
    url.setFragment(aSection);
    return url.toString();
}

QString sentence(const QString& aSentence, const QString& aSitePath, const QString& aSection)
{
    const QString target = topic(aSitePath, aSection);
    if (target.isEmpty())
        return QString();
    return aSentence.arg(QStringLiteral("<a href=\"%1\">").arg(target.toHtmlEscaped()),
                         QStringLiteral("</a>"));
}

QString help()
{
    if (!address().isEmpty())
        return address() + QStringLiteral("/help/help.html");
    const QString guide = guideFile();
    return guide.isEmpty() ? QString() : QUrl::fromLocalFile(guide).toString();
}

} // namespace SiteLink
