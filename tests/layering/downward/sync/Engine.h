// The engine using the run's data below it: allowed.
#pragma once
#include "tracks/Track.h"
