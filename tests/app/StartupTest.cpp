#include "app/Startup.h"
#include "app/ApplicationPaths.h"
#include "support/TestHome.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

TEST(Startup, ARegionalLocaleFallsBackToTheLanguageTranslation)
{
    Startup startup;
    startup.loadTranslations(*QCoreApplication::instance(), "fr_CA");
    EXPECT_TRUE(startup.applicationTranslationLoaded());
    EXPECT_EQ(QCoreApplication::translate("StartupTest", "Synchronize"), "Synchroniser");
}

TEST(Startup, AMissingTranslationLeavesTheTextsUntranslated)
{
    // No language has this name, so neither Veltrane nor Qt (wherever the system keeps its
    // translations) has a file for it.
    Startup startup;
    startup.loadTranslations(*QCoreApplication::instance(), "zz_ZZ");
    EXPECT_FALSE(startup.applicationTranslationLoaded());
    EXPECT_FALSE(startup.qtTranslationLoaded());
    EXPECT_EQ(QCoreApplication::translate("StartupTest", "Synchronize"), "Synchronize");
}

TEST(Startup, TheApplicationDataPathIsTheHomeFolder)
{
    TestHome home;
    Startup::begin(1);
    EXPECT_EQ(ApplicationPaths::applicationDataPath(), home.path());
    EXPECT_EQ(ApplicationPaths::kordaFolder(), home.path() + "/KORDA");
    ApplicationPaths::setApplicationDataPath(QString());
}
