#pragma once

// Identifiers of the executable's resources. The resource compiler reads
// this file too, so it holds nothing but preprocessor definitions.

// The application's icon (RT_GROUP_ICON): the window, its taskbar button
// and the notification area show it.
#define VELKORA_APPLICATION_ICON 1
