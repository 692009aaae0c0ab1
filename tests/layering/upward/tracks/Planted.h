// A file of the run's data that reaches up into the engine: the layering check refuses it.
#pragma once
#include "sync/MusicSync.h"
#include "tracks/Track.h"
