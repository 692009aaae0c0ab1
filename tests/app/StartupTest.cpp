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
    Startup startup;
    startup.loadTranslations(*QCoreApplication::instance(), "de_DE");
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
