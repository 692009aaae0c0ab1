# Libraries as a build would have them if the base linked the engine and the engine linked libmtp.
set(SOURCES_veltrane_base "app/Planted.cpp")
set(LINKS_veltrane_base "Qt6::Core;veltrane_engine")
set(SOURCES_veltrane_engine "sync/Planted.cpp;devices/mtp/libmtp/Planted.cpp")
set(LINKS_veltrane_engine "veltrane_base;PkgConfig::LibMtp")
