// korda.xml, the settings file (anyone with the home folder can edit it).
#include "fuzz/FuzzSupport.h"
#include "settings/DeviceConfiguration.h"
#include "settings/SyncSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize)
{
    fuzz::file(QStringLiteral("KORDA/korda.xml"), fuzz::bytes(aData, aSize));
    SyncSettings settings;
    if (settings.load() == SyncSettings::kResultOk) {
        DeviceConfiguration configuration;
        DeviceConfiguration::read(settings, QStringLiteral("device"), configuration);
        QStringList names;
        settings.getUsedCacheFilenames(names);
        settings.getGlobalSettingsList(SyncSettings::kLibraryPathMap);
    }
    return 0;
}
