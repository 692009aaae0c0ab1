// A front end that picks a backend itself instead of taking it from backends/: refused.
#include "devices/usbms/linux/LinuxDriveProber.h"
