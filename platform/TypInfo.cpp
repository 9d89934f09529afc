#include "platform/TypInfo.h"
