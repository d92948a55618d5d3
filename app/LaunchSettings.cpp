// LaunchSettings: the defaults the show starts from.
#include "app/LaunchSettings.h"

LaunchSettings launchSettings;
