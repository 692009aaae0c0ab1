// Stands for the run's data in the planted tree.
#pragma once
