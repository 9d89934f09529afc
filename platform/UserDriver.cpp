#include "platform/UserDriver.h"
