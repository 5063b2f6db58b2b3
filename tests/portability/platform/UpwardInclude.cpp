// A platform file as the include check must refuse it: a header of the core
// beside the ones the platform may use.
#include <unistd.h>

#include "Log.h"
#include "Records.h"
#include "platform/Platform.h"
