// Stands for a backend in the planted tree.
#pragma once
