#include "platform/Classes.h"
