// The commands' Japanese display names, as string resources keyed by command id.
#pragma once

// Registers every display name once per process; later calls do nothing.
void RegisterCommandDisplayNames();
