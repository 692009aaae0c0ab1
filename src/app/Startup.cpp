#include "app/Startup.h"

#include "app/ApplicationPaths.h"
#include "app/DiagnosticLog.h"
#include "app/ProgramOutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>

void Startup::begin(int aArgc)
{
    // The program's own lines keep the terminal even while a library's are routed elsewhere.
    ProgramOutput::keep();
    logMessage("KORDA LOG");
    logEnter("mainInt");
    logValue("argc", aArgc);
    ApplicationPaths::setApplicationDataPath(QDir::homePath());
    logValue("Application data path", ApplicationPaths::applicationDataPath());
}

void Startup::end(int aExitCode)
{
    logLeave("mainInt");
    logReturn(aExitCode);
}

void Startup::installEnglishForms(QCoreApplication& aApplication, QTranslator& aTranslator)
{
    if (aTranslator.load(QStringLiteral(":/translations/translation_en.qm")))
        aApplication.installTranslator(&aTranslator);
}

void Startup::loadTranslations(QCoreApplication& aApplication, const QString& aLocaleName)
{
    logValue("locale", aLocaleName);
    // Installed first, asked last.
    installEnglishForms(aApplication, mEnglishForms);
    const QString mainAppFilePath = QCoreApplication::applicationFilePath();
    logValue("mainAppFilePath", mainAppFilePath);
    QDir programFolder(mainAppFilePath);
    programFolder.cdUp();

    // QTranslator's lookup shortens the name at the last underscore when no file matches, so
    // translation_de_DE falls back to translation_de.
    const QString translationLoadPath =
        programFolder.path() + QDir::separator() + QStringLiteral("translation_") + aLocaleName;
    logValue("translationLoadPath", translationLoadPath);
    mApplicationLoaded = mApplicationTranslator.load(translationLoadPath);
    // Installed, the translations live in share/veltrane beside the program's bin folder.
    const QString installed = programFolder.path() + QStringLiteral("/../share/veltrane/translations");
    if (!mApplicationLoaded)
        mApplicationLoaded =
            mApplicationTranslator.load(QStringLiteral("translation_") + aLocaleName, installed);
    logMessage(mApplicationLoaded ? "Translation loaded" : "Translation NOT loaded");
    aApplication.installTranslator(&mApplicationTranslator);

    const QString qtPath = programFolder.path() + QDir::separator() + QStringLiteral("qt_") + aLocaleName;
    logValue("Loading qt translations from", qtPath);
    mQtLoaded = mQtTranslator.load(qtPath);
    // Qt's own translations are where the system keeps them.
    if (!mQtLoaded)
        mQtLoaded = mQtTranslator.load(QStringLiteral("qt_") + aLocaleName,
                                       QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (mQtLoaded)
        aApplication.installTranslator(&mQtTranslator);
    else
        logMessage("qt translations not loaded");
}
