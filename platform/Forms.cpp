#include "platform/Forms.h"
