#pragma once

#include <QString>
#include <QTranslator>

class QCoreApplication;

// The window-independent steps of start-up, in the order the entry function runs them: the log
// banner and entry line, the application data path, then (once the application object exists)
// the locale and the two translations. Owns the translators it installs.
class Startup
{
public:
    // The program's own standard output and error kept (ProgramOutput), banner, entry line of
    // "mainInt", argc, and the application data path := home folder.
    static void begin(int aArgc);
    // Exit line of "mainInt" and the event loop's exit code.
    static void end(int aExitCode);

    // Logs the locale and the executable's path and loads "translation_" + locale and
    // "qt_" + locale from the program folder into aApplication. Under them, the English forms of
    // counted texts ("1 track", "2 tracks"), compiled into the window as
    // ":/translations/translation_en.qm", serve every language that lacks a text.
    void loadTranslations(QCoreApplication& aApplication, const QString& aLocaleName);

    bool applicationTranslationLoaded() const { return mApplicationLoaded; }
    bool qtTranslationLoaded() const { return mQtLoaded; }

    // The English forms of counted texts alone (what a test of the window installs too).
    static void installEnglishForms(QCoreApplication& aApplication, QTranslator& aTranslator);

private:
    QTranslator mEnglishForms;
    QTranslator mApplicationTranslator;
    QTranslator mQtTranslator;
    bool mApplicationLoaded = false;
    bool mQtLoaded = false;
};
