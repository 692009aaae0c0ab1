// Stands for the engine in the planted tree.
#pragma once
