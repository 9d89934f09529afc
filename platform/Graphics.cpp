#include "platform/Graphics.h"
